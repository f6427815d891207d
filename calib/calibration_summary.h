#pragma once

#include <string>

#include "calib/calibration_coefficients.h"
#include "calib/fit_quality.h"

namespace pellum {

// The calibration in words, as the window's quality panel shows it and Copy Calibration
// puts it on the clipboard: the model, the coefficients to full precision with their
// standard uncertainties, the residual table with the largest residual marked, rms, and
// the calibrated range. Columns line up in a fixed-width font.
//
//   Model: quadratic
//   a1 = -0.011870739... +/- 0.0107...
//   ...
//   hkl    reading     actual  calibrated   residual
//   1 1 1  28.4500  28.4420    28.44213   -0.00013
//   3 1 1  56.1300  56.1220    56.12484   -0.00284  <- largest
//   rms 0.0019, max 0.0028
//   Calibrated range: 28.45 to 88.04 degrees
std::string DescribeCalibration(const CalibrationCoefficients& coefficients,
                                const FitQuality& quality);

}  // namespace pellum
