#include "tools/common/input_file.hpp"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace bandmatch {

namespace {

constexpr std::size_t READ_CHUNK = 1 << 16;

FileIdentity identityFrom(const struct stat& status) {
  return {static_cast<unsigned long long>(status.st_dev),
          static_cast<unsigned long long>(status.st_ino)};
}

}  // namespace

std::optional<FileIdentity> identityOf(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) {
    return std::nullopt;
  }
  return identityFrom(status);
}

FileText readInputFile(const std::string& path, std::size_t sizeLimit,
                       std::string_view tooLargeReason) {
  errno = 0;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    return {std::nullopt, "cannot read " + path + ": " + std::strerror(errno), {}};
  }
  FileIdentity identity;
  if (struct stat status{}; ::fstat(::fileno(file), &status) == 0) {
    identity = identityFrom(status);
  }
  std::string text;
  char chunk[READ_CHUNK];
  while (text.size() <= sizeLimit) {
    const std::size_t count = std::fread(chunk, 1, sizeof chunk, file);
    text.append(chunk, count);
    if (count < sizeof chunk) {
      break;
    }
  }
  const bool failed = std::ferror(file) != 0;
  const int error = errno;
  std::fclose(file);
  if (failed) {
    return {
        std::nullopt, "cannot read " + path + ": " + std::strerror(error != 0 ? error : EIO), {}};
  }
  if (text.size() > sizeLimit) {
    return {std::nullopt, path + ": " + std::string(tooLargeReason), {}};
  }
  return {std::move(text), {}, identity};
}

}  // namespace bandmatch
