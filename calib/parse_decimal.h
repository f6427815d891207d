#pragma once

#include <cstddef>
#include <string_view>

namespace pellum {

// Reads the longest decimal number at the start of text, as C's atof does, but never
// depending on the locale: leading white space, an optional sign, digits with an optional
// point, and an optional exponent introduced by e, E, d or D (Fortran-style) with an
// optional sign. The value is correctly rounded. Text that does not begin with a number
// gives 0.0; "inf", "nan" and hexadecimal are not numbers here.
//
//   ParseDecimal("  28.4abc") -> 28.4      ParseDecimal("2.84d1") -> 28.4
//   ParseDecimal("0x10")      -> 0.0       ParseDecimal("1e")     -> 1.0
//   ParseDecimal(".")         -> 0.0       ParseDecimal("-.5")    -> -0.5
double ParseDecimal(std::string_view text);

// As ParseDecimal, and also tells where the number ends: the index just past its last
// character (leading white space included), or 0 when text does not begin with a number.
std::size_t ParseDecimalPrefix(std::string_view text, double& value);

}  // namespace pellum
