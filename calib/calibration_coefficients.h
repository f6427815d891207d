#pragma once

#include <cmath>

namespace pellum {

// Actual 2 theta = a1 + a2 x + a3 x^2, and the determinant of the system that gave them.
// All zero until the first fit.
struct CalibrationCoefficients {
  double delta = 0.0;
  double a1 = 0.0;
  double a2 = 0.0;
  double a3 = 0.0;
};

// Applies the calibration to an experimental two-theta, in the one order of operations that
// every converter uses: (a2 * x + a1) + (a3 * x) * x.
inline double CalibratedTwoTheta(const CalibrationCoefficients& c, double x) {
  return (c.a2 * x + c.a1) + (c.a3 * x) * x;
}

// Coefficients that are not all finite come from readings that determine nothing (two
// readings a rounding step apart, or both near zero); applied, they would turn every row
// into "nan". Such a result is refused, never applied.
inline bool IsCalibration(const CalibrationCoefficients& c) {
  return std::isfinite(c.a1) && std::isfinite(c.a2) && std::isfinite(c.a3);
}

}  // namespace pellum
