#include <windows.h>

#include <csignal>
#include <cstdlib>

#include "io/temporary_file_cleanup.h"
#include "io/windows_files.h"

namespace pellum {
namespace {

// A program holds few outputs open at once (a conversion's output, a report).
constexpr int kSlots = 16;
char* slots[kSlots];  // guarded by TemporaryFilesLock()

// Windows runs a console control handler on a thread of its own while the program goes on,
// so the handler may take the lock: it waits for a temporary file being created or renamed,
// removes every one that exists, and keeps the lock, so that no other is created before the
// process ends. The files are still open for writing; they were opened to allow their
// removal, and go when the process closes them.
void RemoveTemporaryFiles() {
  TemporaryFilesLock().lock();
  for (char* path : slots) {
    if (path != nullptr)
      ::DeleteFileW(WidePath(path).c_str());
  }
}

// Ctrl+C, Ctrl+Break, the console window closed, the user logging off or the machine shutting
// down. False hands the event on to the default handler, which ends the process as it would
// have without Pellum (Ctrl+C gives the status STATUS_CONTROL_C_EXIT).
BOOL WINAPI RemoveTemporaryFilesOnConsoleEvent(DWORD) {
  RemoveTemporaryFiles();
  return FALSE;
}

// SIGTERM, which on Windows only raise() sends, and SIGINT where the C runtime raises it.
extern "C" void RemoveTemporaryFilesAndEnd(int signalNumber) {
  RemoveTemporaryFiles();
  std::signal(signalNumber, SIG_DFL);
  std::raise(signalNumber);
}

}  // namespace

void InstallTemporaryFileCleanup() {
  ::SetConsoleCtrlHandler(RemoveTemporaryFilesOnConsoleEvent, TRUE);
  const auto earlier = std::signal(SIGTERM, RemoveTemporaryFilesAndEnd);
  // A signal that was ignored stays ignored.
  if (earlier == SIG_IGN)
    std::signal(SIGTERM, SIG_IGN);
}

// Both are called with TemporaryFilesLock() held.
int RegisterTemporaryFile(const char* path) {
  char* copy = ::_strdup(path);
  if (copy == nullptr)
    return -1;
  for (int i = 0; i < kSlots; ++i) {
    if (slots[i] == nullptr) {
      slots[i] = copy;
      return i;
    }
  }
  std::free(copy);
  return -1;
}

void UnregisterTemporaryFile(int slot) {
  if (slot >= 0 && slot < kSlots) {
    std::free(slots[slot]);
    slots[slot] = nullptr;
  }
}

}  // namespace pellum
