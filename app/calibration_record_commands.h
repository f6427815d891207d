#pragma once

#include <string>

#include "app/app_state.h"
#include "app/platform.h"
#include "calib/calibration_record.h"

namespace pellum {

// The last calibration as a record: its model, coefficients, covariance and points, and
// the reference when it was not the built-in table (its standard, cell and wavelength, each
// point's line), as pellum-cli's --calibration-out writes it.
CalibrationRecord RecordOf(const AppState& state);

// The calibration in words (DescribeCalibration), or empty before the first calibration.
std::string CalibrationSummary(const AppState& state);
// The same as the window's panel shows it: value(su), the rule and a3's significance
// (DescribeCalibrationBriefly); empty before the first calibration. Both name another
// reference on a first line of their own:
//   "Reference: LaB6 SRM 660c, Cr K-alpha1 (2.289726 Å)"
std::string PanelSummary(const AppState& state);

// File > Save Calibration...: asks for a path (starting on "calibration.cal" beside the
// last converted file, or in the last folder chosen, or in the current folder) and writes
// the record there, complete or not at all. Says where it went ("Calibration is saved as
// <path>"), or shows "Cannot write the calibration file!" with the path. Nothing before
// the first calibration.
void SaveCalibration(const AppState& state, Platform& platform);

// Edit > Copy Calibration: the summary onto the clipboard.
void CopyCalibration(const AppState& state, Platform& platform);

}  // namespace pellum
