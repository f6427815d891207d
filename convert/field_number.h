#pragma once

#include <string_view>

namespace pellum {

// The number a field holds, exactly as ParseDecimal (calib/parse_decimal.h) reads it, with
// a short road for the plain decimals that fill data files: an optional minus, at most 19
// digits with an optional point, at most 22 decimals and a value below 2^53 as an
// integer. Such a field is read as one integer divided by an exact power of ten, which
// IEEE arithmetic rounds correctly, as ParseDecimal does. Anything else (an exponent, a
// plus sign, trailing letters, more digits) goes to ParseDecimal.
//
//   ParseFieldNumber("30.125") -> 30.125     ParseFieldNumber("-0") -> -0.0
//   ParseFieldNumber("2.84d1") -> 28.4 (by ParseDecimal)
double ParseFieldNumber(std::string_view field);

}  // namespace pellum
