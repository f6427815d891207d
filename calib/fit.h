#pragma once

#include <iostream>
#include <span>
#include <string>

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

// Computes the quadratic and the straight-line fit of points, writes both to the report at
// reportPath (a report that cannot be written is said on console, and the fit goes on), and
// sets coefficients to the quadratic unless the straight line's chi-square is smaller or
// either chi-square is not a number. Returns the report writer's result: 0 or -1.
// Degenerate point sets are not special-cased; the arithmetic decides.
int FitCalibration(std::span<const CalibrationPoint> points, CalibrationCoefficients& coefficients,
                   const std::string& reportPath = "fitdata.txt", std::ostream& console = std::cout,
                   FitResult* result = nullptr);

}  // namespace pellum
