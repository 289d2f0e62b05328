// Reads an input file of a companion program whole, refusing files far larger than any the
// tool could mean.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace bandmatch {

// The whole file, or the reason it cannot be read (one line).
struct FileText {
  std::optional<std::string> text;
  std::string error;
};

// A file above `sizeLimit` bytes is refused unread past the limit, with "PATH: " and
// `tooLargeReason` as its reason.
FileText readInputFile(const std::string& path, std::size_t sizeLimit,
                       std::string_view tooLargeReason);

}  // namespace bandmatch
