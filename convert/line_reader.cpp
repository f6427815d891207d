#include "convert/line_reader.h"

#include <streambuf>

namespace pellum {

namespace {

using Traits = std::char_traits<char>;

constexpr Traits::int_type kLineFeed = 0x0A;
constexpr Traits::int_type kCarriageReturn = 0x0D;
// Old DOS editors closed their text with Ctrl-Z; whatever follows it is not data.
constexpr Traits::int_type kEndOfData = 0x1A;
// Some film scanners pad their records with 0xFF; it ends a line like a line end does.
constexpr Traits::int_type kRecordEnd = 0xFF;

}  // namespace

bool ReadTextLine(std::istream& in, std::string& line) {
  line.clear();
  std::streambuf* buffer = in.rdbuf();
  if (buffer == nullptr) {
    return false;
  }
  // snextc moves on and peeks at the following byte, so a 0x1A is seen but never taken:
  // every later call stops at it again, as every later call stops at the file's end.
  Traits::int_type c = buffer->sgetc();
  for (;;) {
    if (Traits::eq_int_type(c, Traits::eof()) || c == kEndOfData) {
      in.setstate(std::ios_base::eofbit);
      return !line.empty();
    }
    if (c == kLineFeed || c == kRecordEnd) {
      buffer->sbumpc();
      return true;
    }
    if (c == kCarriageReturn) {
      if (buffer->snextc() == kLineFeed) {
        buffer->sbumpc();
      }
      return true;
    }
    line.push_back(Traits::to_char_type(c));
    c = buffer->snextc();
  }
}

}  // namespace pellum
