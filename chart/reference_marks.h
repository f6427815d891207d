#pragma once

#include <span>
#include <vector>

#include "calib/calibration_point.h"

namespace pellum {

// A line of a reference other than the built-in silicon table, as the calibration chart
// labels it beside its vertical axis: where the line stands and how strong it is.
//   {42.828322, 100.0}   silicon 1 1 1 for Cr K-alpha1
struct ReferenceMark {
  double twoTheta = 0.0;   // degrees; the label shows it to three decimals ("42.828")
  double intensity = 0.0;  // relative to the strongest line; orders the marks when thinned
};

// The marks whose labels the chart draws, in the order of marks. A label stands at the
// height of its two-theta's integer part and is one text line tall: two labels whose
// heights are less than a line and two pixels apart at the chart's scale (pixels per
// logical unit) would print into or touch each other, so only one of them is drawn. The
// marks are taken in order of preference and each is kept when its label stands clear of
// every label kept before it:
//   1. the lines a point was read at (the point's actual two-theta is the line's),
//   2. then the stronger line,
//   3. then the lower two-theta.
// So every reading keeps its line's label where the room allows, and the strongest lines,
// those a user looks for first on the film, label the rest of the axis.
//
//   marks {28.442, 10}, {30.385, 100}, {47.303, 50}, no points, scale 5, 14-pixel lines
//   (16 pixels: 3.2 units): {30.385, 100}, {47.303, 50}; 28 stands 2 units below 30.
// Marks with the same height are one label's room: the preferred one is kept.
std::vector<ReferenceMark> ThinReferenceMarks(std::span<const ReferenceMark> marks,
                                              std::span<const CalibrationPoint> points,
                                              double scale, int lineHeight);

}  // namespace pellum
