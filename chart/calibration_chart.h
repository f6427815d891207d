#pragma once

#include <cstddef>
#include <iostream>
#include <ostream>
#include <span>

#include "calib/calibration_coefficients.h"
#include "calib/calibration_point.h"
#include "chart/reference_marks.h"
#include "ui/canvas.h"

namespace pellum {

// Paints the calibration chart on a cleared canvas whose client area is clientWidth by
// clientHeight device pixels: the two axes, the reference labels beside the vertical one,
// the coefficient lines and the equation, a marker and a label for each point, and the
// curve a1 + a2 x + a3 x^2 for x = 0 to 99 when there is at least one point. Logical
// units: 120 of them fit the shorter side of the chart's area, and (0, 0) stands at
// (2 w / 10, 9 h / 10) of it. The area is the client area when every text lies inside it
// there, else the one FitChartArea finds (the tallest of the whole width, centred; shrunk
// when nothing holds the texts at their size): no text is ever cut off. Each paint starts
// with Canvas::Clear, so a new calibration never shows beside the previous one. The
// formatters' trace lines (4 + number of points) go to `trace` in drawing order.
void PaintCalibrationChart(Canvas& canvas, int clientWidth, int clientHeight,
                           std::span<const CalibrationPoint> points,
                           const CalibrationCoefficients& coefficients, std::ostream& trace);

// The same chart for a reference other than the built-in silicon table: its reference
// labels are the marks' two-theta to three decimals ("42.828", "73.199", "88.714" for
// silicon and Cr K-alpha1), each at the height of its integer part, thinned by
// ThinReferenceMarks at the scale of the area when they would print into each other. The
// area is chosen to hold every mark's label, so none drawn is ever cut off. No marks: the
// built-in table's chart above, byte for byte. referenceTitle names the reference in lines
// under the coefficients ({"LaB6 SRM 660c", "Cr K-alpha1 (2.289726 Å)"}), so a saved picture
// says what it was calibrated against. The trace lines are the same as above.
void PaintCalibrationChart(Canvas& canvas, int clientWidth, int clientHeight,
                           std::span<const CalibrationPoint> points,
                           const CalibrationCoefficients& coefficients,
                           std::span<const ReferenceMark> marks,
                           std::span<const std::string> referenceTitle, std::ostream& trace);

// The circle of radius r around (x, y), given by its bounding corners (x + r, y + r) and
// (x - r, y - r) in that order: DrawPointMarker(c, 28, 28, 2) -> Ellipse(30, 30, 26, 26).
void DrawPointMarker(Canvas& canvas, int x, int y, int r);

// t(v): a chart value as a logical coordinate, truncated toward zero.
//   28.9 -> 28, -0.7 -> 0, 99.99 -> 99
//   2^32 + 5 -> 5          outside 32 bits: the low 32 bits of the 64-bit truncation
//   NaN, +-inf, |v| >= 2^63 -> 0
int TruncateToLogical(double v);

// The longest point label drawn. A positive experimental value below about 1e-95 would
// give "0.", 95 zeros or more and its digits; such a label keeps its first 99 characters,
// that is the value truncated to 97 decimals: 1.5e-96 shows "0." + 95 zeros + "15",
// 1e-100 shows "0." + 97 zeros.
inline constexpr std::size_t kPointLabelMaxLength = 99;

}  // namespace pellum
