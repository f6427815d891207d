#pragma once

#include <iostream>
#include <ostream>
#include <span>

#include "calib/calibration_coefficients.h"
#include "calib/calibration_point.h"
#include "platform/canvas.h"

namespace pellum {

// Paints the calibration chart on a cleared canvas whose client area is clientWidth by
// clientHeight device pixels. The label formatters' trace lines go to `trace` in drawing
// order.
void PaintCalibrationChart(Canvas& canvas, int clientWidth, int clientHeight,
                           std::span<const CalibrationPoint> points,
                           const CalibrationCoefficients& coefficients,
                           std::ostream& trace = std::cout);

// The circle of radius r around (x, y): Ellipse(x - r, y + r, x + r, y - r).
void DrawPointMarker(Canvas& canvas, int x, int y, int r);

// t(v): a chart value as a logical coordinate, truncated toward zero.
int TruncateToLogical(double v);

}  // namespace pellum
