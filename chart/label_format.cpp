#include "chart/label_format.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace pellum {
namespace {

constexpr int kFixedFirstDecimals = 15;
constexpr int kScientificFirstDecimals = 20;
constexpr int kTraceDecimals = 10;

// Decimals that leave `width` digits of budget for a value at `position`; clamped so that
// absurd widths stay well defined.
int BudgetDecimals(int width, const DecimalDigits& first) {
  const std::int64_t decimals = std::int64_t{width} - 1 - first.sign - first.decimalPosition;
  return static_cast<int>(std::clamp<std::int64_t>(decimals, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

std::string NonFiniteText(const DecimalDigits& digits, const char* positiveSign) {
  return (digits.sign == 1 ? "-" : positiveSign) + digits.digits;
}

// Positional text of digits with a point after decimalPosition of them. When the digits
// end before the point (a value with more integer digits than its budget) zeros stand in
// for the rounded-off ones.
std::string PositionalText(const DecimalDigits& d) {
  std::string text = d.sign == 1 ? "-" : "";
  if (d.decimalPosition > 0) {
    const auto integerDigits = static_cast<std::size_t>(d.decimalPosition);
    std::string integerPart = d.digits.substr(0, integerDigits);
    integerPart.resize(integerDigits, '0');
    text += integerPart;
    text += '.';
    if (d.digits.size() > integerDigits) {
      text.append(d.digits, integerDigits);
    }
  } else {
    text += "0.";
    text.append(static_cast<std::size_t>(-std::int64_t{d.decimalPosition}), '0');
    text += d.digits;
  }
  return text;
}

}  // namespace

std::string FormatTraceSource(double value) {
  const DecimalDigits d = FixedDecimalDigits(value, kTraceDecimals);
  if (d.digits == "nan" || d.digits == "inf") {
    return NonFiniteText(d, "");
  }
  // Integer part and exactly ten decimals, whatever the cut left of the digits: nothing
  // survives a cut of a value below 5e-11, which is written with ten zeros.
  std::string text = d.sign == 1 ? "-" : "";
  std::string fraction;
  if (d.decimalPosition > 0) {
    const auto integerDigits = static_cast<std::size_t>(d.decimalPosition);
    text.append(d.digits, 0, integerDigits);
    fraction = d.digits.size() > integerDigits ? d.digits.substr(integerDigits) : "";
  } else {
    text += '0';
    const std::int64_t zeros = std::min<std::int64_t>(-std::int64_t{d.decimalPosition}, 10);
    fraction.assign(static_cast<std::size_t>(zeros), '0');
    fraction += d.digits;
  }
  fraction.resize(kTraceDecimals, '0');
  return text + "." + fraction;
}

std::string FormatTraceLine(double value, const DecimalDigits& first) {
  return "source: " + FormatTraceSource(value) + "   buffer: '" + first.digits +
         "'   decimal: " + std::to_string(first.decimalPosition) +
         "   sign: " + std::to_string(first.sign) + "\n";
}

std::string FormatFixed(double value, int width, std::ostream& trace) {
  const SignificantDigits form = SeventeenDigitForm(value);
  const DecimalDigits first = CutAtDecimals(form, kFixedFirstDecimals);
  trace << FormatTraceLine(value, first);
  if (!form.finite) {
    return NonFiniteText(first, "");
  }
  return PositionalText(CutAtDecimals(form, BudgetDecimals(width, first)));
}

std::string FormatScientific(double value, int width, std::ostream& trace) {
  const SignificantDigits form = SeventeenDigitForm(value);
  const DecimalDigits first = CutAtDecimals(form, kScientificFirstDecimals);
  trace << FormatTraceLine(value, first);
  if (!form.finite) {
    return NonFiniteText(first, " ");
  }
  const DecimalDigits d = CutAtDecimals(form, BudgetDecimals(width, first));
  std::string text = d.sign == 1 ? "-" : " ";
  // A budget below one digit leaves nothing to show: a lone 0 keeps the form readable.
  text += d.digits.empty() ? '0' : d.digits.front();
  text += '.';
  if (d.digits.size() > 1) {
    text.append(d.digits, 1);
  }
  text += 'E';
  text += std::to_string(std::int64_t{d.decimalPosition} - 1);
  return text;
}

}  // namespace pellum
