#pragma once

#include <span>
#include <string>

#include "calib/calibration_record.h"

namespace pellum {

// The reason a record read from a file may not be applied; empty when it may. A record is
// text anyone can edit, so it is checked as the readings it holds would be checked when
// typed, and its numbers must be the ones those readings give:
//   - each reading below 100 and not negative (-1 marks a reflection not read everywhere
//     else), each reflection at most once and in table order (1 1 1 to 4 2 2), at least
//     two different readings, a quadratic at least three, each within maxOffset degrees
//     of its reflection;
//   - the coefficients (and delta) those of the record's model refitted to its points, to
//     a few units in the last place: "The record's coefficients do not follow from its
//     readings";
//   - the covariance present exactly when the refit defines one, with no negative
//     variance, agreeing with the refit's.
//
//   a1 -6.215050010224119 in a record fitted to a1 -0.006215...  -> coefficients refused
//   point 400 -1 69.13                                            -> negative reading
std::string CheckCalibrationRecord(const CalibrationRecord& record, double maxOffset);

// A line of the reference a record names, as refs/ computes it from the record's standard,
// cell and wavelength: {"1 1 1", 42.82832231342157}.
struct RecordReferenceLine {
  std::string hkl;
  double twoTheta = 0.0;
};

// The same for a record of another reference, lines being that reference's, in order of
// two-theta: each point must name one of them and its actual two-theta must be that line's
// exactly (a record edited to another cell, wavelength or position is refused), the points
// in the lines' order, and the rest as above.
//   point 111 42.84 42.83, 1 1 1 at 42.82832231342157 -> "the actual two-theta of 1 1 1 is
//                                                         not its line's, 42.82832231342157"
std::string CheckCalibrationRecord(const CalibrationRecord& record, double maxOffset,
                                   std::span<const RecordReferenceLine> lines);

inline constexpr std::string_view kCoefficientsDoNotFollow =
    "The record's coefficients do not follow from its readings";

}  // namespace pellum
