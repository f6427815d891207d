#pragma once

#include <QFontMetrics>
#include <QSize>

namespace pellum {

// The smallest chart area, in pixels, at which every text of the chart stands clear of the
// others and inside the area, in the font the chart is drawn in, for readings of the six
// silicon reflections (two of which, 4 0 0 and 3 3 1, lie only 7 chart units apart).
//
// The chart is isotropic at s = min(width, height) / 120 pixels per unit, its origin at a
// fifth of the width and nine tenths of the height, so the height sets s and the width
// must hold the texts to the right of the plot. The largest of these gives s:
//   a point label's line above "Experimental 2 theta", 4 units below it:  s >= line / 4
//   the labels of two readings 7 units apart side by side:               s >= label / 7
//   a reference label between x = -12 and the vertical axis:             s >= width / 12
//   "Actual 2 theta" between x = -35 and the reference labels at -12:    s >= width / 23
// and then the width holds the coefficient lines from x = 110 and the equation from x = 5.
//
// In the default font of a Debian desktop (DejaVu Sans 9 pt, a line of 14 pixels) that is
// s = 4 and 740 by 480 pixels.
QSize MinimumChartSize(const QFontMetrics& font);

}  // namespace pellum
