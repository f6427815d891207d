#include "peaks/line_finder.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "calib/fixed_notation.h"
#include "peaks/intensity_scale.h"
#include "peaks/line_set_check.h"
#include "peaks/radiation_lines.h"
#include "peaks/reflection_checks.h"
#include "peaks/silicon_readings.h"
#include "peaks/window_search.h"
#include "ui/user_texts.h"

namespace pellum {
namespace {

// Readings end below this two-theta (the film's range): a line found beyond it, on a film
// whose offset lifts a line near the end of the reference, is no reading.
constexpr double kReadingLimit = 100.0;

// Lines at least this strong (of the strongest, 100) place the common offset; weaker ones
// would let a sample's many lines agree with the reference's many faint ones.
constexpr double kOffsetLineIntensity = 10.0;
// How many of the clearest lines tell whether the profile shows K-alpha2.
constexpr std::size_t kKAlpha2Probes = 6;

// The lines searched: every one, or the kMostSearchedLines strongest.
std::vector<bool> Searched(const LineSet& set) {
  std::vector<bool> searched(set.lines.size(), true);
  if (set.lines.size() <= kMostSearchedLines)
    return searched;
  std::vector<std::size_t> order(set.lines.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return set.lines[a].intensity > set.lines[b].intensity;
  });
  for (std::size_t i = kMostSearchedLines; i < order.size(); ++i)
    searched[order[i]] = false;
  return searched;
}

LineSearch SearchLines(std::span<const ProfilePoint> points, const LineSet& set,
                       const SiliconFinderOptions& o) {
  const std::size_t n = set.lines.size();
  const std::vector<bool> searched = Searched(set);
  std::vector<double> references(n);
  std::vector<Zone> zones(n);
  std::vector<std::vector<PeakCandidate>> offsetCandidates(n);
  double coarsestStep = 0.0;
  for (std::size_t k = 0; k < n; ++k) {
    references[k] = set.lines[k].twoTheta;
    if (!searched[k])
      continue;
    zones[k] = MakeZone(points, references[k], o);
    coarsestStep = std::max(coarsestStep, zones[k].step);
    if (set.lines[k].intensity < kOffsetLineIntensity)
      continue;
    for (const PeakCandidate& c : zones[k].candidates) {
      if (std::abs(c.centre - references[k]) <= o.maxOffset)
        offsetCandidates[k].push_back(c);
    }
  }
  LineSearch search;
  search.lines.resize(n);
  search.offset = EstimateFilmOffset(references, offsetCandidates,
                                     {std::max(0.05, 2.0 * coarsestStep), o.maxScale});
  std::vector<double> predicted(n);
  for (std::size_t k = 0; k < n; ++k) {
    ReflectionSearch& r = search.lines[k];
    predicted[k] = PlaceWindow(r, references[k], search.offset, o);
    if (searched[k])
      SearchWindow(r, zones[k], predicted[k], o);
  }
  CheckAcross(search.lines, predicted, o, coarsestStep);
  // A broad, faint peak's candidate may start a fit on a bump of its top: a second look at
  // each window left empty starts from the width of the peaks found.
  if (const double width = MedianFoundWidth(search.lines); width > 0.0) {
    bool again = false;
    for (std::size_t k = 0; k < n; ++k) {
      ReflectionSearch& r = search.lines[k];
      if (searched[k] && !r.Found() && r.verdict != PeakVerdict::AtProfileEdge) {
        SearchWindow(r, zones[k], predicted[k], o, width);
        again = again || r.Found();
      }
    }
    if (again)
      CheckAcross(search.lines, predicted, o, coarsestStep);
  }
  for (ReflectionSearch& r : search.lines) {
    if (r.Found() && r.position >= kReadingLimit)
      r.verdict = PeakVerdict::AtProfileEdge;
  }
  search.kAlpha2 = o.radiationLines == RadiationLines::KAlpha12;
  DropUnlikeReference(search.lines, set.lines);
  if (search.FoundCount() >= 2)
    search.check = CheckLineSet(search.lines, set, points, predicted, o);
  if (search.Refused()) {
    for (ReflectionSearch& r : search.lines) {
      if (r.Found())
        r.verdict = PeakVerdict::NotSilicon;
    }
  }
  return search;
}

}  // namespace

int LineSearch::FoundCount() const {
  return static_cast<int>(std::count_if(lines.begin(), lines.end(),
                                        [](const ReflectionSearch& r) { return r.Found(); }));
}

std::vector<TwoThetaSpan> LinesReach(const LineSet& set, const SiliconFinderOptions& options) {
  const SiliconFinderOptions o = Bounded(options);
  const double reach = o.maxOffset + o.window + 2.0 * o.maxFwhm;
  std::vector<TwoThetaSpan> spans;
  for (const FinderLine& line : set.lines)
    spans.push_back({line.twoTheta - reach, line.twoTheta + reach});
  for (const FinderLine& line : set.lookAlike)
    spans.push_back({line.twoTheta - reach, line.twoTheta + reach});
  return spans;
}

LineSearch FindReferenceLines(std::span<const ProfilePoint> profile, const LineSet& set,
                              const SiliconFinderOptions& options) {
  // Intensities of one size, whatever the profile's unit; heights are given back in it.
  const double intensityScale = IntensityScale(profile);
  const std::vector<ProfilePoint> points = ScaledIntensities(profile, intensityScale);
  SiliconFinderOptions o = Bounded(options);
  o.kAlpha2Ratio = set.kAlpha2Ratio;
  const bool doublets = set.kAlpha2Ratio > 0.0;
  if (!doublets)
    o.radiationLines = RadiationLines::KAlpha1;
  LineSearch search;
  if (o.radiationLines != RadiationLines::Auto) {
    search = SearchLines(points, set, o);
  } else {
    o.radiationLines = RadiationLines::KAlpha1;
    search = SearchLines(points, set, o);
    const bool usable = !search.Refused() && search.FoundCount() >= 2;
    if (ShowsKAlpha2(points, search.lines, o, kKAlpha2Probes, true)) {
      o.radiationLines = RadiationLines::KAlpha12;
      search = SearchLines(points, set, o);
    } else if (!usable) {
      // Beside a strong sample the clearest peaks may be the sample's: where single peaks
      // give no set, the doublets' set is taken when its own peaks show K-alpha2.
      o.radiationLines = RadiationLines::KAlpha12;
      LineSearch pairs = SearchLines(points, set, o);
      if (!pairs.Refused() && pairs.FoundCount() >= 2 &&
          ShowsKAlpha2(points, pairs.lines, o, kKAlpha2Probes, true))
        search = std::move(pairs);
    }
  }
  for (ReflectionSearch& r : search.lines) {
    r.height /= intensityScale;
    ScaleFit(r.fit, 1.0 / intensityScale);
  }
  return search;
}

bool FindLinesInProfile(const std::string& path, const LineSet& set,
                        const SiliconFinderOptions& options, LineSearch& search,
                        MessageSink& messages) {
  std::vector<ProfilePoint> points;
  if (!ReadProfileFile(path, LinesReach(set, options), points, messages))
    return false;
  search = FindReferenceLines(points, set, options);
  return true;
}

std::string LineHklText(const FinderLine& line) {
  return std::to_string(line.h) + ' ' + std::to_string(line.k) + ' ' + std::to_string(line.l);
}

std::string TwoThetaListText(const LineSearch& search) {
  std::string list;
  for (const ReflectionSearch& r : search.lines) {
    if (!list.empty())
      list += ',';
    list += ReadingText(r);
  }
  return list;
}

std::string RefusalText(const LineSearch& search, const LineSet& set) {
  const SiliconSetCheck& check = search.check;
  std::string text;
  switch (check.refusal) {
    case SetRefusal::None:
      break;
    case SetRefusal::OtherPhaseScale:
      text = std::string(texts::kOtherPhaseNear) + set.material + ": ";
      AppendFixed(text, 100.0 * std::abs(check.scale), 1);
      text += texts::kScaleSuffix;
      break;
    case SetRefusal::FluoriteLines:
    case SetRefusal::LookAlikeLines:
      text = std::string(texts::kLookAlikeLines) + check.extraHkl + " at ";
      AppendFixed(text, check.extraPosition, 2);
      text += std::string(texts::kWhere) + set.material + std::string(texts::kHasNone);
      break;
    case SetRefusal::TooFewLines:
      text = texts::kOnlyTwoLines;
      if (!check.strongestFound)
        text += std::string(texts::kNotTheStrongestOf) + set.material;
      else
        text += std::string(texts::kProfileCovers) + std::to_string(check.covered);
      break;
    case SetRefusal::NotStrongest:
      text = std::string(texts::kStrongestLineOf) + set.material + ", " +
             LineHklText(set.lines[check.strongest]) + std::string(texts::kNotFoundSuffix);
      break;
    case SetRefusal::StrongLinesMissing:
      text = std::string(texts::kStrongLinesFoundOf) + set.material + ": " +
             std::to_string(check.strongFound) + " of " + std::to_string(check.strongCovered) +
             std::string(texts::kInTheProfile);
      break;
  }
  return text;
}

}  // namespace pellum
