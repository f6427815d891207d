#pragma once

#include <span>
#include <vector>

#include "peaks/peak_fit.h"
#include "peaks/profile_points.h"

namespace pellum {

// The finder works on intensities of one size whatever the profile's unit: counts, counts
// per second, or numbers near 1e-300 or 1e300, whose squares a least-squares fit could not
// hold. The scale is a power of two, so that scaling and scaling back are exact.

// The power of two that brings the largest intensity between 4096 and 8192; 1 for a
// profile without any intensity.
//   largest 3139.3 -> 2        largest 1e300 -> 2^-984
double IntensityScale(std::span<const ProfilePoint> points);

// The points with their intensities multiplied by scale.
std::vector<ProfilePoint> ScaledIntensities(std::span<const ProfilePoint> points, double scale);

// A fit's heights, background and residual scatter multiplied by scale.
void ScaleFit(PeakFit& fit, double scale);

}  // namespace pellum
