#include "peaks/silicon_finder.h"

#include <algorithm>
#include <cmath>

#include "calib/reference_table.h"
#include "io/input_file.h"
#include "peaks/intensity_scale.h"
#include "peaks/peak_candidates.h"
#include "peaks/radiation_lines.h"
#include "peaks/reflection_checks.h"
#include "peaks/silicon_set_check.h"
#include "ui/user_texts.h"

namespace pellum {
namespace {

// Candidates weaker than this are noise for certain; the fit decides about the rest.
constexpr double kCandidateStrength = 3.0;
// How many candidates of a window are fitted, nearest to the prediction first.
constexpr std::size_t kTriesPerWindow = 4;

// Options beyond these would make the reach, and the memory it takes, grow without use.
SiliconFinderOptions Bounded(SiliconFinderOptions o) {
  o.window = std::clamp(o.window, 0.05, 2.0);
  o.maxOffset = std::clamp(o.maxOffset, 0.0, 3.0);
  o.maxFwhm = std::clamp(o.maxFwhm, 0.005, 1.0);
  o.minFwhm = std::clamp(o.minFwhm, 0.0, o.maxFwhm);
  o.maxScale = std::clamp(o.maxScale, 0.0, 0.05);
  return o;
}

// One reflection's part of the profile: where its candidates come from and its peak is
// fitted.
struct Zone {
  std::span<const ProfilePoint> points;
  double step = 0.0;
  double noise = 0.0;
  std::vector<PeakCandidate> candidates;
};

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

// The window's candidates, nearest the prediction first, are fitted until one is found;
// each fit starts from the candidate's own width, or from width when it is not 0.
void SearchWindow(ReflectionSearch& r, const Zone& zone, double predicted,
                  const SiliconFinderOptions& o, double width = 0.0) {
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

// How near the line through the others a found reflection must lie, at least: beyond a
// film's own bends, and a step.
constexpr double kLineFloor = 0.05;
// How far from the line through the others a found reflection may lie before it is taken
// for a blend with a sample line: beyond the bends of a film's scale.
constexpr double kBlendFloor = 0.03;

void CheckAcross(SiliconSearch& search, std::span<const double, 6> predicted,
                 const SiliconFinderOptions& o, double step) {
  DropSharedPeaks(search.reflections, predicted);
  DropImplausibleWidths(search.reflections);
  DropOffTheLine(search.reflections, o.agreement, o.maxScale, std::max(kLineFloor, 2.0 * step));
  DropBlends(search.reflections, std::max(kBlendFloor, 2.0 * step));
}

SiliconSearch SearchScaled(std::span<const ProfilePoint> points, const SiliconFinderOptions& o);

}  // namespace

int SiliconSearch::FoundCount() const {
  return static_cast<int>(std::count_if(reflections.begin(), reflections.end(),
                                        [](const ReflectionSearch& r) { return r.Found(); }));
}

std::vector<TwoThetaSpan> SiliconReach(const SiliconFinderOptions& options) {
  const SiliconFinderOptions o = Bounded(options);
  const double reach = o.maxOffset + o.window + 2.0 * o.maxFwhm;
  std::vector<TwoThetaSpan> spans;
  for (const ReferenceReflection& reflection : ReferenceTable) {
    spans.push_back({reflection.twoTheta - reach, reflection.twoTheta + reach});
  }
  // Where a fluorite-type cell of silicon's size has lines that silicon has not.
  for (std::size_t e = 0; e < kFluoriteExtraLines.size(); ++e) {
    const double at = FluoriteExtraTwoTheta(e);
    spans.push_back({at - reach, at + reach});
  }
  return spans;
}

SiliconSearch FindSiliconReflections(std::span<const ProfilePoint> profile,
                                     const SiliconFinderOptions& options) {
  // Intensities of one size, whatever the profile's unit; heights are given back in it.
  const double intensityScale = IntensityScale(profile);
  const std::vector<ProfilePoint> points = ScaledIntensities(profile, intensityScale);
  SiliconFinderOptions o = Bounded(options);
  SiliconSearch search;
  if (o.radiationLines != RadiationLines::Auto) {
    search = SearchScaled(points, o);
  } else {
    o.radiationLines = RadiationLines::KAlpha1;
    search = SearchScaled(points, o);
    const bool usable = !search.Refused() && search.FoundCount() >= 2;
    if (ShowsKAlpha2(points, search, o)) {
      o.radiationLines = RadiationLines::KAlpha12;
      search = SearchScaled(points, o);
    } else if (!usable) {
      // Beside a strong sample the clearest peaks may be the sample's: where single peaks
      // give no set, the doublets' set is taken when its own peaks show K-alpha2.
      o.radiationLines = RadiationLines::KAlpha12;
      SiliconSearch doublets = SearchScaled(points, o);
      if (!doublets.Refused() && doublets.FoundCount() >= 2 && ShowsKAlpha2(points, doublets, o)) {
        search = std::move(doublets);
      }
    }
  }
  for (ReflectionSearch& r : search.reflections) {
    r.height /= intensityScale;
    ScaleFit(r.fit, 1.0 / intensityScale);
  }
  return search;
}

namespace {

SiliconSearch SearchScaled(std::span<const ProfilePoint> points, const SiliconFinderOptions& o) {
  std::array<double, ReferenceTable.size()> references{};
  std::vector<Zone> zones;
  std::vector<std::vector<PeakCandidate>> offsetCandidates;
  for (std::size_t k = 0; k < ReferenceTable.size(); ++k) {
    references[k] = ReferenceTable[k].twoTheta;
    zones.push_back(MakeZone(points, references[k], o));
    std::vector<PeakCandidate>& near = offsetCandidates.emplace_back();
    for (const PeakCandidate& c : zones[k].candidates) {
      if (std::abs(c.centre - references[k]) <= o.maxOffset) {
        near.push_back(c);
      }
    }
  }
  double coarsestStep = 0.0;
  for (const Zone& zone : zones) {
    coarsestStep = std::max(coarsestStep, zone.step);
  }
  SiliconSearch search;
  search.offset = EstimateFilmOffset(references, offsetCandidates,
                                     {std::max(0.05, 2.0 * coarsestStep), o.maxScale});
  std::array<double, ReferenceTable.size()> predicted{};
  for (std::size_t k = 0; k < ReferenceTable.size(); ++k) {
    ReflectionSearch& r = search.reflections[k];
    r.reference = references[k];
    predicted[k] = std::clamp(search.offset.At(references[k]), references[k] - o.maxOffset,
                              references[k] + o.maxOffset);
    r.windowLow = predicted[k] - o.window;
    r.windowHigh = predicted[k] + o.window;
    SearchWindow(r, zones[k], predicted[k], o);
  }
  CheckAcross(search, predicted, o, coarsestStep);
  // A broad, faint peak's candidate may start a fit on a bump of its top; a second look
  // at each window left empty starts from the width of the peaks found.
  if (const double width = MedianFoundWidth(search.reflections); width > 0.0) {
    bool again = false;
    for (std::size_t k = 0; k < ReferenceTable.size(); ++k) {
      ReflectionSearch& r = search.reflections[k];
      if (!r.Found() && r.verdict != PeakVerdict::AtProfileEdge) {
        SearchWindow(r, zones[k], predicted[k], o, width);
        again = again || r.Found();
      }
    }
    if (again) {
      CheckAcross(search, predicted, o, coarsestStep);
    }
  }
  search.kAlpha2 = o.radiationLines == RadiationLines::KAlpha12;
  DropUnlikeSilicon(search.reflections);
  if (search.FoundCount() >= 2) {
    search.check = CheckSiliconSet(search.reflections, points, predicted, o);
  }
  if (search.Refused()) {
    for (ReflectionSearch& r : search.reflections) {
      if (r.Found()) {
        r.verdict = PeakVerdict::NotSilicon;
      }
    }
  }
  return search;
}

}  // namespace

bool FindSiliconInProfile(const std::string& path, const SiliconFinderOptions& options,
                          SiliconSearch& search, MessageSink& messages) {
  InputFile input;
  if (!input.Open(path)) {
    messages.ShowMessage(path, texts::kCannotOpenFile, MessageKind::Error);
    return false;
  }
  const std::vector<TwoThetaSpan> reach = SiliconReach(options);
  const ProfileReading reading = ReadProfilePoints(input.Stream(), reach);
  switch (reading.outcome) {
    case ProfileReadOutcome::NoHeader:
      messages.ShowMessage(path, texts::kInvalidFormat, MessageKind::Error);
      return false;
    case ProfileReadOutcome::ReadFailed:
      messages.ShowMessage(path, texts::kCannotReadInput, MessageKind::Error);
      return false;
    case ProfileReadOutcome::Read:
      break;
  }
  search = FindSiliconReflections(reading.points, options);
  return true;
}

}  // namespace pellum
