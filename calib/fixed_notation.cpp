#include "calib/fixed_notation.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace pellum {
namespace {

// The longest fixed text of a double: 309 integer digits, a sign, a point and the decimals.
constexpr std::size_t kLongestIntegerPart = 311;

}  // namespace

void AppendFixed(std::string& out, double value, int precision, int minWidth) {
  const std::size_t start = out.size();
  const std::size_t room = kLongestIntegerPart + static_cast<std::size_t>(std::max(precision, 0));
  out.resize(start + room);
  char* first = out.data() + start;
  std::to_chars_result result{};
  if (std::isnan(value)) {
    // printf shows the sign of a not-a-number; to_chars agrees, but say it once here.
    const char* text = std::signbit(value) ? "-nan" : "nan";
    const std::size_t length = std::strlen(text);
    std::memcpy(first, text, length);
    result.ptr = first + length;
  } else {
    result = std::to_chars(first, out.data() + out.size(), value, std::chars_format::fixed,
                           std::max(precision, 0));
  }
  const std::size_t length = static_cast<std::size_t>(result.ptr - first);
  out.resize(start + length);
  if (minWidth > 0 && length < static_cast<std::size_t>(minWidth)) {
    out.insert(start, static_cast<std::size_t>(minWidth) - length, ' ');
  }
}

}  // namespace pellum
