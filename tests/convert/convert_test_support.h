#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ios>
#include <iterator>
#include <streambuf>
#include <string>
#include <vector>

#include "tests/support/message_log.h"
#include "tests/support/printf_nan.h"
#include "tests/support/temporary_folder.h"

namespace pellum::testing {

using RecordedMessage = LoggedMessage;
using RecordingSink = MessageLog;

// A fresh folder under the system's temporary folder, removed with everything in it.
class TemporaryFolder {
 public:
  TemporaryFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "pellum-convert-XXXXXX").string();
    MakeTemporaryFolder(pattern);
    path_ = pattern;
  }
  ~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& Path() const { return path_; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

  // Names of everything in the folder, sorted: shows stray temporary files.
  std::vector<std::string> Listing() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::filesystem::path path_;
};

// Hands out bytes in refills of `chunk` bytes, as a file buffer does, and then fails the
// next refill the way the standard file buffer reports a read error: by throwing.
//   FailingRead in("A\nB\nC", 2);   // "A\n", "B\n", "C", then the failure
class FailingRead : public std::streambuf {
 public:
  FailingRead(std::string bytes, std::size_t chunk) : bytes_(std::move(bytes)), chunk_(chunk) {}

 protected:
  int_type underflow() override {
    if (given_ == bytes_.size()) {
      throw std::ios_base::failure("basic_filebuf::underflow error reading the file");
    }
    const std::size_t size = std::min(chunk_, bytes_.size() - given_);
    char* start = bytes_.data() + given_;
    setg(start, start, start + size);
    given_ += size;
    return traits_type::to_int_type(*start);
  }

 private:
  std::string bytes_;
  std::size_t chunk_;
  std::size_t given_ = 0;
};

// Hands out prefix, then count copies of filler, then suffix, made as they are read, so a
// test can feed gigabytes without holding them. Refills of `chunk` bytes, as a file buffer
// does; chunk 0 hands out one byte at a time without a get area.
//   LazyBytes in("2Theta\n", '\0', std::uint64_t{1} << 30, "\n");   // 1 GiB of zero bytes
class LazyBytes : public std::streambuf {
 public:
  LazyBytes(std::string prefix, char filler, std::uint64_t count, std::string suffix,
            std::size_t chunk = std::size_t{64} << 10)
      : prefix_(std::move(prefix)),
        suffix_(std::move(suffix)),
        filler_(filler),
        fillerEnd_(prefix_.size() + count),
        size_(fillerEnd_ + suffix_.size()),
        window_(chunk, '\0') {}

 protected:
  int_type underflow() override {
    if (position_ == size_) {
      return traits_type::eof();
    }
    if (window_.empty()) {
      return traits_type::to_int_type(ByteAt(position_));
    }
    const std::size_t size =
        static_cast<std::size_t>(std::min<std::uint64_t>(window_.size(), size_ - position_));
    for (std::size_t i = 0; i < size;) {
      const std::uint64_t at = position_ + i;
      if (at >= prefix_.size() && at < fillerEnd_) {
        const auto run =
            static_cast<std::size_t>(std::min<std::uint64_t>(size - i, fillerEnd_ - at));
        std::fill_n(window_.data() + i, run, filler_);
        i += run;
      } else {
        window_[i++] = ByteAt(at);
      }
    }
    position_ += size;
    setg(window_.data(), window_.data(), window_.data() + size);
    return traits_type::to_int_type(window_[0]);
  }
  int_type uflow() override {
    const int_type c = underflow();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      if (window_.empty()) {
        ++position_;
      } else {
        gbump(1);
      }
    }
    return c;
  }

 private:
  char ByteAt(std::uint64_t i) const {
    if (i < prefix_.size()) {
      return prefix_[i];
    }
    return i < fillerEnd_ ? filler_ : suffix_[i - fillerEnd_];
  }

  std::string prefix_;
  std::string suffix_;
  char filler_;
  std::uint64_t fillerEnd_;
  std::uint64_t size_;
  std::string window_;
  std::uint64_t position_ = 0;
};

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// printf's own rendering, to compare non-finite values and roundings with. The buffer is
// sized by a first call, which GCC's truncation warning cannot see through.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-truncation"
[[gnu::noinline]] inline std::string Printf(const char* format, double value) {
  const int size = std::snprintf(nullptr, 0, format, value);
  std::string text(static_cast<std::size_t>(size) + 1, '\0');
  std::snprintf(text.data(), text.size(), format, value);
  text.resize(static_cast<std::size_t>(size));
  return WithNanSign(text, value);
}
#pragma GCC diagnostic pop

}  // namespace pellum::testing
