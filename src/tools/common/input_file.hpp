// Reads an input file of a companion program whole, refusing files far larger than any the
// tool could mean.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace bandmatch {

// Which file a path leads to, so that an output can be checked against an input by identity
// rather than by name.
struct FileIdentity {
  unsigned long long device = 0;
  unsigned long long inode = 0;
  bool operator==(const FileIdentity&) const = default;
};

// The whole file, or the reason it cannot be read (one line).
struct FileText {
  std::optional<std::string> text;
  std::string error;
  FileIdentity identity;  // of the file that was read
};

// The file the path leads to now, symlinks followed; nothing when there is none.
std::optional<FileIdentity> identityOf(const std::string& path);

// A file above `sizeLimit` bytes is refused unread past the limit, with "PATH: " and
// `tooLargeReason` as its reason.
FileText readInputFile(const std::string& path, std::size_t sizeLimit,
                       std::string_view tooLargeReason);

}  // namespace bandmatch
