#include "convert/line_reader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <ios>
#include <streambuf>

namespace pellum {

namespace {

using Traits = std::char_traits<char>;

constexpr unsigned char kLineFeed = 0x0A;
constexpr unsigned char kCarriageReturn = 0x0D;
// Old DOS editors closed their text with Ctrl-Z; whatever follows it is not data.
constexpr unsigned char kEndOfData = 0x1A;
// 0xFF ends a line like a line end: these files have always been read through a signed
// char compared with the end-of-file marker, which 0xFF equals, and stored files rely on it.
constexpr unsigned char kRecordEnd = 0xFF;

constexpr std::array<bool, 256> MakeLineBreakTable() {
  std::array<bool, 256> table{};
  table[kLineFeed] = table[kCarriageReturn] = table[kEndOfData] = table[kRecordEnd] = true;
  return table;
}

// The bytes that end a line or the data; every other byte belongs to the line.
constexpr std::array<bool, 256> kBreaks = MakeLineBreakTable();

bool IsBreak(char c) {
  return kBreaks[static_cast<unsigned char>(c)];
}

// Words of eight bytes are tested at once: a word with no byte below 0x1B and no byte
// 0xFF holds no break, which is nearly every word of a data file (only a tab, 0x09, makes
// a word be looked at byte by byte without holding a break).
const char* SkipLineBytes(const char* next, const char* end) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
  constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
  while (end - next >= 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, next, 8);
    const std::uint64_t below = (word - kOnes * kEndOfData - kOnes) & ~word & kHighBits;
    const std::uint64_t inverted = ~word;
    const std::uint64_t allOnes = (inverted - kOnes) & ~inverted & kHighBits;
    if ((below | allOnes) != 0) {
      for (int i = 0; i < 8; ++i) {
        if (IsBreak(next[i])) {
          return next + i;
        }
      }
    }
    next += 8;
  }
  while (next != end && !IsBreak(*next)) {
    ++next;
  }
  return next;
}

// Reads the stream buffer's get area in place, so that a line is found with one pass
// over bytes already in memory and copied in one piece, rather than taken byte by byte
// through virtual-free but checked calls. The members are protected; naming them through
// a derived class gives pointers to members of std::streambuf itself, valid on any buffer.
struct GetArea : std::streambuf {
  static char* Next(std::streambuf& b) { return (b.*&GetArea::gptr)(); }
  static char* End(std::streambuf& b) { return (b.*&GetArea::egptr)(); }
  static void Advance(std::streambuf& b, std::ptrdiff_t n) {
    (b.*&GetArea::gbump)(static_cast<int>(n));
  }
};

// The line ends at byte c, which is still in the stream: takes the line end (a CR LF pair
// as one) and tells whether a line is there; sawBytes tells whether any byte came before
// c, kept or passed over. A 0x1A stays in the stream, so that every later call stops at it
// again, as every later call stops at the end of the file.
bool EndLine(std::istream& in, std::streambuf& buffer, unsigned char c, bool sawBytes) {
  if (c == kEndOfData) {
    in.setstate(std::ios_base::eofbit);
    return sawBytes;
  }
  buffer.sbumpc();
  if (c == kCarriageReturn && buffer.sgetc() == kLineFeed) {
    buffer.sbumpc();
  }
  return true;
}

// One line of buffer's bytes into line, of which at most maxKept are kept; false at the
// end of the data with no line left.
bool ReadLineFrom(std::istream& in, std::streambuf* buffer, std::string& line,
                  std::size_t maxKept) {
  bool sawBytes = false;
  for (;;) {
    const Traits::int_type peeked = buffer->sgetc();
    if (Traits::eq_int_type(peeked, Traits::eof())) {
      in.setstate(std::ios_base::eofbit);
      return sawBytes;
    }
    const char* next = GetArea::Next(*buffer);
    const char* end = GetArea::End(*buffer);
    if (next == end) {
      // A buffer without a get area hands out one byte at a time.
      const char c = Traits::to_char_type(peeked);
      if (IsBreak(c)) {
        return EndLine(in, *buffer, static_cast<unsigned char>(c), sawBytes);
      }
      sawBytes = true;
      if (line.size() < maxKept) {
        line.push_back(c);
      }
      buffer->sbumpc();
      continue;
    }
    const char* stop = SkipLineBytes(next, end);
    const std::size_t length = static_cast<std::size_t>(stop - next);
    sawBytes = sawBytes || length != 0;
    line.append(next, std::min(length, maxKept - line.size()));
    GetArea::Advance(*buffer, stop - next);
    if (stop != end) {
      return EndLine(in, *buffer, static_cast<unsigned char>(*stop), sawBytes);
    }
  }
}

bool ReadLine(std::istream& in, std::string& line, std::size_t maxKept) {
  line.clear();
  std::streambuf* buffer = in.rdbuf();
  if (buffer == nullptr) {
    return false;
  }
  try {
    return ReadLineFrom(in, buffer, line, maxKept);
  } catch (const std::ios_base::failure&) {
    // A file buffer reports a failed read (an I/O error, a vanished network file) by
    // throwing from its refill. The data read so far is not the whole file: the line is
    // dropped and the stream marked bad, so that the caller can tell this from the end.
    line.clear();
    in.setstate(std::ios_base::badbit);
    return false;
  }
}

}  // namespace

bool ReadTextLine(std::istream& in, std::string& line) {
  return ReadLine(in, line, line.max_size());
}

bool ReadTextLine(std::istream& in, std::string& line, std::size_t maxKept) {
  return ReadLine(in, line, maxKept);
}

}  // namespace pellum
