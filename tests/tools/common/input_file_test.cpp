// Reading an input file whole: the text up to the size limit, one line of reason otherwise, and
// the identity that tells whether an output would land on the file under another name.
#include "tools/common/input_file.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/report_files.hpp"
#include "support/session.hpp"

namespace bandmatch {
namespace {

TEST(InputFile, ReadsUpToTheLimitOrSaysWhyNot) {
  support::ScratchDirectory scratch;
  testing::writeTextFile("ten.txt", "0123456789");
  testing::writeTextFile("empty.txt", "");
  std::filesystem::create_directory("folder");
  const struct {
    const char* path;
    std::size_t limit;
    const char* text;  // nullptr: refused
    std::string error;
  } cases[] = {
      {"ten.txt", 10, "0123456789", ""},
      {"ten.txt", 1 << 20, "0123456789", ""},
      {"empty.txt", 0, "", ""},
      {"ten.txt", 9, nullptr, "ten.txt: too large to be a load"},
      {"missing.txt", 10, nullptr, "cannot read missing.txt: No such file or directory"},
      {"folder", 10, nullptr, "cannot read folder: Is a directory"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.path) + " " + std::to_string(c.limit));
    const FileText file = readInputFile(c.path, c.limit, "too large to be a load");
    EXPECT_EQ(file.error, c.error);
    ASSERT_EQ(file.text.has_value(), c.text != nullptr);
    if (c.text != nullptr) {
      EXPECT_EQ(*file.text, c.text);
      EXPECT_EQ(file.identity, identityOf(c.path));
    }
  }
}

// A hard link and a symlink lead to the same file; a copy and a missing name do not.
TEST(InputFile, IdentifiesAFileUnderEveryName) {
  support::ScratchDirectory scratch;
  testing::writeTextFile("report.csv", "text\n");
  testing::writeTextFile("copy.csv", "text\n");
  std::filesystem::create_hard_link("report.csv", "hard.csv");
  std::filesystem::create_symlink("report.csv", "soft.csv");
  const std::optional<FileIdentity> report = identityOf("report.csv");
  ASSERT_TRUE(report);
  EXPECT_EQ(identityOf("./report.csv"), report);
  EXPECT_EQ(identityOf("hard.csv"), report);
  EXPECT_EQ(identityOf("soft.csv"), report);
  EXPECT_NE(identityOf("copy.csv"), report);
  EXPECT_FALSE(identityOf("missing.csv"));
}

}  // namespace
}  // namespace bandmatch
