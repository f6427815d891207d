#pragma once

#include <span>
#include <string>

#include "ui/canvas.h"

namespace pellum {

// A text of a chart at its logical position (its top-left corner), as the chart will draw it.
struct ChartText {
  int x = 0;
  int y = 0;
  std::string text;
};

// Where a chart draws within the client area it is given. The chart's mapping is that of its
// area: 120 logical units fit the area's shorter side, and logical (0, 0) stands at two
// tenths of the area's width and nine tenths of its height. zoom below 1 draws the whole
// chart shrunk, for a client area too small for its texts at their own size; left, top,
// width and height are then in the shrunk chart's pixels (the client area divided by zoom).
struct ChartArea {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  double zoom = 1.0;
  // Logical units on the shorter side: 120, or 1200 for a chart drawn in tenths of them.
  int windowExtent = 120;
};

// The area in which every text and the square of logical (0, 0) to (100, 100) lie inside the
// client area. The whole client area when they do there (so a chart that already fits is
// drawn as it always was); else the whole width and the tallest height that holds them,
// centred between top and bottom (a tall area lowers the scale until the texts beside the
// chart fit); else, for an area too small for the texts at any scale, the same in a
// shrunk chart.
//
//   1000 x 600, DejaVu Sans 9 pt                   -> {0, 0, 1000, 600, 1}
//   800 x 600: the coefficient lines would pass    -> {0, 34, 800, 532, 1}  roughly
//     the right edge at s = 5
//   100 x 100                                      -> the chart of about 640 x 430, shrunk
// minimumScale, in pixels per logical unit, keeps texts that stand a few units apart from
// printing into each other: an area that holds them only at a smaller scale is not taken,
// and the chart is shrunk instead.
// windowExtent: the logical units on the shorter side (the square then runs to 100 / 120
// of it).
ChartArea FitChartArea(const Canvas& canvas, int clientWidth, int clientHeight,
                       std::span<const ChartText> texts, double minimumScale = 0.0,
                       int windowExtent = 120);

// Sets the canvas's zoom (when the area has one) and the isotropic mapping of the area:
// window extent 120 by 120 (the area's windowExtent), viewport extent width by -height, origin at
// (left + 2 width / 10, top + 9 height / 10).
void SetChartAreaMapping(Canvas& canvas, const ChartArea& area);

// The area's mapping in pixels per logical unit: its shorter side over windowExtent.
//   {0, 0, 1000, 600, 1, 120} -> 5
double ChartAreaScale(const ChartArea& area);

// Logical units per side of the square the mapping fits to the area's shorter side.
inline constexpr int kChartWindowExtent = 120;

}  // namespace pellum
