#pragma once

#include <span>
#include <vector>

#include "peaks/profile_points.h"

namespace pellum {

// A place where the profile rises clearly above its surroundings: where to start a fit.
struct PeakCandidate {
  double centre = 0.0;    // the smoothed profile's maximum
  double fwhm = 0.0;      // its width at half its prominence
  double strength = 0.0;  // its prominence over the noise of the smoothed profile
};

// The median distance between neighbouring points: the profile's step. 0 for fewer than
// two points.
double TypicalStep(std::span<const ProfilePoint> points);

// The scatter of the intensities from point to point, robustly: 1.4826 times the median
// distance of each point from the straight line through its two neighbours, scaled for
// the neighbours' own scatter. Peaks, a sloping background and a few outliers leave it
// as it is; 0 for a profile without noise or with fewer than three points.
double NoiseLevel(std::span<const ProfilePoint> points);

// The candidates whose maxima lie in [low, high], strongest first, among points sorted by
// two-theta. The profile is smoothed over max(0.02 degree, 1.2 steps) on each side, so
// that noise does not split a peak; a maximum's prominence is how far it rises above the
// higher of the lowest points on its two sides, before higher ground or reach degrees.
// Only maxima of at least minStrength are candidates.
//
//   a flat profile with noise 10 and one peak of 200 at 47.2 -> one candidate, centre
//   47.2 within a step, strength well above 10
std::vector<PeakCandidate> FindPeakCandidates(std::span<const ProfilePoint> points, double low,
                                              double high, double reach, double noise,
                                              double minStrength);

}  // namespace pellum
