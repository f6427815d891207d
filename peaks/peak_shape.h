#pragma once

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

// A straight background, intensity = level + slope * (two-theta - origin).
struct StraightBackground {
  double origin = 0.0;
  double level = 0.0;
  double slope = 0.0;

  double At(double twoTheta) const { return level + slope * (twoTheta - origin); }
};

}  // namespace pellum
