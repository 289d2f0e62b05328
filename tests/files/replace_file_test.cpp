// Temporary files beside their targets, the rename that puts them in place, and the cleanup a
// signal runs: what is left in the folder afterwards.
#include "files/replace_file.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "core/number_format.hpp"
#include "files/signal_cleanup.hpp"
#include "support/report_files.hpp"
#include "support/session.hpp"

namespace bandmatch {
namespace {

namespace fs = std::filesystem;
using support::readFile;
using support::ScratchDirectory;
using testing::directoryEntries;
using testing::writeTextFile;

// In the target's folder (none here), whatever the target's name.
std::string temporaryName(int attempt) {
  return ".bm-tmp-" + formatInteger(::getpid()) + "-" + formatInteger(attempt);
}

TEST(ReplaceFile, CreatesATemporaryBesideTheTargetOrSaysWhyNot) {
  const struct {
    const char* name;
    std::string target;
    bool takeFirstName;  // a killed earlier run left the first temporary name behind
    int error;
    std::string path;
  } cases[] = {
      {"plain", "report.txt", false, 0, temporaryName(0)},
      {"first name taken", "report.txt", true, 0, temporaryName(1)},
      {"name as long as allowed (NAME_MAX)", std::string(255, 'n'), false, 0, temporaryName(0)},
      {"missing folder", "missing/report.txt", false, ENOENT, ""},
      {"NUL in the name", std::string("re\0port.txt", 11), false, EINVAL, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchDirectory scratch;
    if (c.takeFirstName) {
      writeTextFile(temporaryName(0), "left behind\n");
    }
    TemporaryFile temporary;
    EXPECT_EQ(createTemporaryBeside(c.target, temporary), c.error);
    EXPECT_EQ(temporary.path, c.path);
    if (c.error == 0) {
      EXPECT_TRUE(fs::is_regular_file(c.path));
      discardTemporary(temporary);
      EXPECT_FALSE(fs::exists(c.path));
    }
  }
}

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
