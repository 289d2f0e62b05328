#include "tools/common/atomic_file.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "files/replace_file.hpp"
#include "files/signal_cleanup.hpp"

namespace bandmatch {

namespace {

// One output file on its way into place.
struct Placement {
  const OutputFile* file = nullptr;
  TemporaryFile temporary;
  std::string backup;   // the earlier file kept under another name; empty when there was none
  int guardSlot = -1;   // puts the earlier file back, or removes a file that had none
  bool placed = false;  // renamed over the target
};

std::string failureText(const std::string& path, std::string_view reason) {
  return "cannot write " + path + ": " + std::string(reason);
}

int lastError() {
  return errno != 0 ? errno : EIO;
}

// The new content in full under a temporary name; on disk before any rename makes it the file.
int writeTemporary(Placement& placement) {
  const OutputFile& file = *placement.file;
  int error = createTemporaryBeside(file.path, placement.temporary);
  if (error != 0) {
    return error;
  }
  error = writeWhole(placement.temporary.descriptor, file.content);
  if (error == 0) {
    error = keepPermissions(file.path, placement.temporary.descriptor);
  }
  if (error == 0 && ::fsync(placement.temporary.descriptor) != 0) {
    error = lastError();
  }
  const int closeError = closeTemporary(placement.temporary);
  return error != 0 ? error : closeError;
}

// Keeps the file now at the target under a backup name: a second hard link, so the target never
// disappears, or where links are not possible the file itself renamed away.
int setAside(Placement& placement) {
  const std::string& target = placement.file->path;
  struct stat existing {};
  if (::lstat(target.c_str(), &existing) != 0) {
    if (errno != ENOENT) {
      return lastError();
    }
    placement.guardSlot = watchForCleanup(CleanupAction::removePath, target);
    return placement.guardSlot < 0 ? ENAMETOOLONG : 0;
  }
  const auto keep = [&target](const std::string& backup) {
    errno = 0;
    if (::link(target.c_str(), backup.c_str()) == 0 ||
        (errno != EEXIST && ::rename(target.c_str(), backup.c_str()) == 0)) {
      return 0;
    }
    return lastError();
  };
  WatchedName backup;
  const int error = makeWatchedName(target, "bak", CleanupAction::restorePath, keep, backup);
  if (error == 0) {
    placement.backup = std::move(backup.path);
    placement.guardSlot = backup.cleanupSlot;
  }
  return error;
}

// Puts every target back as it was and removes every temporary and backup file.
void rollBack(std::vector<Placement>& placements) {
  for (Placement& placement : placements) {
    const std::string& target = placement.file->path;
    if (!placement.backup.empty()) {
      // Moves the earlier file back; for a hard link over an untouched target the rename does
      // nothing and the unlink drops the extra name.
      ::rename(placement.backup.c_str(), target.c_str());
      ::unlink(placement.backup.c_str());
    } else if (placement.placed) {
      ::unlink(target.c_str());
    }
    forgetCleanup(placement.guardSlot);
    discardTemporary(placement.temporary);
  }
}

}  // namespace

std::string writeFilesAtomically(const std::vector<OutputFile>& files, RenameStep renameStep) {
  // A directory of that name could not be replaced by the rename at the end.
  for (const OutputFile& file : files) {
    std::error_code ignored;
    if (std::filesystem::is_directory(file.path, ignored)) {
      return failureText(file.path, "it is a directory");
    }
  }

  std::vector<Placement> placements(files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    placements[i].file = &files[i];
  }
  const auto fail = [&placements](const std::string& path, int error) {
    rollBack(placements);
    return failureText(path, systemReason(error));
  };
  for (Placement& placement : placements) {
    if (const int error = writeTemporary(placement); error != 0) {
      return fail(placement.file->path, error);
    }
  }
  for (Placement& placement : placements) {
    if (const int error = setAside(placement); error != 0) {
      return fail(placement.file->path, error);
    }
  }
  for (Placement& placement : placements) {
    errno = 0;
    if (renameStep(placement.temporary.path.c_str(), placement.file->path.c_str()) != 0) {
      return fail(placement.file->path, lastError());
    }
    placement.placed = true;
  }

  // Every new file is in place: from here on a signal must not undo any of them.
  std::vector<int> slots;
  for (const Placement& placement : placements) {
    slots.push_back(placement.temporary.cleanupSlot);
    slots.push_back(placement.guardSlot);
  }
  forgetCleanups(slots);
  for (Placement& placement : placements) {
    placement.temporary.cleanupSlot = -1;
    if (!placement.backup.empty()) {
      ::unlink(placement.backup.c_str());
    }
  }
  return {};
}

}  // namespace bandmatch
