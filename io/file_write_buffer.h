#pragma once

#include <cstddef>
#include <streambuf>
#include <vector>

namespace pellum {

// Writes up to count bytes of data to the descriptor: the number written, at least one, or
// -1 after a failure that trying again does not mend. Each system has its own
// (replacing_output_file.cpp, replacing_output_file_windows.cpp).
std::ptrdiff_t WriteToDescriptor(int descriptor, const char* data, std::size_t count);

// A write-only stream buffer over a file descriptor that remembers any failed write, so
// that a full disk or an I/O error turns into a failed conversion instead of a short file.
class FileWriteBuffer : public std::streambuf {
 public:
  explicit FileWriteBuffer(int descriptor);

  bool Failed() const { return failed_; }

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* data, std::streamsize count) override;
  int sync() override { return Drain() ? 0 : -1; }

 private:
  bool Drain();
  bool WriteAll(const char* data, std::size_t count);

  int descriptor_;
  std::vector<char> storage_;
  bool failed_ = false;
};

}  // namespace pellum
