// Replaces a file by a rename, so that anyone looking sees either the old file or the whole new
// one: the new content goes to a temporary file in the target's folder, which is then renamed
// over it. Whatever stands at the target (a FIFO, a symlink, a device) is replaced, never opened.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "files/signal_cleanup.hpp"

namespace bandmatch {

// A temporary file beside its target, open for writing and watched for removal on signals.
struct TemporaryFile {
  int descriptor = -1;
  std::string path;
  int cleanupSlot = -1;
};

// The system's text for an errno value ("No such file or directory").
std::string systemReason(int error);

// A file name of this process beside a target, watched for cleanup from before the file exists.
struct WatchedName {
  std::string path;
  int cleanupSlot = -1;
};

// Every name the programs make for their own files starts with this; hidden, and short whatever
// the target's name.
inline constexpr std::string_view OWN_FILE_PREFIX = ".bm-";

// Makes a file under the first free name ".bm-" + tag + "-PID-N" (N = 0, 1, ...) in the target's
// folder: `make` returns 0, EEXIST when the name is taken (the next one is tried), or another
// errno, which ends the attempt. The name is watched with `action` (and `target` for a restore).
// Returns 0 or the errno; ENAMETOOLONG when the name cannot be watched.
int makeWatchedName(const std::string& target, std::string_view tag, CleanupAction action,
                    const std::function<int(const std::string&)>& make, WatchedName& name);

// Creates a new file ".bm-tmp-PID-N" in the target's folder. Returns 0, or the errno of the
// failure (EINVAL for a name holding a NUL byte).
int createTemporaryBeside(const std::string& target, TemporaryFile& temporary);

// Writes the whole content, resuming after short or interrupted writes; 0 or the errno.
int writeWhole(int descriptor, std::string_view content);

// Gives the open file the permission bits of the target when the target is a regular file, so
// a replaced report keeps the access its owner gave it; 0 or the errno.
int keepPermissions(const std::string& target, int descriptor);

// Closes the temporary file; 0 or the errno (a late write error may show here).
int closeTemporary(TemporaryFile& temporary);

// Closes, removes and stops watching a temporary file that will not be used.
void discardTemporary(TemporaryFile& temporary);

// Writes the content to the temporary, keeps the target's permissions and renames the temporary
// over the target; on any failure the temporary is discarded and the target left as it was.
// Returns 0 or the errno.
int replaceWith(TemporaryFile& temporary, const std::string& target, std::string_view content);

}  // namespace bandmatch
