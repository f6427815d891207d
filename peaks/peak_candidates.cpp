#include "peaks/peak_candidates.h"

#include <algorithm>
#include <cmath>

namespace pellum {
namespace {

double Median(std::vector<double> values) {
  if (values.empty()) {
    return 0.0;
  }
  const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

// The profile smoothed with a triangular window, and at each point the factor by which
// the smoothing lowers the noise.
struct Smoothed {
  std::vector<double> values;
  std::vector<double> noiseFactors;
};

Smoothed Smooth(std::span<const ProfilePoint> points, double halfWidth) {
  Smoothed smoothed;
  smoothed.values.resize(points.size());
  smoothed.noiseFactors.resize(points.size());
  std::size_t first = 0;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const double x = points[i].twoTheta;
    while (points[first].twoTheta < x - halfWidth) {
      ++first;
    }
    double weights = 0.0;
    double squares = 0.0;
    double sum = 0.0;
    for (std::size_t j = first; j < points.size() && points[j].twoTheta <= x + halfWidth; ++j) {
      const double w = 1.0 - std::abs(points[j].twoTheta - x) / halfWidth;
      weights += w;
      squares += w * w;
      sum += w * points[j].intensity;
    }
    smoothed.values[i] = sum / weights;
    smoothed.noiseFactors[i] = std::sqrt(squares) / weights;
  }
  return smoothed;
}

// How far the maximum at i rises above the higher of the lowest values on its two sides,
// each side searched up to higher ground or reach degrees away; the width at half that
// rise comes with it. A rise of more than `rise` after a valley is another peak.
struct Prominence {
  double rise = 0.0;
  double fwhm = 0.0;
};

Prominence Measure(std::span<const ProfilePoint> points, const std::vector<double>& s,
                   std::size_t i, double reach, double rise) {
  const double top = s[i];
  const double x = points[i].twoTheta;
  double lowLeft = top;
  for (std::size_t j = i; j-- > 0 && x - points[j].twoTheta <= reach && s[j] <= top;) {
    lowLeft = std::min(lowLeft, s[j]);
  }
  double lowRight = top;
  for (std::size_t j = i + 1; j < s.size() && points[j].twoTheta - x <= reach && s[j] <= top; ++j) {
    lowRight = std::min(lowRight, s[j]);
  }
  Prominence prominence;
  prominence.rise = top - std::max(lowLeft, lowRight);
  const double half = top - 0.5 * prominence.rise;
  // Where the smoothed profile crosses half the rise on each side, between two points; or,
  // when it rises again first by more than its noise (a neighbour's flank), the valley.
  const auto crossing = [&](int direction) {
    std::size_t j = i;
    std::size_t valley = i;
    while (true) {
      const bool atEnd = direction < 0 ? j == 0 : j + 1 >= s.size();
      const std::size_t next = direction < 0 ? j - 1 : j + 1;
      if (atEnd || std::abs(points[next].twoTheta - x) > reach) {
        return std::abs(points[j].twoTheta - x);
      }
      if (s[next] > s[valley] + rise) {
        return std::abs(points[valley].twoTheta - x);
      }
      if (s[next] <= half) {
        const double t = (s[j] - half) / (s[j] - s[next]);
        return std::abs(points[j].twoTheta + t * (points[next].twoTheta - points[j].twoTheta) - x);
      }
      j = next;
      if (s[j] < s[valley]) {
        valley = j;
      }
    }
  };
  prominence.fwhm = crossing(-1) + crossing(+1);
  return prominence;
}

}  // namespace

double TypicalStep(std::span<const ProfilePoint> points) {
  std::vector<double> steps;
  steps.reserve(points.size());
  for (std::size_t i = 1; i < points.size(); ++i) {
    steps.push_back(points[i].twoTheta - points[i - 1].twoTheta);
  }
  return Median(std::move(steps));
}

double NoiseLevel(std::span<const ProfilePoint> points) {
  std::vector<double> deviations;
  deviations.reserve(points.size());
  for (std::size_t i = 1; i + 1 < points.size(); ++i) {
    const ProfilePoint& a = points[i - 1];
    const ProfilePoint& b = points[i];
    const ProfilePoint& c = points[i + 1];
    const double span = c.twoTheta - a.twoTheta;
    if (!(span > 0.0)) {
      continue;
    }
    // b against the line through a and c; with noise s on each point the difference has
    // s * sqrt(1 + wa^2 + wc^2).
    const double wa = (c.twoTheta - b.twoTheta) / span;
    const double wc = (b.twoTheta - a.twoTheta) / span;
    const double line = wa * a.intensity + wc * c.intensity;
    deviations.push_back(std::abs(b.intensity - line) / std::sqrt(1.0 + wa * wa + wc * wc));
  }
  return 1.4826 * Median(std::move(deviations));
}

std::vector<PeakCandidate> FindPeakCandidates(std::span<const ProfilePoint> points, double low,
                                              double high, double reach, double noise,
                                              double minStrength) {
  std::vector<PeakCandidate> candidates;
  if (points.size() < 3) {
    return candidates;
  }
  const double step = TypicalStep(points);
  const Smoothed smoothed = Smooth(points, std::max(0.02, 1.2 * step));
  const std::vector<double>& s = smoothed.values;
  for (std::size_t i = 1; i + 1 < points.size(); ++i) {
    // A maximum; on a flat top, its first point.
    if (!(s[i] > s[i - 1] && s[i] >= s[i + 1]) || points[i].twoTheta < low ||
        points[i].twoTheta > high) {
      continue;
    }
    const double smoothedNoise = noise * smoothed.noiseFactors[i];
    const Prominence prominence = Measure(points, s, i, reach, 2.0 * smoothedNoise);
    const double strength = smoothedNoise > 0.0     ? prominence.rise / smoothedNoise
                            : prominence.rise > 0.0 ? HUGE_VAL
                                                    : 0.0;
    if (strength >= minStrength) {
      candidates.push_back({points[i].twoTheta, prominence.fwhm, strength});
    }
  }
  std::stable_sort(
      candidates.begin(), candidates.end(),
      [](const PeakCandidate& a, const PeakCandidate& b) { return a.strength > b.strength; });
  return candidates;
}

}  // namespace pellum
