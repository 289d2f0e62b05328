// The cleanup a signal runs: what is left in the folder afterwards, and the paths it cannot keep.
#include "files/signal_cleanup.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/number_format.hpp"
#include "support/report_files.hpp"
#include "support/session.hpp"

namespace bandmatch {
namespace {

namespace fs = std::filesystem;
using support::readFile;
using support::ScratchDirectory;
using testing::directoryEntries;
using testing::writeTextFile;

// What the signal handler does with each kind of watched path; forgotten slots are left alone.
TEST(SignalCleanup, RemovesTemporariesAndPutsBackupsBack) {
  ScratchDirectory scratch;
  writeTextFile("temporary", "half written\n");
  writeTextFile("kept", "finished\n");
  writeTextFile("linked", "earlier linked\n");
  fs::create_hard_link("linked", "linked.bak");
  writeTextFile("moved.bak", "earlier moved\n");
  writeTextFile("moved", "new moved\n");
  watchForCleanup(CleanupAction::removePath, "temporary");
  forgetCleanup(watchForCleanup(CleanupAction::removePath, "kept"));
  watchForCleanup(CleanupAction::restorePath, "linked.bak", "linked");
  watchForCleanup(CleanupAction::restorePath, "moved.bak", "moved");
  watchForCleanup(CleanupAction::removePath, "never created");

  runCleanup();
  EXPECT_EQ(directoryEntries(scratch.path()),
            (std::vector<std::string>{"kept", "linked", "moved"}));
  EXPECT_EQ(readFile("linked"), "earlier linked\n");
  EXPECT_EQ(readFile("moved"), "earlier moved\n");
  // Everything ran once and is forgotten.
  writeTextFile("temporary", "again\n");
  runCleanup();
  EXPECT_TRUE(fs::exists("temporary"));
}

TEST(SignalCleanup, RefusesWhatItCannotKeep) {
  EXPECT_EQ(watchForCleanup(CleanupAction::removePath, std::string(5000, 'a')), -1);
  EXPECT_EQ(watchForCleanup(CleanupAction::removePath, std::string("a\0b", 3)), -1);
  std::vector<int> slots;
  for (int i = 0; i < CLEANUP_SLOTS; ++i) {
    slots.push_back(watchForCleanup(CleanupAction::removePath, "unused " + formatInteger(i)));
    EXPECT_GE(slots.back(), 0);
  }
  EXPECT_EQ(watchForCleanup(CleanupAction::removePath, "one too many"), -1);
  forgetCleanups(slots);
  EXPECT_GE(watchForCleanup(CleanupAction::removePath, "room again"), 0);
  runCleanup();
}

}  // namespace
}  // namespace bandmatch
