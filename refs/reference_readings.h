#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "calib/calibration_point.h"
#include "calib/calibration_reference.h"
#include "refs/reference_choice.h"

namespace pellum {

// Readings of another reference's lines, one per line in its order, as both programs take
// them: checked, asked about when far from their lines, and paired with the lines.

// "1 1 1", or "1 0 10": the hkl of a line as the residual lines show it.
std::string HklText(const ReferenceLine& line);

// The reference as the record and the CIF name it: its name, material, space group, cell and
// radiation (the line's name too) or wavelength.
CalibrationReference CalibrationReferenceOf(const Reference& reference);

// How the window's panel names it: material, radiation's line and wavelength to six places.
//   lab6-660c with Cr K-alpha1  -> "LaB6 SRM 660c, Cr K-alpha1 (2.289726 Å)"
//   a wavelength of the user's  -> "LaB6 SRM 660c, 1.540600 Å"
std::string ReferenceTitle(const CalibrationReference& reference);

// The same in two lines, as the charts name it beside their other texts; none for the
// built-in table.
//   lab6-660c with Cr K-alpha1  -> {"LaB6 SRM 660c", "Cr K-alpha1 (2.289726 Å)"}
std::vector<std::string> ReferenceTitleLines(const CalibrationReference& reference);

// Why the readings cannot be calibrated from, or empty when they can; texts are the readings
// as typed (one per line, fewer when the last lines were not given) and values their
// numbers (one per line, negative for a line not read). The built-in table's refusals, in
// its order: "2 theta value must be below 100." (any value of 100 or more), "2 theta value
// must be a number." (a text that is not one number, blanks aside), and "At least two
// reflections with different 2 theta values are needed." (one distinct reading only; none
// at all is the user leaving without a calibration).
//   {"42.84", "abc"}          -> "2 theta value must be a number."
//   {"42.84", "42.84", "-1"}  -> "At least two reflections ..."
std::string_view RefuseReferenceReadings(const std::vector<std::string>& texts,
                                         const std::vector<double>& values);

// "Readings more than 1 degree from the actual 2 theta of their reflection:" and one line
// per far reading, "1 1 1: reading 44, actual 42.828, difference +1.172"; empty when none
// is further than maxOffset from its line.
std::string DescribeFarReferenceReadings(const Reference& reference,
                                         const std::vector<double>& values, double maxOffset);

// One point per non-negative value, in the order of the lines, each paired with its line's
// two-theta and uncertainty kPointSigma; hklTexts names each point's line. Returns the count.
std::size_t BuildReferencePoints(const Reference& reference, const std::vector<double>& values,
                                 std::vector<CalibrationPoint>& points,
                                 std::vector<std::string>& hklTexts);

}  // namespace pellum
