#include "chart/reference_marks.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>

#include "chart/reference_label.h"

namespace pellum {
namespace {

// A pixel between two labels, and one for the canvas's rounding of each position.
constexpr double kSparePixels = 2.0;

int HeightOf(const ReferenceMark& mark) {
  return ReferenceLabelHeight(ReferenceLabelText(mark.twoTheta), mark.twoTheta);
}

bool HasPoint(const ReferenceMark& mark, std::span<const CalibrationPoint> points) {
  return std::any_of(points.begin(), points.end(),
                     [&mark](const CalibrationPoint& p) { return p.y == mark.twoTheta; });
}

// Keys that order every mark, NaN included: a mark of no known strength or place comes last.
double Strength(const ReferenceMark& mark) {
  return std::isnan(mark.intensity) ? -HUGE_VAL : mark.intensity;
}
double Place(const ReferenceMark& mark) {
  return std::isnan(mark.twoTheta) ? HUGE_VAL : mark.twoTheta;
}

}  // namespace

std::vector<ReferenceMark> ThinReferenceMarks(std::span<const ReferenceMark> marks,
                                              std::span<const CalibrationPoint> points,
                                              double scale, int lineHeight) {
  struct Candidate {
    std::size_t index;
    bool read;
    int height;
  };
  std::vector<Candidate> candidates;
  candidates.reserve(marks.size());
  for (std::size_t i = 0; i < marks.size(); ++i)
    candidates.push_back({i, HasPoint(marks[i], points), HeightOf(marks[i])});
  std::stable_sort(candidates.begin(), candidates.end(),
                   [&marks](const Candidate& a, const Candidate& b) {
                     if (a.read != b.read)
                       return a.read;
                     const ReferenceMark& ma = marks[a.index];
                     const ReferenceMark& mb = marks[b.index];
                     if (Strength(ma) != Strength(mb))
                       return Strength(ma) > Strength(mb);
                     return Place(ma) < Place(mb);
                   });
  const double room = lineHeight + kSparePixels;
  std::vector<bool> kept(marks.size(), false);
  std::vector<int> keptHeights;
  for (const Candidate& c : candidates) {
    const bool clear = std::all_of(keptHeights.begin(), keptHeights.end(), [&](int height) {
      return std::fabs(static_cast<double>(height) - c.height) * scale >= room;
    });
    if (clear) {
      kept[c.index] = true;
      keptHeights.push_back(c.height);
    }
  }
  std::vector<ReferenceMark> shown;
  for (std::size_t i = 0; i < marks.size(); ++i) {
    if (kept[i])
      shown.push_back(marks[i]);
  }
  return shown;
}

}  // namespace pellum
