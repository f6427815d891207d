#pragma once

#include <ostream>
#include <set>
#include <string>
#include <string_view>

namespace pellum {

// How Pellum writes values into a CIF so that CIF 1.1 and CIF 2.0 readers both read them,
// from plain ASCII only, whatever bytes a path or a title holds.

// A number as the shortest text that reads back to the same double; "?" (unknown) for a
// value that is not finite, which CIF has no number for.
//
//   CifNumber(28.442) -> "28.442"   CifNumber(-4.67e-07) -> "-4.67e-07"   CifNumber(NAN) -> "?"
std::string CifNumber(double value);

// Text as it goes into a CIF: each byte that is not printable ASCII (a control byte other
// than the tab, 0x7F, every byte from 0x80 up, the bytes of a UTF-8 name among them) becomes
// %HH, the byte in two upper-case hex digits, as in a URI; so does a '%' that stands before
// two hex digits or at the end. Every other '%' stays, so decoding as a URI is decoded
// (each %HH the byte HH, any other '%' itself) gives the bytes back exactly.
//
//   EncodeCifText("/data/film.txt")      -> "/data/film.txt"
//   EncodeCifText("/home/J\xC3\xBCrgen") -> "/home/J%C3%BCrgen"
//   EncodeCifText("I%  100%\n")          -> "I%  100%%0A"
//   EncodeCifText("%41 100%")            -> "%2541 100%25"
std::string EncodeCifText(std::string_view text);

// Longest line Pellum writes: CIF 1.1 allows 2048 characters.
inline constexpr std::size_t kCifLineLimit = 2048;

// Writes one value after its data name (the caller has written the name and what stands
// between): bare when it is a plain word, else in single quotes, else in double quotes, else
// as a text field. A value is encoded (EncodeCifText) first; line ends in it are kept as line
// ends only in a text field written with CifTextField.
//
//   WriteCifValue(out, "Si")                 writes Si
//   WriteCifValue(out, "Pellum 1.4")         writes 'Pellum 1.4'
//   WriteCifValue(out, "it's")               writes "it's"
//   WriteCifValue(out, "")                   writes ''
//   WriteCifValue(out, "'a' \"b\"")          writes a text field (both quotes inside)
void WriteCifValue(std::ostream& out, std::string_view text);

// A text field (between lines that start with ';'), written line by line, so that a long
// header is streamed, not held. Each line is encoded; a line that would start with ';' has
// it written %3B, and a line longer than kCifLineLimit is broken with a '%' at the end of
// each piece (a soft break, removed before decoding). The field's first line is left
// empty, so no CIF 2 text protocol is signalled whatever the text starts with.
//
//   CifTextField field(out);   // writes "\n;\n"
//   field.Line(";a");          // writes "%3Ba\n"
//   field.End();               // writes ";\n"
class CifTextField {
 public:
  explicit CifTextField(std::ostream& out);
  void Line(std::string_view text);
  void End();

 private:
  void WriteEncoded(const std::string& encoded);
  std::ostream& out_;
};

// A data block's name made from a file name: its letters, digits, '-', '_' and '.' kept,
// every other byte '_', at most 40 of them, made unique among taken (compared without
// letter case, as CIF compares block names) with "_2", "_3", ...; the result is added to
// taken.
//
//   CifBlockCode("film.pid", taken)          -> "film.pid"
//   CifBlockCode("film.pid", taken) again    -> "film.pid_2"
//   CifBlockCode("J\xC3\xBCrgen scan.txt", taken) -> "J__rgen_scan.txt"
std::string CifBlockCode(std::string_view fileName, std::set<std::string>& taken);

}  // namespace pellum
