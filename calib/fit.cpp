#include "calib/fit.h"

namespace pellum {
namespace {

// Each term is divided by its own point's sigma squared, then added in point order.
template <typename Term>
double WeightedSum(std::span<const CalibrationPoint> points, Term term) {
  double sum = 0.0;
  for (const CalibrationPoint& p : points)
    sum += term(p) / (p.sigma * p.sigma);
  return sum;
}

// The correctly rounded square. Written as a product so that every build computes the
// same bits: an unoptimised pow() call may round differently from the multiplication
// that an optimising compiler turns pow(v, 2) into.
double Square(double v) {
  return v * v;
}

double QuadraticChiSquare(std::span<const CalibrationPoint> points, const FitResult& r) {
  double chiSquare = 0.0;
  for (const CalibrationPoint& p : points) {
    chiSquare += Square((p.y - r.a1 - r.a2 * p.x - (r.a3 * p.x) * p.x) / p.sigma);
  }
  return chiSquare;
}

double StraightLineChiSquare(std::span<const CalibrationPoint> points, const FitResult& r) {
  double chiSquare = 0.0;
  for (const CalibrationPoint& p : points) {
    chiSquare += Square((p.y - r.intercept - r.slope * p.x) / p.sigma);
  }
  return chiSquare;
}

}  // namespace

double WeightedSumY(std::span<const CalibrationPoint> points) {
  return WeightedSum(points, [](const CalibrationPoint& p) { return p.y; });
}
double WeightedSumX(std::span<const CalibrationPoint> points) {
  return WeightedSum(points, [](const CalibrationPoint& p) { return p.x; });
}
double WeightedSumXX(std::span<const CalibrationPoint> points) {
  return WeightedSum(points, [](const CalibrationPoint& p) { return p.x * p.x; });
}
double WeightedSumXY(std::span<const CalibrationPoint> points) {
  return WeightedSum(points, [](const CalibrationPoint& p) { return p.y * p.x; });
}
double WeightedSumXXX(std::span<const CalibrationPoint> points) {
  return WeightedSum(points, [](const CalibrationPoint& p) { return p.x * (p.x * p.x); });
}
double WeightedSumXXY(std::span<const CalibrationPoint> points) {
  return WeightedSum(points, [](const CalibrationPoint& p) { return p.x * (p.y * p.x); });
}
double WeightedSumXXXX(std::span<const CalibrationPoint> points) {
  return WeightedSum(points, [](const CalibrationPoint& p) { return p.x * (p.x * (p.x * p.x)); });
}
double WeightedSumOne(std::span<const CalibrationPoint> points) {
  return WeightedSum(points, [](const CalibrationPoint&) { return 1.0; });
}

double Determinant3(double a, double b, double c, double d, double e, double f, double g, double h,
                    double l) {
  return a * (e * l - f * h) - b * (d * l - f * g) + c * (d * h - e * g);
}

double Determinant2(double a, double b, double c, double d) {
  return a * d - b * c;
}

CalibrationFit FitCalibration(std::span<const CalibrationPoint> points) {
  CalibrationFit fit;
  FitResult& r = fit.result;
  r.sy = WeightedSumY(points);
  r.sx = WeightedSumX(points);
  r.sxx = WeightedSumXX(points);
  r.sxy = WeightedSumXY(points);
  r.sxxx = WeightedSumXXX(points);
  r.sxxy = WeightedSumXXY(points);
  r.sxxxx = WeightedSumXXXX(points);
  r.s = WeightedSumOne(points);

  // Normal equations of y = a1 + a2 x + a3 x^2, by Cramer's rule.
  r.delta3 = Determinant3(r.s, r.sx, r.sxx, r.sx, r.sxx, r.sxxx, r.sxx, r.sxxx, r.sxxxx);
  r.a1 = Determinant3(r.sy, r.sx, r.sxx, r.sxy, r.sxx, r.sxxx, r.sxxy, r.sxxx, r.sxxxx) / r.delta3;
  r.a2 = Determinant3(r.s, r.sy, r.sxx, r.sx, r.sxy, r.sxxx, r.sxx, r.sxxy, r.sxxxx) / r.delta3;
  r.a3 = Determinant3(r.s, r.sx, r.sy, r.sx, r.sxx, r.sxy, r.sxx, r.sxxx, r.sxxy) / r.delta3;

  // The straight line y = intercept + slope x.
  r.delta2 = Determinant2(r.s, r.sx, r.sx, r.sxx);
  r.intercept = Determinant2(r.sy, r.sx, r.sxy, r.sxx) / r.delta2;
  r.slope = Determinant2(r.s, r.sy, r.sx, r.sxy) / r.delta2;

  r.chiSquare3 = QuadraticChiSquare(points, r);
  r.chiSquare2 = StraightLineChiSquare(points, r);

  // The result keeps the quadratic for the report even when the straight line wins here.
  if (PrefersStraightLine(r)) {
    fit.coefficients = {r.delta2, r.intercept, r.slope, 0.0};
  } else {
    fit.coefficients = {r.delta3, r.a1, r.a2, r.a3};
  }
  return fit;
}

}  // namespace pellum
