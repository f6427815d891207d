// Arbitrary bytes through the line reader and the field splitter.
//
// Lines: none holds a line-end byte (CR, LF, 0xFF); each is followed in the data by CR LF,
// a lone CR, a lone LF or 0xFF, or is the last, non-empty one; together they give back the
// data up to the first 0x1A exactly. The same lines come out whether the stream hands its
// bytes over all at once or in small pieces, so no line end is lost at a buffer's edge.
// Fields: runs of the bytes 0x21 to 0x7F, numbered from 0; a zero byte separates them like
// every other byte outside that range.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <istream>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "convert/line_reader.h"
#include "convert/token.h"

namespace {

// A read-only stream buffer that shows its bytes a few at a time, the piece sizes taken
// in turn from a list, as a pipe or a slow disk would.
class PieceBuffer : public std::streambuf {
 public:
  PieceBuffer(std::string_view bytes, std::vector<std::size_t> pieces)
      : bytes_(bytes), pieces_(std::move(pieces)) {
    setg(nullptr, nullptr, nullptr);
  }

 protected:
  int_type underflow() override {
    if (next_ >= bytes_.size()) {
      return traits_type::eof();
    }
    const std::size_t piece = std::min(pieces_[turn_++ % pieces_.size()], bytes_.size() - next_);
    char* begin = const_cast<char*>(bytes_.data()) + next_;
    setg(begin, begin, begin + piece);
    next_ += piece;
    return traits_type::to_int_type(*begin);
  }

 private:
  std::string_view bytes_;
  std::vector<std::size_t> pieces_;
  std::size_t next_ = 0;
  std::size_t turn_ = 0;
};

std::vector<std::string> ReadAllLines(std::istream& in) {
  std::vector<std::string> lines;
  std::string line = "stale";
  while (pellum::ReadTextLine(in, line)) {
    lines.push_back(line);
  }
  return lines;
}

bool IsLineEnd(char c) {
  return c == '\r' || c == '\n' || c == '\xFF';
}

void CheckLinesRebuildData(const std::vector<std::string>& lines, std::string_view data) {
  data = data.substr(0, std::min(data.find('\x1A'), data.size()));
  std::size_t at = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (std::any_of(line.begin(), line.end(), IsLineEnd) ||
        line.find('\x1A') != std::string::npos || data.compare(at, line.size(), line) != 0) {
      std::abort();
    }
    at += line.size();
    if (at == data.size()) {
      // Only a last line with something in it comes without a line end.
      if (line.empty() || i + 1 != lines.size()) {
        std::abort();
      }
      return;
    }
    if (data[at] == '\r' && at + 1 < data.size() && data[at + 1] == '\n') {
      at += 2;
    } else if (IsLineEnd(data[at])) {
      at += 1;
    } else {
      std::abort();
    }
  }
  if (at != data.size()) {
    std::abort();
  }
}

bool IsFieldByte(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 0x21 && byte <= 0x7F;
}

void CheckFields(std::string_view line) {
  // What the fields must be: the runs of field bytes, a zero byte separating them.
  const std::string_view text = line;
  std::vector<std::string_view> expected;
  for (std::size_t i = 0; i < text.size();) {
    if (!IsFieldByte(text[i])) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < text.size() && IsFieldByte(text[end])) {
      ++end;
    }
    expected.push_back(text.substr(i, end - i));
    i = end;
  }
  std::string token = "untouched";
  if (pellum::ExtractToken(-1, line, token) != 1 || token != "untouched") {
    std::abort();
  }
  for (std::size_t n = 0; n < expected.size(); ++n) {
    if (pellum::ExtractToken(static_cast<int>(n), line, token) != 1 || token != expected[n]) {
      std::abort();
    }
  }
  token = "untouched";
  if (pellum::ExtractToken(static_cast<int>(expected.size()), line, token) != -1 ||
      token != "untouched") {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string_view data(reinterpret_cast<const char*>(bytes), size);

  std::istringstream whole{std::string(data), std::ios::in | std::ios::binary};
  const std::vector<std::string> lines = ReadAllLines(whole);
  CheckLinesRebuildData(lines, data);

  // Piece sizes from the data itself, so the fuzzer steers where the edges fall.
  std::vector<std::size_t> pieces;
  for (std::size_t i = 0; i < std::min<std::size_t>(size, 8); ++i) {
    pieces.push_back(1 + bytes[i] % 7);
  }
  if (pieces.empty()) {
    pieces.push_back(1);
  }
  PieceBuffer buffer(data, pieces);
  std::istream pieced(&buffer);
  if (ReadAllLines(pieced) != lines) {
    std::abort();
  }

  for (const std::string& line : lines) {
    CheckFields(line);
  }
  return 0;
}
