#pragma once

#include <string>

namespace pellum {

// Appends value as printf's "%<minWidth>.<precision>f" writes it: exactly rounded, right-
// aligned in at least minWidth characters, and infinities and not-a-numbers as "inf",
// "-inf", "nan" and "-nan".
//
//   AppendFixed(s, 30.1, 6, 10)  appends " 30.100000"
//   AppendFixed(s, 2.25, 1, 10)  appends "       2.2"  (exact rounding: 2.25 is a tie)
void AppendFixed(std::string& out, double value, int precision, int minWidth = 0);

}  // namespace pellum
