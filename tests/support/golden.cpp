#include "support/golden.hpp"

#include <filesystem>

#include "support/session.hpp"

namespace bandmatch::support {

std::string golden(std::string_view run, std::string_view file) {
  return readFile(std::filesystem::path(BANDMATCH_TEST_DATA) / run / file);
}

}  // namespace bandmatch::support
