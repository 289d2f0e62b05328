#include "files/signal_cleanup.hpp"

#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace bandmatch {

namespace {

// The signals that stop a program from outside: Ctrl-C, kill, a closed terminal.
constexpr std::array<int, 3> CLEANUP_SIGNALS = {SIGINT, SIGTERM, SIGHUP};

// Long enough for any path the system accepts in one call.
constexpr std::size_t PATH_CAPACITY = 4096;

struct CleanupSlot {
  char path[PATH_CAPACITY];
  char target[PATH_CAPACITY];
  CleanupAction action;
  volatile std::sig_atomic_t active;
};

// A signal handler can reach nothing but static storage, so the watched paths live here, each
// slot made active only after its paths are complete.
std::array<CleanupSlot, CLEANUP_SLOTS> slots{};

bool copyPath(char (&destination)[PATH_CAPACITY], std::string_view path) {
  if (path.size() >= PATH_CAPACITY || path.find('\0') != std::string_view::npos) {
    return false;
  }
  // An empty view may hold no pointer at all, which memcpy must not be given.
  if (!path.empty()) {
    std::memcpy(destination, path.data(), path.size());
  }
  destination[path.size()] = '\0';
  return true;
}

void undo(const CleanupSlot& slot) {
  if (slot.action == CleanupAction::restorePath) {
    // A hard-link backup and the target may be one file, then the rename does nothing and the
    // unlink drops the extra name; a renamed-away backup is simply moved back.
    ::rename(slot.path, slot.target);
  }
  ::unlink(slot.path);
}

extern "C" void cleanUpAndDie(int signalNumber) {
  runCleanup();
  std::signal(signalNumber, SIG_DFL);
  std::raise(signalNumber);
}

// A signal the caller ignores (a background job, nohup) stays ignored.
void handleUnlessIgnored(int signalNumber, void (*handler)(int)) {
  struct sigaction current {};
  if (::sigaction(signalNumber, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) {
    return;
  }
  struct sigaction wanted {};
  wanted.sa_handler = handler;
  sigemptyset(&wanted.sa_mask);
  ::sigaction(signalNumber, &wanted, nullptr);
}

}  // namespace

int watchForCleanup(CleanupAction action, std::string_view path, std::string_view target) {
  for (std::size_t i = 0; i < slots.size(); ++i) {
    CleanupSlot& slot = slots[i];
    if (slot.active != 0) {
      continue;
    }
    if (!copyPath(slot.path, path) || !copyPath(slot.target, target)) {
      return -1;
    }
    slot.action = action;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    slot.active = 1;
    return static_cast<int>(i);
  }
  return -1;
}

void forgetCleanup(int slot) {
  if (slot >= 0 && slot < CLEANUP_SLOTS) {
    slots[static_cast<std::size_t>(slot)].active = 0;
    std::atomic_signal_fence(std::memory_order_seq_cst);
  }
}

void forgetCleanups(std::span<const int> slotsDone) {
  sigset_t held;
  sigemptyset(&held);
  for (const int signalNumber : CLEANUP_SIGNALS) {
    sigaddset(&held, signalNumber);
  }
  sigset_t previous;
  ::sigprocmask(SIG_BLOCK, &held, &previous);
  for (const int slot : slotsDone) {
    forgetCleanup(slot);
  }
  ::sigprocmask(SIG_SETMASK, &previous, nullptr);
}

void runCleanup() {
  for (CleanupSlot& slot : slots) {
    if (slot.active != 0) {
      undo(slot);
      slot.active = 0;
    }
  }
}

void prepareSignals() {
  for (const int signalNumber : CLEANUP_SIGNALS) {
    handleUnlessIgnored(signalNumber, cleanUpAndDie);
  }
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace bandmatch
