#pragma once

#include <iostream>
#include <span>
#include <string>

#include "calib/calibration_coefficients.h"
#include "calib/calibration_point.h"

namespace pellum::cli {

// Draws the calibration chart of a client area of width by height pixels to path, as SVG,
// PNG or PDF by the path's extension (any letter case). The label trace lines go to trace.
// Returns false, with the reason in error, when the file cannot be made.
bool RenderChartFile(const std::string& path, int width, int height,
                     std::span<const CalibrationPoint> points,
                     const CalibrationCoefficients& coefficients, std::ostream& trace,
                     std::string& error);

// Runs the chart's paint only for its trace lines, drawing nowhere.
void TraceChart(int width, int height, std::span<const CalibrationPoint> points,
                const CalibrationCoefficients& coefficients, std::ostream& trace);

}  // namespace pellum::cli
