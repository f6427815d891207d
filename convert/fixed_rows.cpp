#include "convert/fixed_rows.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

#include "calib/fixed_notation.h"
#include "convert/unsigned_128.h"

namespace pellum {

namespace {

constexpr std::uint64_t kPowersOfTen[] = {1,      10,      100,      1000,      10000,
                                          100000, 1000000, 10000000, 100000000, 1000000000};

// value * 10^precision rounded to an integer, ties to even as printf rounds, computed
// exactly from the double's own bits: value = mantissa * 2^exponent, so the product with
// 10^precision (at most 53 + 30 bits) is exact in 128 bits, and so is the shift. False
// when the result might not fit in 64 bits.
template <int Precision>
bool ScaleExactly(double value, std::uint64_t& scaled) {
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
  const int biasedExponent = static_cast<int>((bits >> 52) & 0x7FF);
  if (biasedExponent == 0) {
    scaled = 0;  // zero or subnormal: far below the last decimal
    return true;
  }
  const std::uint64_t mantissa = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
  const int exponent = biasedExponent - 1075;
  const Unsigned128 product = MultiplyWide(mantissa, kPowersOfTen[Precision]);
  Unsigned128 result;
  if (exponent >= 0) {
    if (exponent > 10) {
      return false;
    }
    result = ShiftLeft(product, exponent);
  } else {
    const int shift = -exponent;
    if (shift >= 100) {
      result = {};  // product < 2^83, less than half of 2^shift: rounds to zero
    } else {
      result = ShiftRight(product, shift);
      const Unsigned128 remainder = LowBits(product, shift);
      const Unsigned128 half = PowerOfTwo(shift - 1);
      if (remainder > half || (remainder == half && (result.low & 1) != 0)) {
        result = Increment(result);
      }
    }
  }
  if (result.high != 0) {
    return false;
  }
  scaled = result.low;
  return true;
}

// 10^n for n = 0 to 19: an integer below 10^n has at most n digits.
constexpr std::array<std::uint64_t, 20> kDigitLimits = [] {
  std::array<std::uint64_t, 20> limits{};
  std::uint64_t power = 1;
  for (std::uint64_t& limit : limits) {
    limit = power;
    power *= 10;
  }
  return limits;
}();

// "00" to "99": two digits per division.
constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes the last count digits of value, leading zeros included, ending just before end.
char* WriteDigitsBackwards(char* end, std::uint64_t value, std::size_t count) {
  while (count >= 2) {
    const std::size_t pair = static_cast<std::size_t>(value % 100) * 2;
    value /= 100;
    *--end = kDigitPairs[pair + 1];
    *--end = kDigitPairs[pair];
    count -= 2;
  }
  if (count == 1) {
    *--end = static_cast<char>('0' + value % 10);
  }
  return end;
}

// Appends value with Precision decimals; false, with nothing appended, when the value
// needs the general road. The precision is a constant so that the divisions by 10^Precision
// become multiplications.
template <int Precision>
bool AppendScaled(std::string& out, double value, int minWidth) {
  std::uint64_t scaled = 0;
  if (!std::isfinite(value) || !ScaleExactly<Precision>(value, scaled)) {
    return false;
  }
  constexpr std::uint64_t kUnit = kPowersOfTen[Precision];
  const std::uint64_t whole = scaled / kUnit;
  const std::uint64_t fraction = scaled % kUnit;
  const bool negative = std::signbit(value);

  std::size_t wholeDigits = 1;
  while (wholeDigits < kDigitLimits.size() && whole >= kDigitLimits[wholeDigits]) {
    ++wholeDigits;
  }
  const std::size_t length = (negative ? 1 : 0) + wholeDigits + 1 + Precision;
  const std::size_t padding =
      length < static_cast<std::size_t>(minWidth) ? static_cast<std::size_t>(minWidth) - length : 0;
  // Written in place from the back: decimals, point, integer digits, sign, padding.
  const std::size_t start = out.size();
  out.resize(start + padding + length);
  char* next = out.data() + out.size();
  next = WriteDigitsBackwards(next, fraction, Precision);
  *--next = '.';
  next = WriteDigitsBackwards(next, whole, wholeDigits);
  if (negative) {
    *--next = '-';
  }
  std::fill(out.data() + start, next, ' ');
  return true;
}

bool AppendScaled(std::string& out, double value, int precision, int minWidth) {
  switch (precision) {
    case 1:
      return AppendScaled<1>(out, value, minWidth);
    case 2:
      return AppendScaled<2>(out, value, minWidth);
    case 3:
      return AppendScaled<3>(out, value, minWidth);
    case 4:
      return AppendScaled<4>(out, value, minWidth);
    case 5:
      return AppendScaled<5>(out, value, minWidth);
    case 6:
      return AppendScaled<6>(out, value, minWidth);
    case 7:
      return AppendScaled<7>(out, value, minWidth);
    case 8:
      return AppendScaled<8>(out, value, minWidth);
    case 9:
      return AppendScaled<9>(out, value, minWidth);
    default:
      return false;
  }
}

}  // namespace

void AppendFixedRow(std::string& out, double value, int precision, int minWidth) {
  if (!AppendScaled(out, value, precision, minWidth)) {
    AppendFixed(out, value, precision, minWidth);
  }
}

}  // namespace pellum
