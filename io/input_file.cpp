#include "io/input_file.h"

#include <sys/stat.h>

namespace pellum {

bool InputFile::Open(const std::string& path) {
  // Only a regular file is a data file. A folder opens on Linux but yields no byte; a FIFO
  // would block the program until some other program writes to it; a device such as
  // /dev/zero would be read forever. Such inputs are refused like a missing file.
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
    return false;
  }
  // Left uninitialised: the file's bytes are the first thing written into it.
  constexpr std::size_t kBufferSize = std::size_t{1} << 20;
  buffer_.reset(new char[kBufferSize]);
  stream_.rdbuf()->pubsetbuf(buffer_.get(), static_cast<std::streamsize>(kBufferSize));
  stream_.open(path, std::ios::in | std::ios::binary);
  return stream_.is_open();
}

void InputFile::Rewind() {
  stream_.clear();
  stream_.seekg(0, std::ios::beg);
}

}  // namespace pellum
