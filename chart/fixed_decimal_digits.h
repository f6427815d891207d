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
//
// The value is first cut to 17 significant digits of its exact decimal expansion, then at
// `decimals` places after the point (capped at 347); each cut rounds half up on the digit
// that follows. Non-finite values give digits "nan" or "inf" and decimalPosition 0.
struct DecimalDigits {
  std::string digits;
  int decimalPosition = 0;
  int sign = 0;
};

DecimalDigits FixedDecimalDigits(double value, int decimals);

}  // namespace pellum
