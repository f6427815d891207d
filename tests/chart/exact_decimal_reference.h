#pragma once

#include <string>

// An independent model of the chart's number texts, for checking the production code.
// It works on the exact rational value of a double (its integer mantissa times a power of
// two, expanded with a small big integer) and rounds by adding one half and dropping
// digits, so it shares no arithmetic with the conversion under test.
namespace pellum::reference {

// |value| = digits / 10^fractionDigits exactly; digits has no leading zeros ("0" for zero).
struct ExactDecimal {
  std::string digits;
  int fractionDigits = 0;
  bool negative = false;
};

// Finite values only.
ExactDecimal ExactDecimalOf(double value);

// floor(integer / 10^fractionDigits * 10^keep + 1/2) as a decimal integer without leading
// zeros ("0" for zero).
std::string RoundHalfUp(const std::string& integer, long long fractionDigits, long long keep);

struct Digits {
  std::string digits;
  int decimalPosition = 0;
  int sign = 0;
};

// The value reduced to 17 significant digits, then cut at `decimals` places (at most 347
// digits in all), both with ties going up.
Digits FixedDigits(double value, int decimals);

// The 17-digit form cut at ten decimals, as the trace line shows its source value.
std::string TraceSource(double value);

// The label texts; *traceLine receives the line the formatter writes.
std::string FixedText(double value, int width, std::string* traceLine);
std::string ScientificText(double value, int width, std::string* traceLine);

}  // namespace pellum::reference
