#include "files/replace_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/number_format.hpp"
#include "files/signal_cleanup.hpp"

namespace bandmatch {

namespace {

// Further names are tried when one is taken, e.g. by a run that was killed outright.
constexpr int TEMPORARY_NAME_ATTEMPTS = 100;
// Read and write for everyone the umask allows, as any newly created file.
constexpr mode_t NEW_FILE_MODE = 0666;
constexpr mode_t PERMISSION_BITS = 07777;

// errno after a failed call; a call that fails without setting it counts as an I/O error.
int lastError() {
  return errno != 0 ? errno : EIO;
}

}  // namespace

std::string systemReason(int error) {
  return std::strerror(error);
}

int createTemporaryBeside(const std::string& target, TemporaryFile& temporary) {
  if (target.find('\0') != std::string::npos) {
    return EINVAL;
  }
  const std::string stem = target + ".tmp-" + formatInteger(static_cast<long long>(::getpid()));
  for (int attempt = 0; attempt < TEMPORARY_NAME_ATTEMPTS; ++attempt) {
    std::string path = stem + "-" + formatInteger(attempt);
    const int slot = watchForCleanup(CleanupAction::removePath, path);
    if (slot < 0) {
      return ENAMETOOLONG;
    }
    // O_EXCL never follows a symlink and never opens what is already there.
    errno = 0;
    const int descriptor =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, NEW_FILE_MODE);
    if (descriptor >= 0) {
      temporary = {descriptor, std::move(path), slot};
      return 0;
    }
    const int error = lastError();
    forgetCleanup(slot);
    if (error != EEXIST) {
      return error;
    }
  }
  return EEXIST;
}

int writeWhole(int descriptor, std::string_view content) {
  while (!content.empty()) {
    errno = 0;
    const ssize_t written = ::write(descriptor, content.data(), content.size());
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      return lastError();
    }
    content.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

int keepPermissions(const std::string& target, int descriptor) {
  struct stat existing {};
  if (::lstat(target.c_str(), &existing) != 0 || !S_ISREG(existing.st_mode)) {
    return 0;  // nothing there, or not a file whose permissions mean anything to keep
  }
  return ::fchmod(descriptor, existing.st_mode & PERMISSION_BITS) == 0 ? 0 : lastError();
}

int closeTemporary(TemporaryFile& temporary) {
  if (temporary.descriptor < 0) {
    return 0;
  }
  const int descriptor = temporary.descriptor;
  temporary.descriptor = -1;
  return ::close(descriptor) == 0 ? 0 : lastError();
}

void discardTemporary(TemporaryFile& temporary) {
  closeTemporary(temporary);
  if (temporary.cleanupSlot >= 0) {
    ::unlink(temporary.path.c_str());
    forgetCleanup(temporary.cleanupSlot);
    temporary.cleanupSlot = -1;
  }
}

int replaceWith(TemporaryFile& temporary, const std::string& target, std::string_view content) {
  int error = writeWhole(temporary.descriptor, content);
  if (error == 0) {
    error = keepPermissions(target, temporary.descriptor);
  }
  const int closeError = closeTemporary(temporary);
  if (error == 0) {
    error = closeError;
  }
  if (error == 0) {
    errno = 0;
    if (::rename(temporary.path.c_str(), target.c_str()) != 0) {
      error = lastError();
    }
  }
  if (error != 0) {
    discardTemporary(temporary);
    return error;
  }
  forgetCleanup(temporary.cleanupSlot);
  temporary.cleanupSlot = -1;
  return 0;
}

}  // namespace bandmatch
