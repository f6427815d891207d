#pragma once

#include <algorithm>
#include <cmath>

namespace pellum {

// A reflection's profile as a pseudo-Voigt: a Gaussian and a Lorentzian of one full width
// at half maximum about one centre, each with its own height. Both are half their height
// at centre +- fwhm / 2, so the sum is too: fwhm is the peak's width whatever the mix.
//
//   PeakShape{28.44, 0.1, 60, 40}.At(28.44) -> 100    .At(28.49) -> 50
struct PeakShape {
  double centre = 0.0;
  double fwhm = 0.0;
  double gaussianHeight = 0.0;
  double lorentzianHeight = 0.0;

  double Height() const { return gaussianHeight + lorentzianHeight; }
  double At(double twoTheta) const {
    const double z = (twoTheta - centre) / fwhm;
    return gaussianHeight * std::exp(-kGaussianFactor * z * z) +
           lorentzianHeight / (1.0 + 4.0 * z * z);
  }

  // exp(-4 ln 2 z^2) is one half at z = 1/2.
  static constexpr double kGaussianFactor = 2.772588722239781;
};

// Copper's K-alpha2 line beside K-alpha1: a diffractometer without a monochromator records
// each reflection twice, K-alpha2 at the angle the wavelength ratio gives and about half
// as strong. The reference positions are K-alpha1's.
inline constexpr double kKAlpha2WavelengthRatio = 1.5444274 / 1.5405929;
inline constexpr double kKAlpha2HeightShare = 0.5;

// Where K-alpha2 puts a reflection that K-alpha1 puts at twoTheta (degrees), by Bragg's law;
// ratio is K-alpha2's wavelength over K-alpha1's (copper's unless another tube is named).
//   28.442 -> 28.5137        88.03 -> 88.3024
inline double KAlpha2TwoTheta(double twoTheta, double ratio = kKAlpha2WavelengthRatio) {
  constexpr double kHalfDegree = 3.14159265358979323846 / 360.0;
  const double s = std::min(1.0, ratio * std::sin(twoTheta * kHalfDegree));
  return std::asin(s) / kHalfDegree;
}

// How far K-alpha2's position moves when K-alpha1's does: d KAlpha2TwoTheta / d twoTheta.
inline double KAlpha2Slope(double twoTheta, double ratio = kKAlpha2WavelengthRatio) {
  constexpr double kHalfDegree = 3.14159265358979323846 / 360.0;
  return ratio * std::cos(twoTheta * kHalfDegree) /
         std::cos(KAlpha2TwoTheta(twoTheta, ratio) * kHalfDegree);
}

// A straight background, intensity = level + slope * (two-theta - origin).
struct StraightBackground {
  double origin = 0.0;
  double level = 0.0;
  double slope = 0.0;

  double At(double twoTheta) const { return level + slope * (twoTheta - origin); }
};

}  // namespace pellum
