#include "tests/chart/exact_decimal_reference.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace pellum::reference {
namespace {

// Non-negative integer in base 10^9, least significant limb first.
class BigDecimalInteger {
 public:
  explicit BigDecimalInteger(std::uint64_t value) {
    do {
      limbs_.push_back(static_cast<std::uint32_t>(value % kBase));
      value /= kBase;
    } while (value != 0);
  }

  void MultiplyBy(std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (std::uint32_t& limb : limbs_) {
      const std::uint64_t product = std::uint64_t{limb} * factor + carry;
      limb = static_cast<std::uint32_t>(product % kBase);
      carry = product / kBase;
    }
    while (carry != 0) {
      limbs_.push_back(static_cast<std::uint32_t>(carry % kBase));
      carry /= kBase;
    }
  }

  void MultiplyByPower(std::uint32_t base, int exponent, std::uint32_t chunk, int chunkExponent) {
    for (; exponent >= chunkExponent; exponent -= chunkExponent) {
      MultiplyBy(chunk);
    }
    for (; exponent > 0; --exponent) {
      MultiplyBy(base);
    }
  }

  std::string ToString() const {
    std::string text = std::to_string(limbs_.back());
    for (auto it = limbs_.rbegin() + 1; it != limbs_.rend(); ++it) {
      const std::string limb = std::to_string(*it);
      text.append(9 - limb.size(), '0');
      text += limb;
    }
    return text;
  }

 private:
  static constexpr std::uint64_t kBase = 1000000000;
  std::vector<std::uint32_t> limbs_;
};

// Concatenation by appending: the compiler's overlap check misfires on chains of +.
template <typename... Parts>
std::string Join(const Parts&... parts) {
  std::string out;
  (out.append(std::string_view(parts)), ...);
  return out;
}

std::string StripLeadingZeros(std::string_view text) {
  const std::size_t first = text.find_first_not_of('0');
  return std::string(first == std::string_view::npos ? std::string_view("0") : text.substr(first));
}

bool IsFinite(double value) {
  return std::isfinite(value);
}

std::string NonFiniteDigits(double value) {
  return std::isnan(value) ? "nan" : "inf";
}
int NonFiniteSign(double value) {
  return std::isinf(value) && value < 0 ? 1 : 0;
}

std::string TraceLineOf(double value, const Digits& first) {
  return "source: " + TraceSource(value) + "   buffer: '" + first.digits +
         "'   decimal: " + std::to_string(first.decimalPosition) +
         "   sign: " + std::to_string(first.sign) + "\n";
}

int SecondDecimals(int width, const Digits& first) {
  const long long decimals = static_cast<long long>(width) - 1 - first.sign - first.decimalPosition;
  return static_cast<int>(std::clamp<long long>(decimals, INT32_MIN, INT32_MAX));
}

ExactDecimal ExpandExactly(std::uint64_t bits) {
  const int biased = static_cast<int>((bits >> 52) & 0x7ff);
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
  int exponent = -1074;  // value = mantissa * 2^exponent
  if (biased != 0) {
    mantissa |= std::uint64_t{1} << 52;
    exponent = biased - 1075;
  }
  ExactDecimal exact;
  exact.negative = (bits >> 63) != 0;
  BigDecimalInteger number(mantissa);
  if (exponent >= 0) {
    number.MultiplyByPower(2, exponent, 1u << 29, 29);
  } else {
    // m / 2^k = m * 5^k / 10^k
    number.MultiplyByPower(5, -exponent, 1220703125u, 13);
    exact.fractionDigits = -exponent;
  }
  exact.digits = StripLeadingZeros(number.ToString());
  return exact;
}

}  // namespace

ExactDecimal ExactDecimalOf(double value) {
  // Each text converts its value several times: the last expansion is kept.
  thread_local std::uint64_t lastBits = 0;
  thread_local ExactDecimal last = ExpandExactly(0);
  const auto bits = std::bit_cast<std::uint64_t>(value);
  if (bits != lastBits) {
    last = ExpandExactly(bits);
    lastBits = bits;
  }
  return last;
}

std::string RoundHalfUp(const std::string& integer, long long fractionDigits, long long keep) {
  if (keep >= fractionDigits) {
    return StripLeadingZeros(integer +
                             std::string(static_cast<std::size_t>(keep - fractionDigits), '0'));
  }
  const long long drop = fractionDigits - keep;
  if (drop > static_cast<long long>(integer.size())) {
    return "0";  // below a tenth of the last place kept
  }
  // Add 5 in the highest dropped place, then drop.
  std::string sum = Join("0", integer);
  long long place = static_cast<long long>(sum.size()) - drop;
  int carry = 5;
  for (; carry != 0 && place >= 0; --place) {
    const int digit = sum[static_cast<std::size_t>(place)] - '0' + carry;
    sum[static_cast<std::size_t>(place)] = static_cast<char>('0' + digit % 10);
    carry = digit / 10;
  }
  return StripLeadingZeros(
      std::string_view(sum).substr(0, sum.size() - static_cast<std::size_t>(drop)));
}

Digits FixedDigits(double value, int decimals) {
  if (!IsFinite(value)) {
    return Digits{NonFiniteDigits(value), 0, NonFiniteSign(value)};
  }
  const ExactDecimal exact = ExactDecimalOf(value);
  if (exact.digits == "0") {
    const long long count = std::min<long long>(decimals, 347);
    return Digits{std::string(static_cast<std::size_t>(std::max(count, 0LL)), '0'), 0, 0};
  }
  const long long exactPosition =
      static_cast<long long>(exact.digits.size()) - exact.fractionDigits;
  const long long keep17 = 17 - exactPosition;
  const std::string seventeen = RoundHalfUp(exact.digits, exact.fractionDigits, keep17);
  const long long position = static_cast<long long>(seventeen.size()) - keep17;
  const long long cut = std::min<long long>(decimals, 347 - position);
  std::string digits = RoundHalfUp(seventeen, keep17, cut);
  if (digits == "0") {
    digits.clear();
  }
  const long long finalPosition =
      digits.empty() ? position : static_cast<long long>(digits.size()) - cut;
  return Digits{digits, static_cast<int>(finalPosition), exact.negative ? 1 : 0};
}

std::string TraceSource(double value) {
  if (!IsFinite(value)) {
    return Join(NonFiniteSign(value) == 1 ? "-" : "", NonFiniteDigits(value));
  }
  const ExactDecimal exact = ExactDecimalOf(value);
  if (exact.digits == "0") {
    return "0.0000000000";
  }
  const long long keep17 =
      17 - (static_cast<long long>(exact.digits.size()) - exact.fractionDigits);
  std::string scaled =
      RoundHalfUp(RoundHalfUp(exact.digits, exact.fractionDigits, keep17), keep17, 10);
  if (scaled.size() < 11) {
    scaled.insert(0, 11 - scaled.size(), '0');
  }
  const std::string text =
      Join(scaled.substr(0, scaled.size() - 10), ".", scaled.substr(scaled.size() - 10));
  return Join(exact.negative ? "-" : "", text);
}

std::string FixedText(double value, int width, std::string* traceLine) {
  const Digits first = FixedDigits(value, 15);
  *traceLine = TraceLineOf(value, first);
  if (!IsFinite(value)) {
    return Join(first.sign == 1 ? "-" : "", first.digits);
  }
  const Digits d = FixedDigits(value, SecondDecimals(width, first));
  std::string text = d.sign == 1 ? "-" : "";
  if (d.decimalPosition <= 0) {
    return Join(text, "0.", std::string(static_cast<std::size_t>(-d.decimalPosition), '0'),
                d.digits);
  }
  // Integer digits beyond the budget were rounded off: zeros stand for them.
  std::string padded = d.digits;
  if (padded.size() < static_cast<std::size_t>(d.decimalPosition)) {
    padded.append(static_cast<std::size_t>(d.decimalPosition) - padded.size(), '0');
  }
  const auto point = static_cast<std::size_t>(d.decimalPosition);
  return Join(text, std::string_view(padded).substr(0, point), ".",
              std::string_view(padded).substr(point));
}

std::string ScientificText(double value, int width, std::string* traceLine) {
  const Digits first = FixedDigits(value, 20);
  *traceLine = TraceLineOf(value, first);
  if (!IsFinite(value)) {
    return Join(first.sign == 1 ? "-" : " ", first.digits);
  }
  const Digits d = FixedDigits(value, SecondDecimals(width, first));
  const std::string mantissa = d.digits.empty() ? "0" : d.digits;
  return Join(d.sign == 1 ? "-" : " ", mantissa.substr(0, 1), ".", mantissa.substr(1), "E",
              std::to_string(static_cast<long long>(d.decimalPosition) - 1));
}

}  // namespace pellum::reference
