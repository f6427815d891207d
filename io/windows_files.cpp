#include "io/windows_files.h"

#include <windows.h>

namespace pellum {

std::wstring WidePath(std::string_view path) {
  if (path.empty())
    return {};
  const int size = static_cast<int>(path.size());
  const int length = ::MultiByteToWideChar(CP_ACP, 0, path.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, path.data(), size, wide.data(), length);
  return wide;
}

std::string NarrowPath(std::wstring_view path) {
  if (path.empty())
    return {};
  const int size = static_cast<int>(path.size());
  const int length =
      ::WideCharToMultiByte(CP_ACP, 0, path.data(), size, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, path.data(), size, narrow.data(), length, nullptr, nullptr);
  return narrow;
}

FileFacts FactsOf(const std::string& path) {
  // Opened for no access at all, only to ask: links are followed, folders open with backup
  // semantics, and no other program's use of the file stands in the way.
  const HANDLE file = ::CreateFileW(WidePath(path).c_str(), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return {};
  FileFacts facts;
  facts.found = true;
  facts.disk = ::GetFileType(file) == FILE_TYPE_DISK;
  BY_HANDLE_FILE_INFORMATION information{};
  if (facts.disk && ::GetFileInformationByHandle(file, &information)) {
    facts.directory = (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    facts.readOnly = (information.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    facts.size = (std::uint64_t{information.nFileSizeHigh} << 32) | information.nFileSizeLow;
    facts.changed = static_cast<std::int64_t>(
        (std::uint64_t{information.ftLastWriteTime.dwHighDateTime} << 32) |
        information.ftLastWriteTime.dwLowDateTime);
  }
  // The change time also moves on a rename and on a change of attributes, as the last
  // write does not; not every file system keeps it.
  FILE_BASIC_INFO basic{};
  if (facts.disk && ::GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic) &&
      basic.ChangeTime.QuadPart != 0)
    facts.changed = basic.ChangeTime.QuadPart;
  ::CloseHandle(file);
  return facts;
}

std::mutex& TemporaryFilesLock() {
  static std::mutex lock;
  return lock;
}

}  // namespace pellum
