// Writing a set of files all or nothing.
#include "tools/common/atomic_file.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "files/signal_cleanup.hpp"
#include "support/report_files.hpp"
#include "support/session.hpp"

namespace bandmatch {
namespace {

using testing::directoryEntries;
using testing::writeTextFile;

// The last of three files cannot be created: the two already written under temporary names are
// removed, and the files they would have replaced keep their content.
TEST(AtomicFile, AFailureOnAnyFileWritesNoneOfThem) {
  support::ScratchDirectory scratch;
  writeTextFile("first.txt", "old first\n");
  const std::string failure = writeFilesAtomically({{"first.txt", "new first\n"},
                                                    {"second.txt", "new second\n"},
                                                    {"missing/third.txt", "new third\n"}});
  EXPECT_EQ(failure, "cannot write missing/third.txt: No such file or directory");
  EXPECT_EQ(directoryEntries(scratch.path()), (std::vector<std::string>{"first.txt"}));
  EXPECT_EQ(support::readFile("first.txt"), "old first\n");

  EXPECT_EQ(writeFilesAtomically({{"first.txt", "new first\n"}, {"second.txt", ""}}), "");
  EXPECT_EQ(directoryEntries(scratch.path()),
            (std::vector<std::string>{"first.txt", "second.txt"}));
  EXPECT_EQ(support::readFile("first.txt"), "new first\n");
  EXPECT_EQ(support::readFile("second.txt"), "");
}

// A rename that works until the call numbered `failingCall` (from 1), which fails as a rename
// into a sticky or immutable folder does; `signalled` makes that call first run what the signal
// handler runs, as if the program were stopped there.
int renameCalls = 0;
int failingCall = 0;
bool signalled = false;

int renameFailingOnCue(const char* from, const char* to) {
  if (++renameCalls == failingCall) {
    if (signalled) {
      runCleanup();
    }
    errno = EPERM;
    return -1;
  }
  return std::rename(from, to);
}

// Three targets: an earlier file, a symlink to a file that must stay untouched, and a name with
// nothing there yet. Whichever rename fails, every target is as it was and no temporary or
// backup file is left.
TEST(AtomicFile, AFailedRenameOrASignalPutsEveryEarlierFileBack) {
  const struct {
    int failingCall;
    bool signalled;
    std::string error;
  } cases[] = {
      {1, false, "cannot write a.cir: Operation not permitted"},
      {2, false, "cannot write b.s1p: Operation not permitted"},
      {3, false, "cannot write c.svg: Operation not permitted"},
      {2, true, "cannot write b.s1p: Operation not permitted"},
      {3, true, "cannot write c.svg: Operation not permitted"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "rename " << c.failingCall << " fails"
                                      << (c.signalled ? " after a signal" : ""));
    support::ScratchDirectory scratch;
    writeTextFile("a.cir", "earlier netlist\n");
    writeTextFile("kept.txt", "linked\n");
    std::filesystem::create_symlink("kept.txt", "b.s1p");
    renameCalls = 0;
    failingCall = c.failingCall;
    signalled = c.signalled;
    const std::string failure = writeFilesAtomically(
        {{"a.cir", "new netlist\n"}, {"b.s1p", "new touchstone\n"}, {"c.svg", "new plot\n"}},
        renameFailingOnCue);
    EXPECT_EQ(failure, c.error);
    EXPECT_EQ(directoryEntries(scratch.path()),
              (std::vector<std::string>{"a.cir", "b.s1p", "kept.txt"}));
    EXPECT_EQ(support::readFile("a.cir"), "earlier netlist\n");
    EXPECT_TRUE(std::filesystem::is_symlink("b.s1p"));
    EXPECT_EQ(std::filesystem::read_symlink("b.s1p"), "kept.txt");
    EXPECT_EQ(support::readFile("kept.txt"), "linked\n");
  }
}

// Replacing keeps no backup behind, replaces a symlink rather than writing through it, and keeps
// the permissions of a regular file it replaces.
TEST(AtomicFile, ASuccessfulRunLeavesOnlyTheNewFiles) {
  support::ScratchDirectory scratch;
  writeTextFile("a.cir", "earlier netlist\n");
  std::filesystem::permissions("a.cir", std::filesystem::perms(0600));
  writeTextFile("kept.txt", "linked\n");
  std::filesystem::create_symlink("kept.txt", "b.s1p");
  EXPECT_EQ(writeFilesAtomically({{"a.cir", "new netlist\n"}, {"b.s1p", "new touchstone\n"}}), "");
  EXPECT_EQ(directoryEntries(scratch.path()),
            (std::vector<std::string>{"a.cir", "b.s1p", "kept.txt"}));
  EXPECT_EQ(support::readFile("a.cir"), "new netlist\n");
  EXPECT_EQ(std::filesystem::status("a.cir").permissions(), std::filesystem::perms(0600));
  EXPECT_FALSE(std::filesystem::is_symlink("b.s1p"));
  EXPECT_EQ(support::readFile("b.s1p"), "new touchstone\n");
  EXPECT_EQ(support::readFile("kept.txt"), "linked\n");
}

// Names as long as a name may be (NAME_MAX, 255 bytes), one replacing an earlier file: their
// temporary and backup names stay short, so both are written, the earlier one's access kept.
TEST(AtomicFile, WritesFilesWhoseNamesAreAsLongAsTheSystemAllows) {
  support::ScratchDirectory scratch;
  std::filesystem::create_directory("out");
  const std::string earlier(255, 'e');
  const std::string added(255, 'a');
  writeTextFile("out/" + earlier, "earlier\n");
  std::filesystem::permissions("out/" + earlier, std::filesystem::perms(0640));
  EXPECT_EQ(writeFilesAtomically({{"out/" + earlier, "replaced\n"}, {"out/" + added, "new\n"}}),
            "");
  EXPECT_EQ(directoryEntries("out"), (std::vector<std::string>{added, earlier}));
  EXPECT_EQ(support::readFile("out/" + earlier), "replaced\n");
  EXPECT_EQ(std::filesystem::status("out/" + earlier).permissions(), std::filesystem::perms(0640));
  EXPECT_EQ(support::readFile("out/" + added), "new\n");
}

}  // namespace
}  // namespace bandmatch
