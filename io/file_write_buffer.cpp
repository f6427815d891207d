#include "io/file_write_buffer.h"

namespace pellum {
namespace {

constexpr std::size_t kCapacity = std::size_t{1} << 16;
constexpr std::streamsize kDirectWrite = std::streamsize{1} << 14;

}  // namespace

FileWriteBuffer::FileWriteBuffer(int descriptor) : descriptor_(descriptor), storage_(kCapacity) {
  setp(storage_.data(), storage_.data() + storage_.size());
}

FileWriteBuffer::int_type FileWriteBuffer::overflow(int_type c) {
  if (!Drain()) {
    return traits_type::eof();
  }
  if (!traits_type::eq_int_type(c, traits_type::eof())) {
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
  }
  return traits_type::not_eof(c);
}

std::streamsize FileWriteBuffer::xsputn(const char* data, std::streamsize count) {
  // Blocks of rows that fill a good part of the buffer go straight to the file.
  if (count < kDirectWrite && count <= epptr() - pptr()) {
    traits_type::copy(pptr(), data, static_cast<std::size_t>(count));
    pbump(static_cast<int>(count));
    return count;
  }
  if (!Drain() || !WriteAll(data, static_cast<std::size_t>(count))) {
    return 0;
  }
  return count;
}

bool FileWriteBuffer::Drain() {
  const std::size_t pending = static_cast<std::size_t>(pptr() - pbase());
  setp(storage_.data(), storage_.data() + storage_.size());
  return WriteAll(storage_.data(), pending);
}

bool FileWriteBuffer::WriteAll(const char* data, std::size_t count) {
  while (count > 0 && !failed_) {
    const std::ptrdiff_t written = WriteToDescriptor(descriptor_, data, count);
    if (written <= 0) {
      failed_ = true;
      break;
    }
    data += written;
    count -= static_cast<std::size_t>(written);
  }
  return !failed_;
}

}  // namespace pellum
