// Writing a set of files all or nothing.
#include "tools/common/atomic_file.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

}  // namespace
}  // namespace bandmatch
