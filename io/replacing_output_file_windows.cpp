#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <windows.h>

#include <filesystem>
#include <random>
#include <vector>

#include "io/file_write_buffer.h"
#include "io/replacing_output_file.h"
#include "io/temporary_file_cleanup.h"
#include "io/windows_files.h"

namespace pellum {

// The descriptor is the C runtime's, in binary mode: no line end is translated. _write
// takes an int, so a larger block goes in pieces.
std::ptrdiff_t WriteToDescriptor(int descriptor, const char* data, std::size_t count) {
  constexpr std::size_t kLargestWrite = std::size_t{1} << 30;
  const unsigned piece = static_cast<unsigned>(count < kLargestWrite ? count : kLargestWrite);
  const int written = ::_write(descriptor, data, piece);
  return written > 0 ? written : -1;
}

namespace {

// Whether the process may write the existing file at path: its permissions allow it, and no
// other program holds it open against writing.
bool MayWrite(const std::wstring& path) {
  const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return false;
  ::CloseHandle(file);
  return true;
}

// Six letters or digits that no other temporary file beside the output is likely to end in.
std::wstring RandomSuffix() {
  static constexpr wchar_t kLetters[] =
      L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  static std::mt19937_64 generator = [] {
    std::random_device device;
    std::seed_seq seed{device(), device(), static_cast<unsigned>(::GetCurrentProcessId()),
                       static_cast<unsigned>(::GetTickCount64())};
    return std::mt19937_64(seed);
  }();
  std::uniform_int_distribution<int> pick(0, static_cast<int>(std::size(kLetters)) - 2);
  std::wstring suffix(6, L'A');
  for (wchar_t& letter : suffix)
    letter = kLetters[pick(generator)];
  return suffix;
}

// The hidden temporary name beside path: "." + name + "." + six letters. A name near the
// file system's limit of 255 UTF-16 units is cut so that the temporary name still fits it;
// the cut does not split a character.
std::wstring TemporaryName(const std::wstring& path, const std::wstring& suffix) {
  const std::filesystem::path whole(path);
  std::wstring name = whole.filename().wstring();
  constexpr std::size_t kRoom = 255 - 8;  // "." and "." + six letters
  if (name.size() > kRoom) {
    name.resize(kRoom);
    if (name.back() >= 0xD800 && name.back() <= 0xDBFF)
      name.pop_back();  // the first half of a character beyond the 16 bits
  }
  return (whole.parent_path() / (L"." + name + L"." + suffix)).wstring();
}

}  // namespace

ReplacingOutputFile::ReplacingOutputFile(std::string path) : path_(std::move(path)) {}

ReplacingOutputFile::~ReplacingOutputFile() {
  Discard();
}

bool ReplacingOutputFile::Open() {
  if (path_.empty()) {
    return false;
  }
  // What the path shows, following links: refused where writing it in place would be.
  const std::wstring path = WidePath(path_);
  const FileFacts shown = FactsOf(path_);
  if (shown.found && shown.disk && (shown.directory || shown.readOnly || !MayWrite(path))) {
    return false;
  }
  if (shown.found && !shown.disk) {
    return OpenInPlace(false);
  }
  // A link is replaced as a file of its own: the move replaces the link, and what it led to
  // (another output, the very input being converted) is never written.
  const std::lock_guard<std::mutex> held(TemporaryFilesLock());
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::wstring temporary = TemporaryName(path, RandomSuffix());
    // Removable while open (FILE_SHARE_DELETE), so that the console's interrupt can remove
    // it; not inherited by programs this one starts.
    const HANDLE file = ::CreateFileW(temporary.c_str(), GENERIC_WRITE | DELETE,
                                      FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      const DWORD error = ::GetLastError();
      if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
        continue;
      return false;
    }
    descriptor_ = ::_open_osfhandle(reinterpret_cast<intptr_t>(file), _O_WRONLY | _O_BINARY);
    if (descriptor_ < 0) {
      ::CloseHandle(file);
      ::DeleteFileW(temporary.c_str());
      return false;
    }
    temporaryPath_ = NarrowPath(temporary);
    cleanupSlot_ = RegisterTemporaryFile(temporaryPath_.c_str());
    buffer_ = std::make_unique<FileWriteBuffer>(descriptor_);
    stream_ = std::make_unique<std::ostream>(buffer_.get());
    return true;
  }
  return false;
}

// A device or a pipe (NUL, CON, a named pipe) cannot be replaced by a move, and must not
// be: it is written where it stands.
bool ReplacingOutputFile::OpenInPlace(bool truncate) {
  const int flags = _O_WRONLY | _O_BINARY | _O_NOINHERIT | (truncate ? _O_TRUNC : 0);
  if (::_wsopen_s(&descriptor_, WidePath(path_).c_str(), flags, _SH_DENYNO, 0) != 0) {
    descriptor_ = -1;
    return false;
  }
  buffer_ = std::make_unique<FileWriteBuffer>(descriptor_);
  stream_ = std::make_unique<std::ostream>(buffer_.get());
  return true;
}

std::ostream& ReplacingOutputFile::Stream() {
  return *stream_;
}

bool ReplacingOutputFile::Commit() {
  if (descriptor_ < 0) {
    return false;
  }
  stream_->flush();
  const bool written = !buffer_->Failed() && stream_->good();
  const int closed = ::_close(descriptor_);
  descriptor_ = -1;
  if (temporaryPath_.empty()) {
    return written && closed == 0;  // written in place
  }
  if (written && closed == 0) {
    // One step that replaces an existing output (std::rename would refuse to). An
    // interrupt before it still removes the temporary file.
    const std::lock_guard<std::mutex> held(TemporaryFilesLock());
    if (::MoveFileExW(WidePath(temporaryPath_).c_str(), WidePath(path_).c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      UnregisterTemporaryFile(cleanupSlot_);
      cleanupSlot_ = -1;
      temporaryPath_.clear();
      return true;
    }
  }
  Discard();
  return false;
}

void ReplacingOutputFile::Discard() {
  if (descriptor_ >= 0) {
    ::_close(descriptor_);
    descriptor_ = -1;
  }
  if (!temporaryPath_.empty()) {
    const std::lock_guard<std::mutex> held(TemporaryFilesLock());
    ::DeleteFileW(WidePath(temporaryPath_).c_str());
    UnregisterTemporaryFile(cleanupSlot_);
    cleanupSlot_ = -1;
    temporaryPath_.clear();
  }
}

}  // namespace pellum
