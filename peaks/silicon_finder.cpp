#include "peaks/silicon_finder.h"

#include <algorithm>
#include <cmath>

#include "calib/reference_table.h"
#include "peaks/intensity_scale.h"
#include "peaks/peak_candidates.h"
#include "peaks/radiation_lines.h"
#include "peaks/reflection_checks.h"
#include "peaks/silicon_set_check.h"
#include "peaks/window_search.h"

namespace pellum {
namespace {

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
    predicted[k] = PlaceWindow(r, references[k], search.offset, o);
    SearchWindow(r, zones[k], predicted[k], o);
  }
  CheckAcross(search.reflections, predicted, o, coarsestStep);
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
      CheckAcross(search.reflections, predicted, o, coarsestStep);
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
  std::vector<ProfilePoint> points;
  if (!ReadProfileFile(path, SiliconReach(options), points, messages))
    return false;
  search = FindSiliconReflections(points, options);
  return true;
}

}  // namespace pellum
