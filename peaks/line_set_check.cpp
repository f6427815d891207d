#include "peaks/line_set_check.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "peaks/silicon_set_check.h"

namespace pellum {
namespace {

double Area(const ReflectionSearch& r) {
  return r.height * r.fwhm;
}

// A clear peak there, even one a sample line spoiled, shows the line; only an empty window
// lacks it.
bool Seen(const ReflectionSearch& r) {
  return r.verdict == PeakVerdict::Found || r.verdict == PeakVerdict::Shared ||
         r.verdict == PeakVerdict::OffTheLine || r.verdict == PeakVerdict::UnlikeSilicon;
}

// Whether a look-alike line at t stands clear of every line of the reference: a peak there
// must not be the reference's own.
bool ApartFromLines(double t, std::span<const FinderLine> lines, double distance) {
  return std::none_of(lines.begin(), lines.end(), [&](const FinderLine& line) {
    return std::abs(line.twoTheta - t) < distance;
  });
}

}  // namespace

void DropUnlikeReference(std::span<ReflectionSearch> found, std::span<const FinderLine> lines) {
  std::vector<bool> unlike(found.size(), false);
  for (std::size_t j = 0; j < found.size(); ++j) {
    if (!found[j].Found())
      continue;
    for (std::size_t i = 0; i < found.size() && !unlike[j]; ++i) {
      if (!found[i].Found())
        continue;
      const double strongerBy = lines[i].intensity / std::max(lines[j].intensity, 1e-9);
      unlike[j] = (strongerBy >= 2.0 && Area(found[j]) > 2.0 * Area(found[i])) ||
                  (strongerBy >= 10.0 && Area(found[j]) > Area(found[i]));
    }
  }
  for (std::size_t j = 0; j < found.size(); ++j) {
    if (unlike[j])
      found[j].verdict = PeakVerdict::UnlikeSilicon;
  }
}

SiliconSetCheck CheckLineSet(std::span<const ReflectionSearch> found, const LineSet& set,
                             std::span<const ProfilePoint> points,
                             std::span<const double> predicted, const SiliconFinderOptions& o) {
  SiliconSetCheck check;
  std::vector<bool> covered(found.size(), false);
  double strongestCovered = 0.0;
  double strongestArea = 0.0;
  int foundCount = 0;
  bool allStrongSeen = true;
  for (std::size_t k = 0; k < found.size(); ++k) {
    covered[k] = CoversPlace(points, predicted[k]);
    if (covered[k] && set.lines[k].intensity > strongestCovered) {
      strongestCovered = set.lines[k].intensity;
      check.strongest = k;
    }
    if (found[k].Found()) {
      ++foundCount;
      strongestArea = std::max(strongestArea, Area(found[k]));
    }
  }
  for (std::size_t k = 0; k < found.size(); ++k) {
    if (!covered[k])
      continue;
    if (set.lines[k].intensity >= kWeakLineShare * strongestCovered)
      ++check.covered;
    if (set.lines[k].intensity >= kStrongLineShare * strongestCovered) {
      ++check.strongCovered;
      check.strongFound += found[k].Found() ? 1 : 0;
      allStrongSeen = allStrongSeen && Seen(found[k]);
    }
  }
  check.strongestFound = strongestCovered == 0.0 || Seen(found[check.strongest]);
  const SetMeasures m = MeasureSet(found, points, o.maxScale);
  check.scale = m.line.scale;
  if (m.otherPhaseScale) {
    check.refusal = SetRefusal::OtherPhaseScale;
    return check;
  }
  // The first few tell a look-alike phase; a cell of one's own far larger than a standard's
  // would otherwise have a fit tried at each of thousands.
  const std::size_t looked = std::min(set.lookAlike.size(), kMostLookAlikeLines);
  for (const FinderLine& extra : std::span(set.lookAlike).first(looked)) {
    const double at = m.line.At(extra.twoTheta);
    if (ApartFromLines(extra.twoTheta, set.lines, std::max(3.0 * m.tolerance, 2.0 * m.width)) &&
        CoversPlace(points, at) &&
        StrongLineAt(points, at, m.tolerance, m.width, m.step, strongestArea, o)) {
      check.refusal = SetRefusal::LookAlikeLines;
      check.extraHkl = LineHklText(extra);
      check.extraPosition = at;
      return check;
    }
  }
  if (foundCount == 2 && check.covered > 2) {
    check.refusal = SetRefusal::TooFewLines;
  } else if (!check.strongestFound) {
    check.refusal = SetRefusal::NotStrongest;
  } else if (!allStrongSeen || 2 * check.strongFound < check.strongCovered) {
    check.refusal = SetRefusal::StrongLinesMissing;
  }
  return check;
}

}  // namespace pellum
