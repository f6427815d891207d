#include "peaks/radiation_lines.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "peaks/peak_candidates.h"
#include "peaks/peak_fit.h"

namespace pellum {
namespace {

constexpr std::size_t kProbes = 3;

}  // namespace

bool ShowsKAlpha2(std::span<const ProfilePoint> points, const SiliconSearch& single,
                  const SiliconFinderOptions& options) {
  return ShowsKAlpha2(points, std::span<const ReflectionSearch>(single.reflections), options,
                      kProbes, false);
}

bool ShowsKAlpha2(std::span<const ProfilePoint> points, std::span<const ReflectionSearch> single,
                  const SiliconFinderOptions& options, std::size_t probes, bool byMedian) {
  // The clearest three tell it: the doublet fits cost more than the search's own.
  std::vector<const ReflectionSearch*> fitted;
  for (const ReflectionSearch& r : single) {
    if ((r.Found() || r.verdict == PeakVerdict::NotSilicon) && r.fit.residualRms > 0.0) {
      fitted.push_back(&r);
    }
  }
  std::sort(fitted.begin(), fitted.end(),
            [](const ReflectionSearch* a, const ReflectionSearch* b) { return a->snr > b->snr; });
  fitted.resize(std::min<std::size_t>(fitted.size(), probes));
  double logRatio = 0.0;
  int compared = 0;
  std::vector<double> logRatios;
  for (const ReflectionSearch* probe : fitted) {
    const ReflectionSearch& r = *probe;
    const auto byTwoTheta = [](const ProfilePoint& p, double x) { return p.twoTheta < x; };
    const auto first = std::lower_bound(points.begin(), points.end(), r.fit.low, byTwoTheta);
    const auto last = std::lower_bound(first, points.end(), r.fit.high, byTwoTheta);
    PeakFitRequest request;
    request.step = std::max(TypicalStep({first, last}), kProfileBinWidth);
    request.peak = {r.position, r.fwhm};
    // Both fits without a neighbour where K-alpha2 would stand: a single peak fitted with
    // its resolved K-alpha2 as a neighbour would fit as well as the doublet.
    const double own = KAlpha2TwoTheta(r.position, options.kAlpha2Ratio);
    for (const PeakShape& neighbour : r.fit.neighbours) {
      if (std::abs(neighbour.centre - own) >= 0.5 * r.fwhm) {
        request.neighbours.push_back({neighbour.centre, neighbour.fwhm});
      }
    }
    request.maxFwhm = options.maxFwhm;
    request.kAlpha2Ratio = options.kAlpha2Ratio;
    const PeakFit single = FitPeak(points, request);
    request.kAlpha2 = true;
    const PeakFit doublet = FitPeak(points, request);
    if (single.converged && doublet.converged && single.residualRms > 0.0 &&
        doublet.residualRms > 0.0) {
      logRatio += 2.0 * std::log(doublet.residualRms / single.residualRms);
      logRatios.push_back(2.0 * std::log(doublet.residualRms / single.residualRms));
      ++compared;
    }
  }
  if (byMedian && compared > 0) {
    std::sort(logRatios.begin(), logRatios.end());
    const std::size_t middle = logRatios.size() / 2;
    const double median = logRatios.size() % 2 == 1
                              ? logRatios[middle]
                              : 0.5 * (logRatios[middle - 1] + logRatios[middle]);
    return median < 0.0;
  }
  return compared > 0 && logRatio < 0.0;
}

}  // namespace pellum
