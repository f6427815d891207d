#include "chart/fixed_decimal_digits.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

namespace pellum {
namespace {

constexpr int kSignificant = 17;
constexpr std::int64_t kMaxDigits = 347;
// A double's exact decimal expansion never has more than 767 significant digits (the
// smallest-exponent subnormals), so this many after the leading one loses nothing.
constexpr int kExactPrecision = 767;
constexpr int kQuickPrecision = 24;

// Adds one to the last digit of `digits`, carrying through nines. Returns true when the
// carry runs out of the first digit (the caller puts a "1" in front).
bool IncrementDigits(std::string& digits) {
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    if (*it != '9') {
      ++*it;
      return false;
    }
    *it = '0';
  }
  return true;
}

// The decimal expansion of a positive finite double rounded to precision + 1 digits, as
// "d.ddd...e<exp>": its digits (without the point) and the exponent of the first one.
void ExactDigitsAtPrecision(double magnitude, int precision, std::string& digits, int& exponent) {
  std::string text(static_cast<std::size_t>(precision) + 16, '\0');
  const auto result = std::to_chars(text.data(), text.data() + text.size(), magnitude,
                                    std::chars_format::scientific, precision);
  text.resize(static_cast<std::size_t>(result.ptr - text.data()));
  const std::size_t e = text.find('e');
  digits.clear();
  digits.reserve(e);
  for (std::size_t i = 0; i < e; ++i) {
    if (text[i] != '.') {
      digits.push_back(text[i]);
    }
  }
  exponent = 0;
  const char* first = text.data() + e + 1;
  if (*first == '+') {
    ++first;
  }
  std::from_chars(first, text.data() + text.size(), exponent);
}

// The first digits of a positive finite double's exact decimal expansion, at least 18 of
// them, and the exponent of the first one. Writing 25 correctly rounded digits is enough
// unless digits 19 to 25 come out all zero, which a carry from the rounding may have
// made; then the whole exact expansion is written.
void ExactDigits(double magnitude, std::string& digits, int& exponent) {
  ExactDigitsAtPrecision(magnitude, kQuickPrecision, digits, exponent);
  if (digits.find_first_not_of('0', kSignificant + 1) == std::string::npos) {
    ExactDigitsAtPrecision(magnitude, kExactPrecision, digits, exponent);
  }
}

}  // namespace

SignificantDigits SeventeenDigitForm(double value) {
  if (std::isnan(value)) {
    return SignificantDigits{std::string("nan"), 0, 0, false};
  }
  if (std::isinf(value)) {
    return SignificantDigits{std::string("inf"), 0, value < 0 ? 1 : 0, false};
  }
  if (value == 0.0) {
    // Minus zero too: it is written as zero, unsigned.
    return SignificantDigits{std::string(1, '0'), 0, 0, true};
  }
  std::string exact;
  int exponent = 0;
  ExactDigits(std::fabs(value), exact, exponent);
  int position = exponent + 1;
  // Only the 18th digit decides, whatever follows it.
  const bool roundUp = exact.size() > kSignificant && exact[kSignificant] >= '5';
  exact.resize(std::min<std::size_t>(exact.size(), kSignificant));
  if (roundUp && IncrementDigits(exact)) {
    // 99...9 went up to 100...0, whose trailing zeros go below anyway.
    exact[0] = '1';
    ++position;
  }
  const std::size_t last = exact.find_last_not_of('0');
  exact.resize(last == std::string::npos ? 1 : last + 1);
  return SignificantDigits{std::move(exact), position, value < 0 ? 1 : 0, true};
}

DecimalDigits CutAtDecimals(const SignificantDigits& form, int decimals) {
  DecimalDigits result;
  result.decimalPosition = form.decimalPosition;
  result.sign = form.sign;
  if (!form.finite) {
    result.digits = form.digits;
    return result;
  }
  // 64 bits: the position and any int count of decimals add up without overflow.
  const std::int64_t count =
      std::min<std::int64_t>(std::int64_t{form.decimalPosition} + decimals, kMaxDigits);
  if (count < 0) {
    return result;  // the value lies wholly below the cut and no digit decides
  }
  const auto n = static_cast<std::size_t>(count);
  result.digits = form.digits.substr(0, n);
  result.digits.resize(n, '0');
  const bool roundUp = n < form.digits.size() && form.digits[n] >= '5';
  if (roundUp && IncrementDigits(result.digits)) {
    result.digits = '1' + result.digits;
    ++result.decimalPosition;
  }
  return result;
}

DecimalDigits FixedDecimalDigits(double value, int decimals) {
  return CutAtDecimals(SeventeenDigitForm(value), decimals);
}

}  // namespace pellum
