#include "calib/fit_quality.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "calib/accurate_hypot.h"
#include "calib/reference_table.h"

namespace pellum {
namespace {

using Matrix3 = std::array<double, 9>;  // row by row

constexpr double kNotANumber = std::numeric_limits<double>::quiet_NaN();

void FillResiduals(std::span<const CalibrationPoint> points, const CalibrationCoefficients& c,
                   FitQuality& q) {
  double sumSquares = 0.0;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const CalibrationPoint& p = points[i];
    const double calibrated = CalibratedTwoTheta(c, p.x);
    const double residual = p.y - calibrated;
    q.rows.push_back({ReflectionHkl(p.y), p.x, p.y, calibrated, residual});
    sumSquares += residual * residual;
    if (i == 0 || std::fabs(residual) > q.maxAbsResidual) {
      q.maxAbsResidual = std::fabs(residual);
      q.maxRow = i;
    }
  }
  q.rms = points.empty() ? 0.0 : std::sqrt(sumSquares / static_cast<double>(points.size()));
}

// Inverse of A^T A for the weighted design matrix A with rows (1, t, t^2) / sigma, by
// Householder QR: the normal matrix itself squares the condition number, and with
// readings from 28 to 88 degrees its raw form loses most of a double's digits.
Matrix3 InverseNormalMatrix(std::span<const CalibrationPoint> points, const FitQuality& q) {
  const std::size_t n = points.size();
  const int p = q.parameterCount;
  std::vector<std::array<double, 3>> a(n);
  for (std::size_t i = 0; i < n; ++i) {
    const double t = (points[i].x - q.centre) / q.scale;
    const double w = 1.0 / points[i].sigma;
    a[i] = {w, t * w, t * t * w};
  }
  std::array<double, 9> r{};  // upper triangle of R, p by p
  for (int k = 0; k < p; ++k) {
    double norm = 0.0;
    for (std::size_t i = static_cast<std::size_t>(k); i < n; ++i)
      norm = AccurateHypot(norm, a[i][k]);
    const double alpha = a[k][k] > 0 ? -norm : norm;
    // v = x - alpha e1, applied to the remaining columns as H = I - 2 v v^T / v^T v.
    std::vector<double> v(n, 0.0);
    for (std::size_t i = static_cast<std::size_t>(k); i < n; ++i)
      v[i] = a[i][k];
    v[k] -= alpha;
    double vv = 0.0;
    for (std::size_t i = static_cast<std::size_t>(k); i < n; ++i)
      vv += v[i] * v[i];
    for (int j = k; j < p; ++j) {
      double dot = 0.0;
      for (std::size_t i = static_cast<std::size_t>(k); i < n; ++i)
        dot += v[i] * a[i][j];
      const double f = vv > 0.0 ? 2.0 * dot / vv : 0.0;
      for (std::size_t i = static_cast<std::size_t>(k); i < n; ++i)
        a[i][j] -= f * v[i];
    }
    for (int j = k; j < p; ++j)
      r[k * 3 + j] = a[k][j];
  }
  // R^-1 by back substitution, then (A^T A)^-1 = R^-1 R^-T.
  Matrix3 rInv{};
  for (int j = 0; j < p; ++j) {
    rInv[j * 3 + j] = 1.0 / r[j * 3 + j];
    for (int i = j - 1; i >= 0; --i) {
      double sum = 0.0;
      for (int k = i + 1; k <= j; ++k)
        sum += r[i * 3 + k] * rInv[k * 3 + j];
      rInv[i * 3 + j] = -sum / r[i * 3 + i];
    }
  }
  Matrix3 inverse{};
  for (int i = 0; i < p; ++i) {
    for (int j = 0; j < p; ++j) {
      double sum = 0.0;
      for (int k = std::max(i, j); k < p; ++k)
        sum += rInv[i * 3 + k] * rInv[j * 3 + k];
      inverse[i * 3 + j] = sum;
    }
  }
  return inverse;
}

// a = M b for y = b0 + b1 t + b2 t^2 with t = (x - c) / h, so Cov(a) = M Cov(b) M^T.
Matrix3 ToCoefficientCovariance(const Matrix3& scaled, double c, double h) {
  const Matrix3 m = {1.0, -c / h, c * c / (h * h), 0.0, 1.0 / h, -2.0 * c / (h * h),
                     0.0, 0.0,    1.0 / (h * h)};
  Matrix3 mc{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k)
        mc[i * 3 + j] += m[i * 3 + k] * scaled[k * 3 + j];
  Matrix3 out{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k)
        out[i * 3 + j] += mc[i * 3 + k] * m[j * 3 + k];
  // Symmetric to the bit, so that a record keeping only one triangle reads back the same.
  for (int i = 0; i < 3; ++i)
    for (int j = i + 1; j < 3; ++j)
      out[j * 3 + i] = out[i * 3 + j];
  return out;
}

void FillUncertainties(std::span<const CalibrationPoint> points, FitQuality& q) {
  const std::size_t n = points.size();
  const auto p = static_cast<std::size_t>(q.parameterCount);
  q.su = {kNotANumber, kNotANumber, kNotANumber};
  if (n <= p)
    return;
  double chiSquare = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    const double z = q.rows[i].residual / points[i].sigma;
    chiSquare += z * z;
  }
  const double reduced = chiSquare / static_cast<double>(n - p);
  q.scaledCovariance = InverseNormalMatrix(points, q);
  for (double& v : q.scaledCovariance)
    v *= reduced;
  q.covariance = ToCoefficientCovariance(q.scaledCovariance, q.centre, q.scale);
  q.uncertaintiesDefined = true;
  for (std::size_t i = 0; i < p; ++i)
    q.su[i] = std::sqrt(q.covariance[i * 3 + i]);
}

}  // namespace

FitQuality AssessFit(std::span<const CalibrationPoint> points,
                     const CalibrationCoefficients& coefficients, bool straightLine) {
  FitQuality q;
  q.straightLine = straightLine;
  q.parameterCount = straightLine ? 2 : 3;
  FillResiduals(points, coefficients, q);
  if (!points.empty()) {
    const auto [low, high] = std::minmax_element(
        points.begin(), points.end(),
        [](const CalibrationPoint& a, const CalibrationPoint& b) { return a.x < b.x; });
    q.rangeLow = low->x;
    q.rangeHigh = high->x;
  }
  q.centre = 0.5 * (q.rangeLow + q.rangeHigh);
  const double halfWidth = 0.5 * (q.rangeHigh - q.rangeLow);
  q.scale = halfWidth > 0.0 && std::isfinite(halfWidth) ? halfWidth : 1.0;
  FillUncertainties(points, q);
  return q;
}

double CorrectionUncertainty(const FitQuality& quality, double twoTheta) {
  if (!quality.uncertaintiesDefined)
    return kNotANumber;
  const double t = (twoTheta - quality.centre) / quality.scale;
  const std::array<double, 3> u = {1.0, t, t * t};
  double variance = 0.0;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      variance += u[i] * quality.scaledCovariance[i * 3 + j] * u[j];
  return std::sqrt(std::max(variance, 0.0));
}

std::string_view ReflectionHkl(double actual) {
  for (const ReferenceReflection& r : ReferenceTable) {
    if (r.twoTheta == actual)
      return r.hkl;
  }
  return {};
}

}  // namespace pellum
