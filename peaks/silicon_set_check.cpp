#include "peaks/silicon_set_check.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "calib/reference_table.h"
#include "peaks/line_sums.h"
#include "peaks/peak_candidates.h"
#include "peaks/peak_fit.h"

namespace pellum {
namespace {

// An extra line is strong from this share of the strongest found (height times width):
// a fluorite-type oxide's 2 0 0 is about a third of its 1 1 1.
constexpr double kStrongExtraShare = 0.2;
// How far on each side of a reflection's place the profile must go to cover it.
constexpr double kCoverReach = 0.3;
constexpr std::size_t kCoverPoints = 3;

double Area(const ReflectionSearch& r) {
  return r.height * r.fwhm;
}

std::span<const ProfilePoint> Within(std::span<const ProfilePoint> points, double low,
                                     double high) {
  const auto byTwoTheta = [](const ProfilePoint& p, double x) { return p.twoTheta < x; };
  const auto first = std::lower_bound(points.begin(), points.end(), low, byTwoTheta);
  const auto last = std::lower_bound(first, points.end(), high, byTwoTheta);
  return {first, last};
}

}  // namespace

bool CoversPlace(std::span<const ProfilePoint> points, double at) {
  return Within(points, at - kCoverReach, at).size() >= kCoverPoints &&
         Within(points, at, at + kCoverReach).size() >= kCoverPoints;
}

namespace {

SetLine FitSetLine(std::span<const ReflectionSearch> reflections, double maxScale) {
  LineSums sums;
  for (const ReflectionSearch& r : reflections) {
    if (r.Found())
      sums.Add(r.reference - FilmOffset::kOffsetPivot, r.position - r.reference);
  }
  SetLine line;
  line.scale = sums.Slope();
  line.shift = sums.Intercept(line.scale);
  const double bounded = std::clamp(line.scale, -maxScale, maxScale);
  double low = 0.0, high = 0.0;
  bool first = true;
  for (const ReflectionSearch& r : reflections) {
    if (r.Found()) {
      const double left =
          r.position - r.reference - bounded * (r.reference - FilmOffset::kOffsetPivot);
      low = first ? left : std::min(low, left);
      high = first ? left : std::max(high, left);
      first = false;
    }
  }
  line.boundedHalfSpread = 0.5 * (high - low);
  return line;
}

double SetMedianWidth(std::span<const ReflectionSearch> reflections) {
  std::vector<double> widths;
  for (const ReflectionSearch& r : reflections) {
    if (r.Found()) {
      widths.push_back(r.fwhm);
    }
  }
  std::sort(widths.begin(), widths.end());
  return widths.empty() ? 0.0 : widths[widths.size() / 2];
}

}  // namespace

SetMeasures MeasureSet(std::span<const ReflectionSearch> reflections,
                       std::span<const ProfilePoint> points, double maxScale) {
  SetMeasures m;
  m.step = std::max(TypicalStep(points), kProfileBinWidth);
  m.line = FitSetLine(reflections, maxScale);
  m.otherPhaseScale = std::abs(m.line.scale) > maxScale &&
                      m.line.boundedHalfSpread > std::max(kScaleTolerance, m.step);
  m.width = SetMedianWidth(reflections);
  m.tolerance = std::max({0.05, 2.0 * m.step, 0.5 * m.width});
  return m;
}

bool StrongLineAt(std::span<const ProfilePoint> points, double at, double tolerance, double width,
                  double step, double strongestArea, const SiliconFinderOptions& o) {
  const std::span<const ProfilePoint> zone =
      Within(points, at - o.window - 2.0 * o.maxFwhm, at + o.window + 2.0 * o.maxFwhm);
  const double noise = NoiseLevel(zone);
  const std::vector<PeakCandidate> candidates =
      FindPeakCandidates(zone, at - o.window, at + o.window, 1.5 * o.maxFwhm, noise, 3.0);
  for (const PeakCandidate& c : candidates) {
    if (std::abs(c.centre - at) > tolerance) {
      continue;
    }
    PeakFitRequest request;
    request.peak = {c.centre, std::clamp(width, 2.0 * step, o.maxFwhm)};
    for (const PeakCandidate& other : candidates) {
      if (&other != &c) {
        request.neighbours.push_back({other.centre, std::clamp(other.fwhm, 2.0 * step, o.maxFwhm)});
      }
    }
    request.step = step;
    request.maxFwhm = o.maxFwhm;
    request.kAlpha2 = o.radiationLines == RadiationLines::KAlpha12;
    request.kAlpha2Ratio = o.kAlpha2Ratio;
    const PeakFit fit = FitPeak(zone, request);
    const double height = fit.peak.Height();
    if (fit.converged && height > 0.0 && std::abs(fit.peak.centre - at) <= tolerance &&
        height >= o.minSnr * std::max({noise, fit.residualRms, 1e-6 * height}) &&
        height * fit.peak.fwhm >= kStrongExtraShare * strongestArea) {
      return true;
    }
  }
  return false;
}

double FluoriteExtraTwoTheta(std::size_t index) {
  constexpr double kDegree = 3.14159265358979323846 / 180.0;
  const double sin111 = std::sin(0.5 * ReferenceTable[0].twoTheta * kDegree);
  const double ratio = std::sqrt(kFluoriteExtraLines[index].squares / 3.0);
  return 2.0 * std::asin(sin111 * ratio) / kDegree;
}

void DropUnlikeSilicon(std::span<ReflectionSearch, 6> reflections) {
  std::array<bool, 6> unlike{};
  for (std::size_t j = 0; j < reflections.size(); ++j) {
    double stronger = 0.0;
    bool any = false;
    for (std::size_t i = 0; i < reflections.size(); ++i) {
      if (reflections[i].Found() && kSiliconIntensities[i] >= 2.0 * kSiliconIntensities[j]) {
        stronger = std::max(stronger, Area(reflections[i]));
        any = true;
      }
    }
    unlike[j] = reflections[j].Found() && any && Area(reflections[j]) > 2.0 * stronger;
  }
  for (std::size_t j = 0; j < reflections.size(); ++j) {
    if (unlike[j]) {
      reflections[j].verdict = PeakVerdict::UnlikeSilicon;
    }
  }
}

SiliconSetCheck CheckSiliconSet(std::span<const ReflectionSearch, 6> reflections,
                                std::span<const ProfilePoint> points,
                                std::span<const double, 6> predicted,
                                const SiliconFinderOptions& o) {
  SiliconSetCheck check;
  int found = 0;
  double strongestArea = 0.0;
  for (std::size_t k = 0; k < reflections.size(); ++k) {
    if (CoversPlace(points, predicted[k])) {
      ++check.covered;
      if (check.covered == 1 || kSiliconIntensities[k] > kSiliconIntensities[check.strongest]) {
        check.strongest = k;
      }
    }
    if (reflections[k].Found()) {
      ++found;
      strongestArea = std::max(strongestArea, Area(reflections[k]));
    }
  }
  // A clear peak there whose place a sample line spoiled (dropped as shared, off the line or
  // too strong) still shows silicon's strongest line; only an empty window lacks it.
  const PeakVerdict strongest = reflections[check.strongest].verdict;
  check.strongestFound = check.covered == 0 || strongest == PeakVerdict::Found ||
                         strongest == PeakVerdict::Shared || strongest == PeakVerdict::OffTheLine ||
                         strongest == PeakVerdict::UnlikeSilicon;
  const SetMeasures m = MeasureSet(reflections, points, o.maxScale);
  check.scale = m.line.scale;
  if (m.otherPhaseScale) {
    check.refusal = SetRefusal::OtherPhaseScale;
    return check;
  }
  for (std::size_t e = 0; e < kFluoriteExtraLines.size(); ++e) {
    const double at = m.line.At(FluoriteExtraTwoTheta(e));
    if (CoversPlace(points, at) &&
        StrongLineAt(points, at, m.tolerance, m.width, m.step, strongestArea, o)) {
      check.refusal = SetRefusal::FluoriteLines;
      check.extraHkl = kFluoriteExtraLines[e].hkl;
      check.extraPosition = at;
      return check;
    }
  }
  if (found == 2 && check.covered > 2) {
    check.refusal = SetRefusal::TooFewLines;
  } else if (!check.strongestFound) {
    check.refusal = SetRefusal::NotStrongest;
  }
  return check;
}

}  // namespace pellum
