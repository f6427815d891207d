#include "io/replacing_output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <streambuf>
#include <vector>

namespace pellum {

// A write-only stream buffer over a file descriptor that remembers any failed write, so
// that a full disk or an I/O error turns into a failed conversion instead of a short file.
class FileWriteBuffer : public std::streambuf {
 public:
  explicit FileWriteBuffer(int descriptor) : descriptor_(descriptor), storage_(kCapacity) {
    setp(storage_.data(), storage_.data() + storage_.size());
  }

  bool Failed() const { return failed_; }

 protected:
  int_type overflow(int_type c) override {
    if (!Drain()) {
      return traits_type::eof();
    }
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(c);
      pbump(1);
    }
    return traits_type::not_eof(c);
  }

  std::streamsize xsputn(const char* data, std::streamsize count) override {
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

  int sync() override { return Drain() ? 0 : -1; }

 private:
  static constexpr std::size_t kCapacity = std::size_t{1} << 16;
  static constexpr std::streamsize kDirectWrite = std::streamsize{1} << 14;

  bool Drain() {
    const std::size_t pending = static_cast<std::size_t>(pptr() - pbase());
    setp(storage_.data(), storage_.data() + storage_.size());
    return WriteAll(storage_.data(), pending);
  }

  bool WriteAll(const char* data, std::size_t count) {
    while (count > 0 && !failed_) {
      const ssize_t written = ::write(descriptor_, data, count);
      if (written < 0) {
        if (errno == EINTR) {
          continue;
        }
        failed_ = true;
        break;
      }
      data += written;
      count -= static_cast<std::size_t>(written);
    }
    return !failed_;
  }

  int descriptor_;
  std::vector<char> storage_;
  bool failed_ = false;
};

namespace {

// The mode a file newly created by fopen would get: what the process's umask leaves of
// rw-rw-rw-. An existing output keeps its own mode, as it would when overwritten in place.
mode_t ModeForReplacement(const struct stat* existing) {
  if (existing != nullptr) {
    return existing->st_mode & 07777;
  }
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
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
  struct stat existing {};
  const bool exists = ::stat(path_.c_str(), &existing) == 0;
  if (exists && (S_ISDIR(existing.st_mode) || ::access(path_.c_str(), W_OK) != 0)) {
    return false;
  }
  if (exists && !S_ISREG(existing.st_mode)) {
    return OpenInPlace();
  }
  // A link is written through, as opening it for writing would: its target is replaced.
  std::string target = path_;
  if (exists) {
    if (char* resolved = ::realpath(path_.c_str(), nullptr)) {
      target = resolved;
      std::free(resolved);
    }
  }
  const std::size_t slash = target.rfind('/');
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  temporaryPath_ = target.substr(0, nameStart) + "." + target.substr(nameStart) + ".XXXXXX";
  descriptor_ = ::mkstemp(temporaryPath_.data());
  if (descriptor_ < 0) {
    temporaryPath_.clear();
    return false;
  }
  replacedPath_ = target;
  ::fchmod(descriptor_, ModeForReplacement(exists ? &existing : nullptr));
  buffer_ = std::make_unique<FileWriteBuffer>(descriptor_);
  stream_ = std::make_unique<std::ostream>(buffer_.get());
  return true;
}

// A device or a pipe (/dev/null, /dev/full, a named pipe a reader waits on) cannot be
// replaced by renaming, and must not be: it is written where it stands. A pipe without a
// reader fails at once instead of blocking.
bool ReplacingOutputFile::OpenInPlace() {
  descriptor_ = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor_ < 0) {
    return false;
  }
  const int flags = ::fcntl(descriptor_, F_GETFL);
  ::fcntl(descriptor_, F_SETFL, flags & ~O_NONBLOCK);
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
  const int closed = ::close(descriptor_);
  descriptor_ = -1;
  if (temporaryPath_.empty()) {
    return written && closed == 0;  // written in place
  }
  if (!written || closed != 0 || std::rename(temporaryPath_.c_str(), replacedPath_.c_str()) != 0) {
    Discard();
    return false;
  }
  temporaryPath_.clear();
  return true;
}

void ReplacingOutputFile::Discard() {
  if (descriptor_ >= 0) {
    ::close(descriptor_);
    descriptor_ = -1;
  }
  if (!temporaryPath_.empty()) {
    ::unlink(temporaryPath_.c_str());
    temporaryPath_.clear();
  }
}

}  // namespace pellum
