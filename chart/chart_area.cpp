#include "chart/chart_area.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace pellum {
namespace {

// A text's own box in device pixels: where its top-left corner lands and its size.
struct MeasuredText {
  int x = 0;
  int y = 0;
  int width = 0;
};

// A pixel of room on every side: the canvas rounds each position to a whole pixel.
constexpr double kRoundingRoom = 1.0;
// Each try of a smaller zoom draws the chart this much smaller.
constexpr double kZoomStep = 0.95;
constexpr int kMaxZoomSteps = 400;

struct Mapping {
  double originX = 0.0;
  double originY = 0.0;
  double scale = 0.0;
};

Mapping MappingOf(const ChartArea& a) {
  const double extent = a.windowExtent > 0 ? a.windowExtent : kChartWindowExtent;
  Mapping m;
  m.originX = static_cast<double>(a.left + static_cast<int>(std::int64_t{a.width} * 2 / 10));
  m.originY = static_cast<double>(a.top + static_cast<int>(std::int64_t{a.height} * 9 / 10));
  m.scale = static_cast<double>(std::min(a.width, a.height)) / extent;
  return m;
}

// Every text and the chart's square within the space of spaceWidth by spaceHeight pixels,
// with a pixel to spare at the right and the foot.
bool Holds(const ChartArea& area, int spaceWidth, int spaceHeight,
           const std::vector<MeasuredText>& texts, int lineHeight, double minimumScale) {
  const Mapping m = MappingOf(area);
  if (m.scale < minimumScale)
    return false;
  const double right = spaceWidth - kRoundingRoom;
  const double bottom = spaceHeight - kRoundingRoom;
  // The square of the axes: 100 of the 120 units.
  const double side = area.windowExtent * 100.0 / 120.0 * m.scale;
  if (m.originX < 0.0 || m.originX + side > right || m.originY > bottom || m.originY - side < 0.0)
    return false;
  for (const MeasuredText& t : texts) {
    const double x = m.originX + t.x * m.scale;
    const double y = m.originY - t.y * m.scale;
    if (x < 0.0 || y < 0.0 || x + t.width > right || y + lineHeight > bottom)
      return false;
  }
  return true;
}

// The tallest area of the whole width that holds everything, centred between top and
// bottom; false when none does. Below the width, a lower height means a smaller scale, so
// the texts beside the chart come nearer; above it the scale is that of the width and the
// full height, tried first, is the best.
bool FindArea(int spaceWidth, int spaceHeight, const std::vector<MeasuredText>& texts,
              int lineHeight, double minimumScale, int windowExtent, ChartArea& found) {
  if (spaceWidth <= 0 || spaceHeight <= 0)
    return false;
  ChartArea area{0, 0, spaceWidth, spaceHeight, 1.0, windowExtent};
  if (Holds(area, spaceWidth, spaceHeight, texts, lineHeight, minimumScale)) {
    found = area;
    return true;
  }
  // The heights that hold everything form one run: the tallest is found in at most 512
  // coarse steps and one step's pixels, so a huge area costs no more than a small one.
  const int top = std::min(spaceHeight, spaceWidth);
  const int step = std::max(1, top / 512);
  const auto holdsAt = [&](int h) {
    area.height = h;
    area.top = (spaceHeight - h) / 2;
    return Holds(area, spaceWidth, spaceHeight, texts, lineHeight, minimumScale);
  };
  for (int h = top; h >= 1; h -= step) {
    if (!holdsAt(h))
      continue;
    for (int taller = std::min(top, h + step - 1); taller > h; --taller) {
      if (holdsAt(taller)) {
        found = area;
        return true;
      }
    }
    holdsAt(h);
    found = area;
    return true;
  }
  return false;
}

}  // namespace

ChartArea FitChartArea(const Canvas& canvas, int clientWidth, int clientHeight,
                       std::span<const ChartText> texts, double minimumScale, int windowExtent) {
  std::vector<MeasuredText> measured;
  measured.reserve(texts.size());
  for (const ChartText& t : texts)
    measured.push_back({t.x, t.y, canvas.TextWidth(t.text)});
  const int lineHeight = canvas.TextHeight();
  ChartArea found;
  double zoom = 1.0;
  for (int step = 0; step < kMaxZoomSteps; ++step, zoom *= kZoomStep) {
    // A chart never needs more room than this; the bound keeps the search short and the
    // sizes within an int.
    constexpr double kLargestSpace = 1e5;
    const auto width = static_cast<int>(std::min(std::floor(clientWidth / zoom), kLargestSpace));
    const auto height = static_cast<int>(std::min(std::floor(clientHeight / zoom), kLargestSpace));
    if (FindArea(width, height, measured, lineHeight, minimumScale, windowExtent, found)) {
      found.zoom = step == 0 ? 1.0 : zoom;
      return found;
    }
  }
  // Nothing holds the texts (a client area of no size): the chart as it always was.
  return {0, 0, clientWidth, clientHeight, 1.0, windowExtent};
}

double ChartAreaScale(const ChartArea& area) {
  return MappingOf(area).scale;
}

void SetChartAreaMapping(Canvas& canvas, const ChartArea& area) {
  if (area.zoom != 1.0)
    canvas.SetZoom(area.zoom);
  const auto originX = area.left + static_cast<int>(std::int64_t{area.width} * 2 / 10);
  const auto originY = area.top + static_cast<int>(std::int64_t{area.height} * 9 / 10);
  // A negative vertical extent makes logical y grow upward.
  canvas.SetIsotropicMapping(area.windowExtent, area.windowExtent, area.width, -area.height,
                             originX, originY);
}

}  // namespace pellum
