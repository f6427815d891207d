#pragma once

#include <vector>

#include "calib/calibration_point.h"
#include "calib/entry_validation.h"

namespace pellum {

// Every reading carries the same uncertainty, 0.0001 degree.
inline constexpr double kPointSigma = 0.0001;

// Replaces points with one point per non-negative entry, in table order, pairing the
// reading with the reflection's reference two-theta. Returns the new count.
int BuildCalibrationPoints(const ParsedEntries& values, std::vector<CalibrationPoint>& points);

}  // namespace pellum
