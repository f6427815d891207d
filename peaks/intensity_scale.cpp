#include "peaks/intensity_scale.h"

#include <algorithm>
#include <cmath>

namespace pellum {
namespace {

// The largest intensity lands in [2^12, 2^13).
constexpr int kLargestExponent = 13;

void ScaleShape(PeakShape& shape, double scale) {
  shape.gaussianHeight *= scale;
  shape.lorentzianHeight *= scale;
}

}  // namespace

double IntensityScale(std::span<const ProfilePoint> points) {
  double largest = 0.0;
  for (const ProfilePoint& p : points) {
    largest = std::max(largest, std::abs(p.intensity));
  }
  if (!(largest > 0.0) || !std::isfinite(largest)) {
    return 1.0;
  }
  int exponent = 0;
  std::frexp(largest, &exponent);
  return std::ldexp(1.0, kLargestExponent - exponent);
}

std::vector<ProfilePoint> ScaledIntensities(std::span<const ProfilePoint> points, double scale) {
  std::vector<ProfilePoint> scaled(points.begin(), points.end());
  for (ProfilePoint& p : scaled) {
    p.intensity *= scale;
  }
  return scaled;
}

void ScaleFit(PeakFit& fit, double scale) {
  ScaleShape(fit.peak, scale);
  for (PeakShape& neighbour : fit.neighbours) {
    ScaleShape(neighbour, scale);
  }
  fit.background.level *= scale;
  fit.background.slope *= scale;
  fit.residualRms *= scale;
}

}  // namespace pellum
