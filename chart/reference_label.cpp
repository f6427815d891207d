#include "chart/reference_label.h"

#include <charconv>
#include <cstdint>

#include "chart/calibration_chart.h"
#include "chart/fixed_decimal_digits.h"

namespace pellum {
namespace {

constexpr int kGeneralDigits = 20;

void DropTrailingFractionZeros(std::string& mantissa) {
  if (mantissa.find('.') == std::string::npos) {
    return;
  }
  const std::size_t last = mantissa.find_last_not_of('0');
  mantissa.resize(mantissa[last] == '.' ? last : last + 1);
}

}  // namespace

std::string ReferenceLabelText(double twoTheta) {
  const SignificantDigits form = SeventeenDigitForm(twoTheta);
  if (!form.finite) {
    return (form.sign == 1 ? "-" : "") + form.digits;
  }
  // Twenty significant digits: the 17 of the form and zeros; no second rounding happens.
  const std::int64_t exponent = form.digits == "0" ? 0 : std::int64_t{form.decimalPosition} - 1;
  std::string digits = form.digits;
  digits.resize(kGeneralDigits, '0');
  std::string text = form.sign == 1 ? "-" : "";
  if (exponent < -4 || exponent >= kGeneralDigits) {
    std::string mantissa = digits.substr(0, 1) + "." + digits.substr(1);
    DropTrailingFractionZeros(mantissa);
    const std::string power = std::to_string(exponent < 0 ? -exponent : exponent);
    return text + mantissa + (exponent < 0 ? "e-" : "e+") + (power.size() < 2 ? "0" : "") + power;
  }
  std::string positional;
  if (exponent >= 0) {
    const auto integerDigits = static_cast<std::size_t>(exponent + 1);
    positional = digits.substr(0, integerDigits) + "." + digits.substr(integerDigits);
  } else {
    positional = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  }
  DropTrailingFractionZeros(positional);
  return text + positional;
}

std::string ReferenceLabelShown(double twoTheta) {
  constexpr int kDecimals = 3;
  const DecimalDigits d = FixedDecimalDigits(twoTheta, kDecimals);
  const std::string sign = d.sign == 1 ? "-" : "";
  if (d.digits == "nan" || d.digits == "inf")
    return sign + d.digits;
  std::string integerPart = "0";
  std::string fraction;
  if (d.decimalPosition > 0) {
    const auto integerDigits = static_cast<std::size_t>(d.decimalPosition);
    integerPart = d.digits.substr(0, integerDigits);
    fraction = d.digits.substr(integerDigits);
  } else {
    fraction.assign(static_cast<std::size_t>(-std::int64_t{d.decimalPosition}), '0');
    fraction += d.digits;
  }
  fraction.resize(kDecimals, '0');
  return sign + integerPart + "." + fraction;
}

int ReferenceLabelHeight(const std::string& text, double twoTheta) {
  if (text.find_first_of("en") != std::string::npos) {
    return TruncateToLogical(twoTheta);  // exponent form, nan, inf: no plain integer part
  }
  int height = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), height);
  return error == std::errc{} ? height : TruncateToLogical(twoTheta);
}

}  // namespace pellum
