#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

#include "calib/calibration_coefficients.h"
#include "calib/calibration_point.h"

namespace pellum {

// One reflection used in the fit, as the chosen calibration treats it. residual is
// actual - calibrated: positive where the calibration reads low.
struct ResidualRow {
  std::string_view hkl;  // "3 1 1", from the reference table; empty for an unknown actual
  double reading = 0.0;
  double actual = 0.0;
  double calibrated = 0.0;
  double residual = 0.0;
};

// How good one calibration is, from the points it was fitted to.
//
//   six readings 28.45 .. 88.04 (quadratic): six rows, rms ~ 2e-3, su of a1 ~ 1e-2,
//   uncertaintiesDefined; range 28.45 .. 88.04
//   two readings (straight line): two rows, residuals ~ 0, no uncertainties (no degree
//   of freedom is left to estimate the scatter from)
struct FitQuality {
  bool straightLine = false;
  int parameterCount = 3;  // 2 for the straight line, whose a3 is fixed at zero
  std::vector<ResidualRow> rows;
  double rms = 0.0;
  double maxAbsResidual = 0.0;
  std::size_t maxRow = 0;  // the row holding the largest absolute residual

  // Covariance of (a1, a2, a3), row by row, scaled by the reduced chi-square. Defined only
  // with more points than coefficients; a3's row and column are zero for the straight line.
  bool uncertaintiesDefined = false;
  std::array<double, 9> covariance{};
  std::array<double, 3> su{};  // standard uncertainties of a1, a2, a3

  // The smallest and largest reading used: outside it the calibration extrapolates.
  double rangeLow = 0.0;
  double rangeHigh = 0.0;

  // The covariance again, in the centred and scaled variable t = (x - centre) / scale, in
  // which the correction's uncertainty is propagated without cancellation.
  double centre = 0.0;
  double scale = 1.0;
  std::array<double, 9> scaledCovariance{};
};

// Assesses coefficients, the chosen model of FitCalibration (straightLine as
// PrefersStraightLine said), against the points it was fitted to. Every figure uses the
// coefficients exactly as the converters apply them (CalibratedTwoTheta).
FitQuality AssessFit(std::span<const CalibrationPoint> points,
                     const CalibrationCoefficients& coefficients, bool straightLine);

// The standard uncertainty of the calibrated two-theta at an experimental two-theta, from
// the full covariance (the coefficients are correlated, so the su of the sum is far below
// the sum of the su). Not a number when the uncertainties are not defined.
double CorrectionUncertainty(const FitQuality& quality, double twoTheta);

// The reference reflection whose actual two-theta is exactly actual, as the table writes
// its hkl ("3 1 1"); empty when there is none.
std::string_view ReflectionHkl(double actual);

}  // namespace pellum
