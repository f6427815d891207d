#pragma once

#include <string>

namespace pellum {

// The label of a silicon reflection beside the vertical axis: the reference two-theta in
// general notation with 20 significant digits, built from its 17-digit form, with the
// zeros after the point removed. The chart draws its first 6 characters at the height of
// its integer part.
//
//   ReferenceLabelText(28.442) -> "28.442"
//   ReferenceLabelText(69.13)  -> "69.129999999999995"  (the double lies just below 69.13;
//                                                       drawn as "69.129" at height 69)
//   ReferenceLabelText(88.03)  -> "88.030000000000001"
//   ReferenceLabelText(1e25)   -> "1e+25"               (exponent form beyond 20 digits)
std::string ReferenceLabelText(double twoTheta);

// The height at which the label stands: the integer its text shows before the point.
int ReferenceLabelHeight(const std::string& text, double twoTheta);

}  // namespace pellum
