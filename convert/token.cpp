#include "convert/token.h"

#include <array>

namespace pellum {

namespace {

// Fields are runs of printable ASCII (and DEL): 0x21 to 0x7F, i.e. the bytes that are
// greater than a blank when taken as signed 8-bit numbers.
constexpr bool IsFieldByte(char c) {
  return static_cast<signed char>(c) > 0x20;
}

enum class ByteKind : unsigned char { End, Separator, Field };

// A zero byte is End, the mark of the text's end in SplitLineTokens, which looks whether
// it is the terminating one; everywhere else it separates fields.
constexpr std::array<ByteKind, 256> MakeByteKinds() {
  std::array<ByteKind, 256> kinds{};
  for (int byte = 1; byte < 256; ++byte) {
    kinds[byte] = IsFieldByte(static_cast<char>(byte)) ? ByteKind::Field : ByteKind::Separator;
  }
  return kinds;
}

constexpr std::array<ByteKind, 256> kByteKinds = MakeByteKinds();

// Finds field number n in text. Returns false when there is none; otherwise begin and end
// delimit it.
bool FindField(int n, std::string_view text, std::size_t& begin, std::size_t& end) {
  const std::size_t size = text.size();
  std::size_t i = 0;
  int count = 0;
  for (;;) {
    while (i < size && !IsFieldByte(text[i])) {
      ++i;
    }
    if (i == size) {
      return false;
    }
    const std::size_t start = i;
    while (i < size && IsFieldByte(text[i])) {
      ++i;
    }
    if (count == n) {
      begin = start;
      end = i;
      return true;
    }
    ++count;
  }
}

}  // namespace

int ExtractToken(int n, std::string_view text, std::string& token) {
  if (n < 0) {
    return 1;
  }
  std::size_t begin = 0;
  std::size_t end = 0;
  if (!FindField(n, text, begin, end)) {
    return -1;
  }
  token.assign(text.data() + begin, end - begin);
  return 1;
}

std::size_t SplitTokens(std::string_view text, std::span<std::string_view> fields) {
  const std::size_t size = text.size();
  std::size_t i = 0;
  std::size_t count = 0;
  while (count < fields.size()) {
    while (i < size && !IsFieldByte(text[i])) {
      ++i;
    }
    if (i == size) {
      break;
    }
    const std::size_t start = i;
    while (i < size && IsFieldByte(text[i])) {
      ++i;
    }
    fields[count++] = text.substr(start, i - start);
  }
  return count;
}

std::size_t SplitLineTokens(const std::string& line, std::span<std::string_view> fields) {
  // The zero byte that ends every std::string's text stops the walk, so each byte needs
  // one look-up and no bounds check. A zero byte within the line separates fields like any
  // other control byte: only at a stop is it told apart from the terminating one.
  const char* next = line.c_str();
  const char* const end = next + line.size();
  std::size_t count = 0;
  while (count < fields.size()) {
    while (kByteKinds[static_cast<unsigned char>(*next)] == ByteKind::Separator) {
      ++next;
    }
    if (*next == '\0') {
      if (next == end) {
        break;
      }
      ++next;
      continue;
    }
    const char* start = next;
    while (kByteKinds[static_cast<unsigned char>(*next)] == ByteKind::Field) {
      ++next;
    }
    fields[count++] = std::string_view(start, static_cast<std::size_t>(next - start));
  }
  return count;
}

}  // namespace pellum
