#pragma once

#include <string>

namespace pellum {

// The digits of a double cut to a fixed number of decimals, as the label formatters need
// them: no point, no sign, no exponent.
//
//   digits           the significant digits, without leading zeros except for zero itself
//   decimalPosition  where the point goes: the value is 0.<digits> * 10^decimalPosition
//   sign             1 for a negative value, else 0
//
//   FixedDecimalDigits(12.35, 1)   -> {"124", 2, 0}  (the 17-digit form 12.350000000000000
//                                                      is cut with ties going up)
//   FixedDecimalDigits(0.0523, 10) -> {"523000000", -1, 0}
//   FixedDecimalDigits(-0.004, 2)  -> {"", -2, 1}     (nothing survives the cut)
//   FixedDecimalDigits(9.96, 1)    -> {"100", 2, 0}   (the carry makes a new leading digit)
//   FixedDecimalDigits(0.0, 3)     -> {"000", 0, 0}   (zero of either sign)
//
// The value is first cut to 17 significant digits of its exact decimal expansion, then at
// `decimals` places after the point (at most 347 digits in all); each cut rounds half up on
// the digit that follows. Non-finite values give digits "nan" or "inf", decimalPosition 0
// and sign 1 for minus infinity.
struct DecimalDigits {
  std::string digits;
  int decimalPosition = 0;
  int sign = 0;
};

DecimalDigits FixedDecimalDigits(double value, int decimals);

// The first cut alone: a double reduced to 17 significant digits, trailing zeros dropped.
// 47.303 -> {"47302999999999997", 2, 0}; 0.05 -> {"5", -1, 0}; zero -> {"0", 0, 0}.
// Formatters that cut one value several times reduce it once with this.
struct SignificantDigits {
  std::string digits;
  int decimalPosition = 0;
  int sign = 0;
  bool finite = true;
};

SignificantDigits SeventeenDigitForm(double value);

// The second cut: FixedDecimalDigits(v, d) is CutAtDecimals(SeventeenDigitForm(v), d).
DecimalDigits CutAtDecimals(const SignificantDigits& form, int decimals);

}  // namespace pellum
