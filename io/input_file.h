#pragma once

#include <fstream>
#include <memory>
#include <string>

namespace pellum {

// A data file opened for reading its bytes as they stand (binary mode), through a buffer
// large enough that reading a long profile costs few system calls.
class InputFile {
 public:
  // False when path cannot be opened for reading or is not a regular file (a folder, a
  // FIFO, a device).
  bool Open(const std::string& path);
  std::istream& Stream() { return stream_; }

  // Back to the first byte, with the end-of-data state cleared, for a second pass.
  void Rewind();

 private:
  std::unique_ptr<char[]> buffer_;
  std::ifstream stream_;
};

}  // namespace pellum
