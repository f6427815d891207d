#pragma once

#include <cstddef>
#include <istream>
#include <string>

namespace pellum {

// Reads the next line of in (opened in binary mode) into line; false when there is none.
//
// The bytes are taken as they stand in the file, whatever platform wrote it:
//   "A\r\nB\r\n"   -> "A", "B", then false      (CR LF is one line end)
//   "A\rB\n"       -> "A", "B", then false      (a lone CR or a lone LF ends a line)
//   "A\r\r\nB\n"   -> "A", "", "B", then false  (two line ends in a row: an empty line)
//   "A\xFFB\n"     -> "A", "B", then false      (0xFF ends a line, not the file)
//   "A\n\x1A" "B\n"-> "A", then false           (0x1A, Ctrl-Z, ends the data like the file's end)
//   "A\nB"         -> "A", "B", then false      (a last line without a line end still counts)
//   "\n"           -> "", then false;   ""  -> false at once
// A line is returned whole, however long. The reader takes bytes straight from the
// stream's buffer and keeps nothing between calls; line's capacity is reused. A read
// failure also ends the reading, with nothing of the line it broke off, but marks the
// stream bad (in.bad()): a file that could not be read whole is not taken for converted.
bool ReadTextLine(std::istream& in, std::string& line);

// The most the converters keep of one line. Their rows are a few numbers of a few dozen
// bytes each, so 64 KiB is far beyond any real row, while a file without a line end (a
// sparse file, a file of zero bytes) costs no more than this.
inline constexpr std::size_t kKeptLineBytes = std::size_t{64} << 10;

// As above, but keeps only the first maxKept bytes of a longer line; the rest is passed
// over without being stored, up to the line end, which is found as ever:
//   "xxxxx\nB\n" with maxKept 3 -> "xxx", "B", then false
// A field that runs past the kept bytes is cut there, and the fields after it are not
// seen: the line reads as its first maxKept bytes stand.
bool ReadTextLine(std::istream& in, std::string& line, std::size_t maxKept);

}  // namespace pellum
