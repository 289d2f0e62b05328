// Temporary files beside their targets and the rename that puts them in place: what is left in
// the folder afterwards.
#include "files/replace_file.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "core/number_format.hpp"
#include "support/report_files.hpp"
#include "support/session.hpp"

namespace bandmatch {
namespace {

namespace fs = std::filesystem;
using support::ScratchDirectory;
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

}  // namespace
}  // namespace bandmatch
