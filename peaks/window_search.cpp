#include "peaks/window_search.h"

#include <algorithm>
#include <cmath>

#include "peaks/reflection_checks.h"

namespace pellum {
namespace {

// Candidates weaker than this are noise for certain; the fit decides about the rest.
constexpr double kCandidateStrength = 3.0;
// How many candidates of a window are fitted, nearest to the prediction first.
constexpr std::size_t kTriesPerWindow = 4;

std::span<const ProfilePoint> Within(std::span<const ProfilePoint> points, double low,
                                     double high) {
  const auto byTwoTheta = [](const ProfilePoint& p, double x) { return p.twoTheta < x; };
  const auto first = std::lower_bound(points.begin(), points.end(), low, byTwoTheta);
  auto last = first;
  while (last != points.end() && last->twoTheta <= high) {
    ++last;
  }
  return {first, last};
}

// Points of the profile on each side of centre within reach: a peak needs both flanks.
bool FlanksCovered(std::span<const ProfilePoint> points, double centre, double fwhm, double step) {
  const double reach = std::max(fwhm, 2.0 * step);
  std::size_t below = 0;
  std::size_t above = 0;
  for (const ProfilePoint& p : Within(points, centre - reach, centre + reach)) {
    (p.twoTheta < centre ? below : above) += 1;
  }
  // A gap wider than half the width on a flank, or the profile's end, leaves too few.
  const double needed = std::max(2.0, 0.5 * reach / std::max(step, kProfileBinWidth));
  return static_cast<double>(below) >= needed && static_cast<double>(above) >= needed;
}

PeakVerdict Judge(const PeakFit& fit, const Zone& zone, const ReflectionSearch& r,
                  const SiliconFinderOptions& o, double& snr) {
  const PeakShape& peak = fit.peak;
  const double height = peak.Height();
  if (!fit.converged || !(height > 0.0)) {
    return PeakVerdict::NoPeak;
  }
  // Not below a millionth of the height: a profile without noise is certain, not infinite.
  const double noise = std::max({zone.noise, fit.residualRms, 1e-6 * height});
  snr = height / noise;
  if (snr < o.minSnr) {
    return PeakVerdict::Faint;
  }
  if (peak.fwhm < std::max(o.minFwhm, zone.step) || peak.fwhm > o.maxFwhm) {
    return PeakVerdict::ImplausibleWidth;
  }
  const double margin = 0.5 * peak.fwhm;
  if (peak.centre < r.windowLow + margin || peak.centre > r.windowHigh - margin) {
    return PeakVerdict::AtWindowEdge;
  }
  if (!FlanksCovered(zone.points, peak.centre, peak.fwhm, zone.step)) {
    return PeakVerdict::AtProfileEdge;
  }
  return PeakVerdict::Found;
}

void Take(ReflectionSearch& r, const PeakFit& fit, PeakVerdict verdict, double snr) {
  r.verdict = verdict;
  r.fit = fit;
  r.position = fit.peak.centre;
  r.height = fit.peak.Height();
  r.fwhm = fit.peak.fwhm;
  r.snr = snr;
  // A fit whose covariance cannot be told is as uncertain as its width over its clarity.
  r.su = fit.centreSu > 0.0 && std::isfinite(fit.centreSu) ? fit.centreSu
                                                           : fit.peak.fwhm / std::max(snr, 1.0);
}

// How near the line through the others a found reflection must lie, at least: beyond a
// film's own bends, and a step.
constexpr double kLineFloor = 0.05;
// How far from the line through the others a found reflection may lie before it is taken
// for a blend with a sample line: beyond the bends of a film's scale.
constexpr double kBlendFloor = 0.03;

}  // namespace

// Options beyond these would make the reach, and the memory it takes, grow without use.
SiliconFinderOptions Bounded(SiliconFinderOptions o) {
  o.window = std::clamp(o.window, 0.05, 2.0);
  o.maxOffset = std::clamp(o.maxOffset, 0.0, 3.0);
  o.maxFwhm = std::clamp(o.maxFwhm, 0.005, 1.0);
  o.minFwhm = std::clamp(o.minFwhm, 0.0, o.maxFwhm);
  o.maxScale = std::clamp(o.maxScale, 0.0, 0.05);
  return o;
}

Zone MakeZone(std::span<const ProfilePoint> points, double reference,
              const SiliconFinderOptions& o) {
  Zone zone;
  const double candidateReach = o.maxOffset + o.window;
  zone.points = Within(points, reference - candidateReach - 2.0 * o.maxFwhm,
                       reference + candidateReach + 2.0 * o.maxFwhm);
  zone.step = TypicalStep(zone.points);
  zone.noise = NoiseLevel(zone.points);
  zone.candidates =
      FindPeakCandidates(zone.points, reference - candidateReach, reference + candidateReach,
                         1.5 * o.maxFwhm, zone.noise, kCandidateStrength);
  return zone;
}

// The window's candidates, nearest the prediction first, are fitted until one is found;
// each fit starts from the candidate's own width, or from width when it is not 0.
double PlaceWindow(ReflectionSearch& r, double reference, const FilmOffset& offset,
                   const SiliconFinderOptions& o) {
  const double predicted =
      std::clamp(offset.At(reference), reference - o.maxOffset, reference + o.maxOffset);
  r.reference = reference;
  r.windowLow = predicted - o.window;
  r.windowHigh = predicted + o.window;
  return predicted;
}

void SearchWindow(ReflectionSearch& r, const Zone& zone, double predicted,
                  const SiliconFinderOptions& o, double width) {
  std::vector<const PeakCandidate*> inWindow;
  for (const PeakCandidate& c : zone.candidates) {
    if (c.centre >= r.windowLow && c.centre <= r.windowHigh) {
      inWindow.push_back(&c);
    }
  }
  std::stable_sort(inWindow.begin(), inWindow.end(),
                   [predicted](const PeakCandidate* a, const PeakCandidate* b) {
                     return std::abs(a->centre - predicted) < std::abs(b->centre - predicted);
                   });
  const double step = std::max(zone.step, kProfileBinWidth);
  for (std::size_t t = 0; t < inWindow.size() && t < kTriesPerWindow; ++t) {
    PeakFitRequest request;
    const double guess = width > 0.0 ? width : inWindow[t]->fwhm;
    request.peak = {inWindow[t]->centre, std::clamp(guess, 2.0 * step, o.maxFwhm)};
    for (const PeakCandidate& other : zone.candidates) {
      if (&other != inWindow[t]) {
        request.neighbours.push_back({other.centre, std::clamp(other.fwhm, 2.0 * step, o.maxFwhm)});
      }
    }
    request.step = step;
    request.maxFwhm = o.maxFwhm;
    request.kAlpha2 = o.radiationLines == RadiationLines::KAlpha12;
    request.kAlpha2Ratio = o.kAlpha2Ratio;
    const PeakFit fit = FitPeak(zone.points, request);
    double snr = 0.0;
    const PeakVerdict verdict = Judge(fit, zone, r, o, snr);
    if (verdict == PeakVerdict::Found || t == 0) {
      Take(r, fit, verdict, snr);
    }
    if (verdict == PeakVerdict::Found) {
      return;
    }
  }
}

void CheckAcross(std::span<ReflectionSearch> reflections, std::span<const double> predicted,
                 const SiliconFinderOptions& o, double step) {
  DropSharedPeaks(reflections, predicted);
  DropImplausibleWidths(reflections);
  DropOffTheLine(reflections, o.agreement, o.maxScale, std::max(kLineFloor, 2.0 * step));
  DropBlends(reflections, std::max(kBlendFloor, 2.0 * step));
}

}  // namespace pellum
