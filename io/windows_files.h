#pragma once

// What the Windows side of io/ shares: paths for the Win32 API and what a path leads to.
// Windows only.

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

namespace pellum {

// A path as the Win32 API's wide functions take it. Pellum's paths are narrow strings in the
// process's ANSI code page, as the command line hands them over and as every narrow Windows
// function (fopen, the C++ streams) reads them; the wide functions then reach the same file.
std::wstring WidePath(std::string_view path);

// The wide path back to the process's narrow paths.
std::string NarrowPath(std::wstring_view path);

// What the path leads to, links followed.
struct FileFacts {
  bool found = false;
  bool directory = false;
  bool disk = false;  // a file on a disk, not a device (NUL, CON) or a pipe
  bool readOnly = false;
  std::uint64_t size = 0;
  std::int64_t changed = 0;  // the last change, in 100 ns since 1601
};
FileFacts FactsOf(const std::string& path);

// Held while a temporary file is created and registered, and while it is renamed over its
// output and unregistered, so that the console's interrupt, whose handler runs on a thread
// of its own, finds every temporary file that exists and removes it. RegisterTemporaryFile
// and UnregisterTemporaryFile are called with it held.
std::mutex& TemporaryFilesLock();

}  // namespace pellum
