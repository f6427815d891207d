#pragma once

#include <iostream>
#include <span>
#include <string>

#include "front/cli/chart_plugin.h"

namespace pellum::cli {

// False when this pellum-cli was built without the module that draws chart files (without
// Qt, and on Windows): --chart is then refused before anything is written.
bool ChartDrawingBuilt();
inline constexpr const char* kNoChartDrawing =
    "--chart is not available: this pellum-cli was built without the chart module (Qt)";

// Loads the chart module beside pellum-cli (or in the installed lib/pellum folder) and has
// it draw the chart file. Returns false, with the reason in error, when the module cannot
// be found or the file cannot be made.
bool RenderChartFile(const ChartRequest& request, std::string& error);

// Runs the chart's paint only for its trace lines, drawing nowhere; marks as in ChartRequest.
void TraceChart(int width, int height, std::span<const CalibrationPoint> points,
                const CalibrationCoefficients& coefficients, std::span<const ReferenceMark> marks,
                std::ostream& trace);

}  // namespace pellum::cli
