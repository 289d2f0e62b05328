#include "support/session.hpp"

#include <fstream>
#include <random>
#include <sstream>

#include "app/pass_driver.hpp"

namespace bandmatch::support {

ScratchDirectory::ScratchDirectory() : previous_(std::filesystem::current_path()) {
  std::random_device seed;
  std::mt19937_64 random(seed());
  path_ = std::filesystem::temp_directory_path() / ("bandmatch-test-" + std::to_string(random()));
  std::filesystem::create_directories(path_);
  std::filesystem::current_path(path_);
}

ScratchDirectory::~ScratchDirectory() {
  std::error_code ignored;
  std::filesystem::current_path(previous_, ignored);
  std::filesystem::remove_all(path_, ignored);
}

SessionResult runSession(std::string_view input, const LocalClock& clock) {
  std::istringstream in{std::string(input)};
  std::ostringstream out;
  std::ostringstream err;
  SessionResult result;
  result.status = runPasses(in, out, err, clock);
  result.console = out.str();
  result.errors = err.str();
  return result;
}

std::string readFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

std::vector<std::string> splitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::string expectedCreditsBlock(bool commaFree) {
  std::string block = readFile(std::filesystem::path(BANDMATCH_TEST_DATA) / "credits.txt");
  if (commaFree) {
    std::erase(block, ',');
  }
  return block;
}

}  // namespace bandmatch::support
