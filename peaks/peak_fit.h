#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "peaks/peak_shape.h"
#include "peaks/profile_points.h"

namespace pellum {

// Where a peak is thought to be, and how wide.
struct PeakGuess {
  double centre = 0.0;
  double fwhm = 0.0;
};

struct PeakFitRequest {
  PeakGuess peak;
  // Other peaks of the profile near the peak. Those whose flanks reach into the fitted
  // range are fitted with it, each as a pseudo-Voigt of its own, so that a sample peak two
  // widths away does not pull the centre; the nearest one on each side is taken.
  std::vector<PeakGuess> neighbours;
  double step = 0.0;  // the profile's step near the peak, degrees
  // The widest peak the fit looks for; the range it fits grows with the width.
  double maxFwhm = 0.5;
  // Each peak (the neighbours too) as a K-alpha doublet: K-alpha2 of the same shape at
  // KAlpha2TwoTheta of the centre and kKAlpha2HeightShare of the height. The centre is
  // K-alpha1's.
  bool kAlpha2 = false;
  // K-alpha2's wavelength over K-alpha1's: copper's, or another tube's.
  double kAlpha2Ratio = kKAlpha2WavelengthRatio;
};

struct PeakFit {
  bool converged = false;
  PeakShape peak;
  std::vector<PeakShape> neighbours;  // those that were fitted with the peak
  StraightBackground background;
  double low = 0.0;  // the fitted range of two-theta
  double high = 0.0;
  std::size_t pointCount = 0;
  double residualRms = 0.0;  // sqrt(sum of squared residuals / (points - parameters))
  // The standard uncertainty of peak.centre: the covariance of the fit, each point's
  // variance in proportion to the model there (counting statistics), scaled by what the
  // residuals leave; 0 when it cannot be told.
  double centreSu = 0.0;
  bool kAlpha2 = false;  // each peak is a K-alpha doublet (peak and neighbours K-alpha1's)
  double kAlpha2Ratio = kKAlpha2WavelengthRatio;

  // The fitted model at twoTheta: background, peak and neighbours (with K-alpha2).
  double At(double twoTheta) const;
};

// Fits a pseudo-Voigt on a straight background to the points (sorted by two-theta) within
// centre +- max(1.5 fwhm, 3.5 steps), by Levenberg-Marquardt least squares from the guess;
// the range follows the fitted centre and width until it holds the same points twice
// (four rounds at most). Not converged when the range holds too few points for the
// parameters, or the fit leaves the range.
//
//   points of 100 * exp(-4 ln 2 ((x - 28.4417) / 0.08)^2) + 20 at steps of 0.01,
//   guess {28.44, 0.1}  -> converged, peak.centre 28.4417, fwhm 0.08, Height() 100
PeakFit FitPeak(std::span<const ProfilePoint> points, const PeakFitRequest& request);

}  // namespace pellum
