#include "tools/common/atomic_file.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "core/number_format.hpp"

namespace bandmatch {

namespace {

// Tries further names when a temporary name is taken, e.g. by a crashed earlier run.
constexpr int TEMPORARY_NAME_ATTEMPTS = 100;

std::string failureText(const std::string& path, std::string_view reason) {
  return "cannot write " + path + ": " + std::string(reason);
}

std::string systemReason(int error) {
  return std::strerror(error);
}

// errno after a failed call; a short write may leave it unset.
int lastError() {
  return errno != 0 ? errno : EIO;
}

// Creates a new file beside `path` that no one else uses; "x" refuses an existing name.
std::FILE* createTemporary(const std::string& path, std::string& temporaryPath, int& error) {
  const std::string stem = path + ".tmp-" + formatInteger(static_cast<long long>(::getpid()));
  for (int attempt = 0; attempt < TEMPORARY_NAME_ATTEMPTS; ++attempt) {
    temporaryPath = stem + "-" + formatInteger(attempt);
    errno = 0;
    if (std::FILE* file = std::fopen(temporaryPath.c_str(), "wx")) {
      return file;
    }
    error = lastError();
    if (error != EEXIST) {
      return nullptr;
    }
  }
  return nullptr;
}

// Writes the content in full and closes the file; any failure is reported.
std::string writeTemporary(const OutputFile& file, std::string& temporaryPath) {
  int error = 0;
  std::FILE* stream = createTemporary(file.path, temporaryPath, error);
  if (stream == nullptr) {
    temporaryPath.clear();
    return failureText(file.path, systemReason(error));
  }
  errno = 0;
  const std::size_t written = std::fwrite(file.content.data(), 1, file.content.size(), stream);
  int writeError = (written != file.content.size() || std::fflush(stream) != 0) ? lastError() : 0;
  // The content must be on disk before the rename makes it the file.
  if (writeError == 0 && ::fsync(::fileno(stream)) != 0) {
    writeError = lastError();
  }
  if (std::fclose(stream) != 0 && writeError == 0) {
    writeError = lastError();
  }
  if (writeError != 0) {
    return failureText(file.path, systemReason(writeError));
  }
  return {};
}

void removeTemporaries(const std::vector<std::string>& temporaryPaths) {
  for (const std::string& temporary : temporaryPaths) {
    if (!temporary.empty()) {
      std::remove(temporary.c_str());
    }
  }
}

}  // namespace

std::string writeFilesAtomically(const std::vector<OutputFile>& files) {
  // A directory of that name could not be replaced by the rename at the end.
  for (const OutputFile& file : files) {
    std::error_code ignored;
    if (std::filesystem::is_directory(file.path, ignored)) {
      return failureText(file.path, "it is a directory");
    }
  }

  std::vector<std::string> temporaryPaths(files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    const std::string failure = writeTemporary(files[i], temporaryPaths[i]);
    if (!failure.empty()) {
      removeTemporaries(temporaryPaths);
      return failure;
    }
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (std::rename(temporaryPaths[i].c_str(), files[i].path.c_str()) != 0) {
      const int error = errno;
      removeTemporaries(temporaryPaths);
      return failureText(files[i].path, systemReason(error));
    }
    temporaryPaths[i].clear();
  }
  return {};
}

}  // namespace bandmatch
