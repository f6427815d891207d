#include "io/temporary_file_cleanup.h"

#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace pellum {
namespace {

// A program holds few outputs open at once (a conversion's output, a report). The slots are
// lock-free atomic pointers, so that the handler may read them at any moment; it only
// reads them and calls unlink, which is safe in a signal handler.
constexpr int kSlots = 16;
std::atomic<char*> slots[kSlots];
static_assert(std::atomic<char*>::is_always_lock_free);

constexpr int kCleanedSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void RemoveTemporaryFilesAndEnd(int signalNumber) {
  for (std::atomic<char*>& slot : slots) {
    if (const char* path = slot.load()) {
      ::unlink(path);
    }
  }
  struct sigaction defaultAction {};
  defaultAction.sa_handler = SIG_DFL;
  sigemptyset(&defaultAction.sa_mask);
  ::sigaction(signalNumber, &defaultAction, nullptr);
  // The signal stays blocked until the handler returns, and is delivered then, with its
  // default action: the process ends by it.
  ::raise(signalNumber);
}

}  // namespace

void InstallTemporaryFileCleanup() {
  for (const int signalNumber : kCleanedSignals) {
    struct sigaction earlier {};
    if (::sigaction(signalNumber, nullptr, &earlier) != 0 || earlier.sa_handler == SIG_IGN) {
      continue;
    }
    struct sigaction action {};
    action.sa_handler = RemoveTemporaryFilesAndEnd;
    sigemptyset(&action.sa_mask);
    // No second cleaned signal may interrupt the first one's handler halfway.
    for (const int other : kCleanedSignals) {
      sigaddset(&action.sa_mask, other);
    }
    ::sigaction(signalNumber, &action, nullptr);
  }
}

int RegisterTemporaryFile(const char* path) {
  char* copy = ::strdup(path);
  if (copy == nullptr) {
    return -1;
  }
  for (int i = 0; i < kSlots; ++i) {
    char* empty = nullptr;
    if (slots[i].compare_exchange_strong(empty, copy)) {
      return i;
    }
  }
  std::free(copy);
  return -1;
}

void UnregisterTemporaryFile(int slot) {
  if (slot >= 0 && slot < kSlots) {
    std::free(slots[slot].exchange(nullptr));
  }
}

}  // namespace pellum
