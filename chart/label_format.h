#pragma once

#include <ostream>
#include <string>

#include "chart/fixed_decimal_digits.h"

namespace pellum {

// The chart's number labels: at most `width` characters, built from FixedDecimalDigits.
// Each call writes one trace line (FormatTraceLine of its first conversion) to `trace`.
//
//   FormatFixed(12.35, 4, trace)       -> "12.4"  (the 17-digit form is cut with ties up)
//   FormatScientific(0.0523, 14, trace) -> " 5.23000000E-2"
std::string FormatFixed(double value, int width, std::ostream& trace);
std::string FormatScientific(double value, int width, std::ostream& trace);

// "source: %2.10f   buffer: '%s'   decimal: %d   sign: %d\n", where the %2.10f of value
// follows the same 17-digit conversion and `first` is the formatter's first conversion.
std::string FormatTraceLine(double value, const DecimalDigits& first);

}  // namespace pellum
