#include "files/replace_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/number_format.hpp"

namespace bandmatch {

namespace {

// Further names are tried when one is taken, e.g. by a run that was killed outright.
constexpr int NAME_ATTEMPTS = 100;
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

int makeWatchedName(const std::string& target, std::string_view tag, CleanupAction action,
                    const std::function<int(const std::string&)>& make, WatchedName& name) {
  // In the target's folder, so that a rename moves it into place; short and of its own, so that
  // a target whose name is as long as the system allows still has one.
  const std::size_t folderEnd = target.rfind('/');
  const std::string folder =
      folderEnd == std::string::npos ? std::string() : target.substr(0, folderEnd + 1);
  const std::string stem = folder + std::string(OWN_FILE_PREFIX) + std::string(tag) + "-" +
                           formatInteger(static_cast<long long>(::getpid()));
  for (int attempt = 0; attempt < NAME_ATTEMPTS; ++attempt) {
    std::string path = stem + "-" + formatInteger(attempt);
    // Watched before it exists: a signal in between finds nothing to undo, which is right.
    const int slot =
        watchForCleanup(action, path, action == CleanupAction::restorePath ? target : "");
    if (slot < 0) {
      return ENAMETOOLONG;
    }
    const int error = make(path);
    if (error == 0) {
      name = {std::move(path), slot};
      return 0;
    }
    forgetCleanup(slot);
    if (error != EEXIST) {
      return error;
    }
  }
  return EEXIST;
}

int createTemporaryBeside(const std::string& target, TemporaryFile& temporary) {
  if (target.find('\0') != std::string::npos) {
    return EINVAL;
  }
  int descriptor = -1;
  const auto create = [&descriptor](const std::string& path) {
    // O_EXCL never follows a symlink and never opens what is already there.
    errno = 0;
    descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, NEW_FILE_MODE);
    return descriptor >= 0 ? 0 : lastError();
  };
  WatchedName name;
  const int error = makeWatchedName(target, "tmp", CleanupAction::removePath, create, name);
  if (error == 0) {
    temporary = {descriptor, std::move(name.path), name.cleanupSlot};
  }
  return error;
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
