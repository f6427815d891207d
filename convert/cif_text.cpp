#include "convert/cif_text.h"

#include <algorithm>
#include <cmath>

#include "calib/shortest_text.h"

namespace pellum {
namespace {

// A value longer than this goes into a text field, so that its line stays within the limit
// with the data name before it.
constexpr std::size_t kLongestQuotedValue = 1024;
constexpr std::size_t kLongestBlockCode = 40;

bool IsPrintable(unsigned char c) {
  return c >= 0x20 && c < 0x7F;
}

// ASCII only, whatever the locale says of the bytes from 0x80 up.
bool IsAsciiAlnum(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// A '%' that no decoder could take for an escape or a soft break stays as it is, so that
// "I%" in a column heading reads as written: only one before two hex digits, or at the end,
// is written %25.
bool IsLiteralPercent(std::string_view text, std::size_t i) {
  if (i + 1 == text.size())
    return false;
  return !(i + 2 < text.size() && IsHexDigit(text[i + 1]) && IsHexDigit(text[i + 2]));
}

void AppendEscape(std::string& out, unsigned char c) {
  constexpr std::string_view kHex = "0123456789ABCDEF";
  out.push_back('%');
  out.push_back(kHex[c >> 4]);
  out.push_back(kHex[c & 0x0F]);
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : static_cast<char>(c);
  });
  return lower;
}

// A word that both CIF versions read as a bare value of its own: no blank, quote, bracket
// or brace, not starting as a data name, comment or reference does, and not one of the
// reserved words ("data_...", "loop_", ...).
bool IsPlainWord(std::string_view text) {
  if (text.empty() || !IsAsciiAlnum(static_cast<unsigned char>(text.front())))
    return false;
  for (unsigned char c : text) {
    if (!IsAsciiAlnum(c) &&
        std::string_view("._-+/:").find(static_cast<char>(c)) == std::string_view::npos)
      return false;
  }
  const std::string lower = Lower(text);
  for (std::string_view reserved : {"data_", "save_", "loop_", "global_", "stop_"})
    if (lower.starts_with(reserved))
      return false;
  return true;
}

}  // namespace

std::string CifNumber(double value) {
  return std::isfinite(value) ? ShortestText(value) : "?";
}

std::string EncodeCifText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if ((IsPrintable(c) && (c != '%' || IsLiteralPercent(text, i))) || c == '\t')
      out.push_back(static_cast<char>(c));
    else
      AppendEscape(out, c);
  }
  return out;
}

void WriteCifValue(std::ostream& out, std::string_view text) {
  const std::string encoded = EncodeCifText(text);
  if (encoded.size() <= kLongestQuotedValue) {
    // CIF 2 ends a quoted value at its quote character wherever it stands, so only a value
    // without that character is quoted with it.
    if (IsPlainWord(encoded)) {
      out << encoded;
      return;
    }
    for (char quote : {'\'', '"'}) {
      if (encoded.find(quote) == std::string::npos) {
        out << quote << encoded << quote;
        return;
      }
    }
  }
  CifTextField field(out);
  field.Line(text);
  field.End();
}

CifTextField::CifTextField(std::ostream& out) : out_(out) {
  out_ << "\n;\n";
}

void CifTextField::Line(std::string_view text) {
  WriteEncoded(EncodeCifText(text));
}

void CifTextField::WriteEncoded(const std::string& encoded) {
  // Each piece leaves room for the soft break's '%'; an escape is never cut in two.
  constexpr std::size_t kPiece = kCifLineLimit - 8;
  std::size_t start = 0;
  do {
    std::size_t end = std::min(encoded.size(), start + kPiece);
    if (end < encoded.size()) {
      for (std::size_t back = 1; back <= 2; ++back)
        if (encoded[end - back] == '%')
          end -= back;
    }
    // A line that starts with ';' would end the field: the first byte is escaped.
    if (encoded[start] == ';' && end > start) {
      out_ << "%3B";
      out_.write(encoded.data() + start + 1, static_cast<std::streamsize>(end - start - 1));
    } else {
      out_.write(encoded.data() + start, static_cast<std::streamsize>(end - start));
    }
    out_ << (end < encoded.size() ? "%\n" : "\n");
    start = end;
  } while (start < encoded.size());
}

void CifTextField::End() {
  out_ << ";\n";
}

std::string CifBlockCode(std::string_view fileName, std::set<std::string>& taken) {
  std::string base;
  for (unsigned char c : fileName.substr(0, kLongestBlockCode))
    base.push_back(IsAsciiAlnum(c) || c == '-' || c == '_' || c == '.' ? static_cast<char>(c)
                                                                       : '_');
  if (base.empty())
    base = "block";
  std::string code = base;
  for (int n = 2; !taken.insert(Lower(code)).second; ++n)
    code = base + "_" + std::to_string(n);
  return code;
}

}  // namespace pellum
