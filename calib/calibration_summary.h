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
//   a1 = -0.006215050010224119
//        +/- 0.008776385051821883
//   ...
//   hkl    reading   actual calibrated  residual
//   1 1 1  28.4500  28.4420   28.44277  -0.00077
//   3 3 1  76.3900  76.3760   76.37934  -0.00334 *
//   * the largest residual
//   rms 0.00172, max 0.00334
//   Calibrated range: 28.45 to 88.04 degrees
std::string DescribeCalibration(const CalibrationCoefficients& coefficients,
                                const FitQuality& quality);

}  // namespace pellum
