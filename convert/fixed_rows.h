#pragma once

#include <string>

namespace pellum {

// Appends value as printf's "%<minWidth>.<precision>f" writes it, exactly as AppendFixed
// (calib/fixed_notation.h) does, but with integer arithmetic for the numbers a data file
// holds: a finite value whose scaled magnitude stays below 2^64 (below 1.8e13 with six
// decimals) and a precision of at most 9. Every other value goes to AppendFixed. The
// converters write two numbers per row, millions of rows per file.
//
//   AppendFixedRow(s, 30.1, 6, 10)  appends " 30.100000"
//   AppendFixedRow(s, 2.25, 1, 10)  appends "       2.2"  (2.25 is a tie: to the even digit)
//   AppendFixedRow(s, -1e-9, 6)     appends "-0.000000"   (printf keeps the sign)
void AppendFixedRow(std::string& out, double value, int precision, int minWidth = 0);

}  // namespace pellum
