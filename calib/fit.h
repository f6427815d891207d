#pragma once

#include <span>

#include "calib/calibration_coefficients.h"
#include "calib/calibration_point.h"

namespace pellum {

// The seventeen values of one fit, in the order the report lists them.
struct FitResult {
  double sy = 0.0, sx = 0.0, sxx = 0.0, sxy = 0.0, sxxx = 0.0, sxxy = 0.0, sxxxx = 0.0, s = 0.0;
  double delta3 = 0.0, a1 = 0.0, a2 = 0.0, a3 = 0.0, chiSquare3 = 0.0;
  double delta2 = 0.0, intercept = 0.0, slope = 0.0, chiSquare2 = 0.0;
};

// The weighted sums of the normal equations. Every term is divided by sigma * sigma of its
// own point, and the sum runs in point order: the report's digits depend on both.
double WeightedSumY(std::span<const CalibrationPoint> points);
double WeightedSumX(std::span<const CalibrationPoint> points);
double WeightedSumXX(std::span<const CalibrationPoint> points);
double WeightedSumXY(std::span<const CalibrationPoint> points);
double WeightedSumXXX(std::span<const CalibrationPoint> points);
double WeightedSumXXY(std::span<const CalibrationPoint> points);
double WeightedSumXXXX(std::span<const CalibrationPoint> points);
double WeightedSumOne(std::span<const CalibrationPoint> points);

// Rows (a b c), (d e f), (g h l), expanded along the first row.
double Determinant3(double a, double b, double c, double d, double e, double f, double g, double h,
                    double l);
double Determinant2(double a, double b, double c, double d);

// The straight line replaces the quadratic when its chi-square is smaller, and also when
// either chi-square is not a number (the comparison below is then false).
inline bool PrefersStraightLine(const FitResult& r) {
  return !(r.chiSquare2 >= r.chiSquare3);
}

// One run of the fit: all seventeen values, for the report, and the coefficients kept.
struct CalibrationFit {
  FitResult result;
  CalibrationCoefficients coefficients;
};

// Computes the quadratic and the straight-line fit of points and keeps the quadratic unless
// the straight line's chi-square is smaller or either chi-square is not a number (then
// a3 = 0 and delta is the straight line's determinant). Nothing is written: the caller
// writes result to the report (WriteFitReport), which keeps the quadratic whichever wins.
// Degenerate point sets are not special-cased; the arithmetic decides.
CalibrationFit FitCalibration(std::span<const CalibrationPoint> points);

}  // namespace pellum
