#include "io/input_file.h"
#include "io/windows_files.h"

namespace pellum {

bool InputFile::Open(const std::string& path) {
  // Only a regular file is a data file: a folder yields no byte, a pipe would block the
  // program until some other program writes to it, a device (CON) would be read forever.
  // Such inputs are refused like a missing file.
  const FileFacts facts = FactsOf(path);
  if (!facts.found || !facts.disk || facts.directory)
    return false;
  // Left uninitialised: the file's bytes are the first thing written into it.
  constexpr std::size_t kBufferSize = std::size_t{1} << 20;
  buffer_.reset(new char[kBufferSize]);
  stream_.rdbuf()->pubsetbuf(buffer_.get(), static_cast<std::streamsize>(kBufferSize));
  // Binary: a line ending in CR LF reaches the readers with its CR, as on Linux.
  stream_.open(WidePath(path).c_str(), std::ios::in | std::ios::binary);
  return stream_.is_open();
}

void InputFile::Rewind() {
  stream_.clear();
  stream_.seekg(0, std::ios::beg);
}

}  // namespace pellum
