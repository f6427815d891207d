#pragma once

#include <string>

namespace pellum {

// The label of a silicon reflection beside the vertical axis: the reference two-theta in
// general notation with 20 significant digits, built from its 17-digit form, with the
// zeros after the point removed. The label stands at the height of its integer part.
//
//   ReferenceLabelText(28.442) -> "28.442"
//   ReferenceLabelText(69.13)  -> "69.129999999999995"  (the double lies just below 69.13;
//                                                       its label stands at height 69)
//   ReferenceLabelText(88.03)  -> "88.030000000000001"
//   ReferenceLabelText(1e25)   -> "1e+25"               (exponent form beyond 20 digits)
std::string ReferenceLabelText(double twoTheta);

// The label as the chart draws it: the reference two-theta rounded to three decimals, as
// the reference table and every file give it.
//
//   ReferenceLabelShown(47.303) -> "47.303"   (its 17-digit form 47.302999999999997 rounds up)
//   ReferenceLabelShown(69.13)  -> "69.130"
//   ReferenceLabelShown(88.03)  -> "88.030"
std::string ReferenceLabelShown(double twoTheta);

// The height at which the label stands: the integer its text shows before the point.
int ReferenceLabelHeight(const std::string& text, double twoTheta);

}  // namespace pellum
