// Undoes unfinished file work when a signal ends the process: temporary files are removed and
// files set aside as backups are put back, so an interrupted program leaves the folder as it was.
#pragma once

#include <span>
#include <string_view>

namespace bandmatch {

// What to do with a watched path if the process is stopped before the work is done.
enum class CleanupAction {
  removePath,   // unlink `path` (a temporary file, or a new file that had no predecessor)
  restorePath,  // rename `path` (a backup) back to `target`, then unlink `path` if still there
};

// Room for the files of one report pass or one export run, with their backups.
inline constexpr int CLEANUP_SLOTS = 16;

// Watches a path until forgetCleanup; returns the slot, or -1 when every slot is taken or the
// path is too long to keep (the caller then treats the file as unwritable).
int watchForCleanup(CleanupAction action, std::string_view path, std::string_view target = {});

// The work on the slot's path is done (or undone by the caller); -1 is ignored.
void forgetCleanup(int slot);

// Forgets several slots at once, with the signals held back meanwhile, so that a set of files
// put in place together is never half rolled back.
void forgetCleanups(std::span<const int> slots);

// Runs every watched action now and forgets them: what the signal handler does. Uses only
// async-signal-safe calls.
void runCleanup();

// SIGINT, SIGTERM and SIGHUP run the cleanup and then end the process by the same signal.
// SIGPIPE and SIGXFSZ are ignored, so a closed pipe or a file-size limit comes back from the
// write as an error that the program reports.
void prepareSignals();

}  // namespace bandmatch
