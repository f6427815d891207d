#pragma once

#include <ostream>
#include <string>

#include "chart/fixed_decimal_digits.h"

namespace pellum {

// The chart's number labels, written to a budget of `width` digits: width - 1 significant
// digits for a positive value, width - 2 for a negative one (the minus takes a place).
// Each call first converts the value with 15 (fixed) or 20 (scientific) decimals, writes
// the trace line of that first conversion to `trace`, then cuts the value again to the
// budget and builds the text from that second conversion.
//
//   FormatFixed(12.35, 4)   -> "12.4"    the 17-digit form 1235 is cut with the tie going up
//   FormatFixed(9.996, 4)   -> "10.00"   the carry adds a leading digit
//   FormatFixed(100.0, 4)   -> "100."    the text always holds a point
//   FormatFixed(0.0001, 4)  -> "0.000100"
//   FormatFixed(-12.34, 4)  -> "-12."
//   FormatFixed(1234.5, 4)  -> "1230."   more integer digits than the budget: the value is
//                                        rounded to the budget and written out in full
//   FormatFixed(nan, 4)     -> "nan"     and "inf", "-inf"
std::string FormatFixed(double value, int width, std::ostream& trace);

//   FormatScientific(0.0, 10)          -> " 0.00000000E-1"  zero has position 0
//   FormatScientific(0.0523, 10)       -> " 5.23000000E-2"  17 digits 52299999999999999 carry
//   FormatScientific(-2.5, 10)         -> "-2.5000000E0"
//   FormatScientific(9.9999999999, 10) -> " 1.000000000E1"  ten digits after the carry
//   FormatScientific(-inf, 10)         -> "-inf"            and " inf", " nan"
std::string FormatScientific(double value, int width, std::ostream& trace);

// "source: %2.10f   buffer: '%s'   decimal: %d   sign: %d\n" of value and a formatter's
// first conversion. The %2.10f is the 17-digit form cut at 10 decimals, digits past the
// 17th written as 0; zero has no sign, any other negative value keeps its minus:
//   FormatTraceLine(28.442, FixedDecimalDigits(28.442, 15)) ->
//     "source: 28.4420000000   buffer: '28442000000000000'   decimal: 2   sign: 0\n"
//   -1.2e-15 is written "-0.0000000000"; infinities "inf" and "-inf", NaN "nan".
std::string FormatTraceLine(double value, const DecimalDigits& first);

// The %2.10f part of the trace line alone.
std::string FormatTraceSource(double value);

}  // namespace pellum
