#include "calib/parse_decimal.h"

#include <charconv>
#include <limits>
#include <string>
#include <system_error>

namespace pellum {
namespace {

bool IsCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsExponentLetter(char c) {
  return c == 'e' || c == 'E' || c == 'd' || c == 'D';
}

// Where the number's parts stand in the text, once the grammar has matched.
struct NumberShape {
  std::size_t signAt = std::string_view::npos;
  std::size_t mantissaBegin = 0;
  std::size_t mantissaEnd = 0;  // past the digits and the point
  std::size_t exponentBegin = 0;
  std::size_t end = 0;  // past the whole number; 0 when there is none
};

NumberShape MatchNumber(std::string_view text) {
  NumberShape shape;
  std::size_t i = 0;
  while (i < text.size() && IsCSpace(text[i]))
    ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-'))
    shape.signAt = i++;
  shape.mantissaBegin = i;
  std::size_t digits = 0;
  while (i < text.size() && IsDigit(text[i]))
    ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    std::size_t j = i + 1;
    while (j < text.size() && IsDigit(text[j]))
      ++j, ++digits;
    i = j;
  }
  if (digits == 0)
    return NumberShape{};  // a sign or a point alone is no number
  shape.mantissaEnd = i;
  shape.exponentBegin = i;
  if (i < text.size() && IsExponentLetter(text[i])) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-'))
      ++j;
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j]))
        ++j;
      i = j;
    }
  }
  shape.end = i;
  return shape;
}

// The power of ten of the mantissa's first non-zero digit plus the exponent: tells an
// overflow from an underflow when the value is out of the double's range.
long long DecimalMagnitude(std::string_view mantissa, std::string_view exponent) {
  long long magnitude = 0;
  bool seenNonZero = false;
  bool afterPoint = false;
  for (char c : mantissa) {
    if (c == '.') {
      afterPoint = true;
    } else if (!seenNonZero && c == '0') {
      if (afterPoint)
        --magnitude;
    } else {
      seenNonZero = true;
      if (!afterPoint)
        ++magnitude;
    }
  }
  long long exponentValue = 0;
  bool negative = false;
  for (char c : exponent) {
    if (c == '-')
      negative = true;
    if (IsDigit(c) && exponentValue < 1'000'000'000)
      exponentValue = exponentValue * 10 + (c - '0');
  }
  return magnitude + (negative ? -exponentValue : exponentValue);
}

}  // namespace

std::size_t ParseDecimalPrefix(std::string_view text, double& value) {
  value = 0.0;
  const NumberShape shape = MatchNumber(text);
  if (shape.end == 0)
    return 0;

  const bool negative = shape.signAt != std::string_view::npos && text[shape.signAt] == '-';
  const std::string_view mantissa =
      text.substr(shape.mantissaBegin, shape.mantissaEnd - shape.mantissaBegin);
  const std::string_view exponent =
      text.substr(shape.exponentBegin, shape.end - shape.exponentBegin);

  // from_chars takes neither a '+' nor the Fortran exponent letters.
  std::string normal;
  normal.reserve(mantissa.size() + exponent.size() + 1);
  normal.append(mantissa);
  if (!exponent.empty()) {
    normal.push_back('e');
    normal.append(exponent.substr(1));
  }
  double magnitude = 0.0;
  const auto [ptr, ec] = std::from_chars(normal.data(), normal.data() + normal.size(), magnitude);
  (void)ptr;
  if (ec == std::errc::result_out_of_range) {
    const bool overflow = DecimalMagnitude(mantissa, exponent) > 0;
    magnitude = overflow ? std::numeric_limits<double>::infinity() : 0.0;
  }
  value = negative ? -magnitude : magnitude;
  return shape.end;
}

double ParseDecimal(std::string_view text) {
  double value = 0.0;
  ParseDecimalPrefix(text, value);
  return value;
}

}  // namespace pellum
