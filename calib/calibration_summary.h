#pragma once

#include <string>

#include "calib/calibration_coefficients.h"
#include "calib/fit_model.h"
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

// A value in the crystallographer's notation: its su to two significant digits in
// parentheses, in units of the value's last digit.
//
//   ValueWithSu(0.04907239, 0.00013253)  -> "0.04907(13)"
//   ValueWithSu(1.001033, 0.0000485905)  -> "1.001033(49)"
//   ValueWithSu(-0.0062151, 0.0087764)   -> "-0.0062(88)"
//   ValueWithSu(0.123, 0.0996)           -> "0.12(10)"     (99.6 rounds to 100: one place less)
//   ValueWithSu(1234.5, 56)              -> "1234(56)"     ValueWithSu(12345, 456) -> "12350(460)"
//   ValueWithSu(0.1234567891, nan)       -> "0.1234568"    (no su: seven significant digits)
std::string ValueWithSu(double value, double su);

// What the panel adds about the model: the rule that chose it, whether a3 is significant,
// and the rule the next fit follows.
struct ModelNotes {
  ModelRule rule = ModelRule::ChiSquare;
  QuadraticTermTest term;
  ModelRule nextRule = ModelRule::ChiSquare;
};

// The calibration as the window's panel shows it: as DescribeCalibration, but each
// coefficient as value(su), the rule and the significance of a3 said:
//
//   Model: quadratic, by the rule chi-square
//   a1 = -0.0062(88)
//   a2 = 0.99998(32)
//   a3 = -0.0000005(27)
//   a3 significant: no (t = 0.17 < 3.18, 95 %)
//   ...the residual table, rms and range as DescribeCalibration
std::string DescribeCalibrationBriefly(const CalibrationCoefficients& coefficients,
                                       const FitQuality& quality, const ModelNotes& notes);

}  // namespace pellum
