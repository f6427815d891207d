#include "convert/field_number.h"

#include <cstdint>

#include "calib/parse_decimal.h"

namespace pellum {

namespace {

// The powers of ten that doubles hold exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kMaxDecimals = 22;
constexpr int kMaxDigits = 19;  // 10^19 - 1 still fits in 64 bits
constexpr std::uint64_t kLargestExactInteger = std::uint64_t{1} << 53;

}  // namespace

double ParseFieldNumber(std::string_view field) {
  std::size_t i = 0;
  const bool negative = !field.empty() && field[0] == '-';
  if (negative) {
    ++i;
  }
  std::uint64_t digits = 0;
  int digitCount = 0;
  int decimals = 0;
  bool point = false;
  for (; i < field.size(); ++i) {
    const char c = field[i];
    if (c >= '0' && c <= '9') {
      if (++digitCount > kMaxDigits) {
        return ParseDecimal(field);
      }
      digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
      decimals += point ? 1 : 0;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return ParseDecimal(field);
    }
  }
  if (digitCount == 0 || decimals > kMaxDecimals || digits > kLargestExactInteger) {
    return ParseDecimal(field);
  }
  const double value = static_cast<double>(digits) / kExactPowersOfTen[decimals];
  return negative ? -value : value;
}

}  // namespace pellum
