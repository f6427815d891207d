#pragma once

#include <cstdint>
#include <iostream>
#include <span>
#include <string>

#include "calib/calibration_coefficients.h"
#include "calib/calibration_point.h"
#include "calib/fit_quality.h"
#include "chart/reference_marks.h"

namespace pellum::cli {

// What pellum-cli asks of the chart module: draw the chart of a client area of width by
// height pixels to path (.svg, .png or .pdf).
struct ChartRequest {
  std::string path;
  int width = 0;
  int height = 0;
  std::span<const CalibrationPoint> points;
  CalibrationCoefficients coefficients;
  std::ostream* trace = nullptr;
  // A reference other than the built-in silicon table: its lines, labelled beside the
  // calibration chart's axis, and each point's hkl ("1 0 10") for the correction chart.
  // Both empty for the built-in table.
  std::span<const ReferenceMark> referenceMarks = {};
  std::span<const std::string> hklTexts = {};
  // The reference's name in two lines, on either chart; empty for the built-in table.
  std::span<const std::string> referenceTitle = {};
  // The correction chart (actual - experimental against experimental) instead, from the
  // fit's quality and the rows the run converted outside the calibrated range.
  bool correction = false;
  const FitQuality* quality = nullptr;
  std::uint64_t rowsOutsideRange = 0;
};

// The module's one entry point. Returns false with the reason in error.
using RenderChartFunction = bool (*)(const ChartRequest& request, std::string& error);
inline constexpr const char* kRenderChartSymbol = "PellumRenderChartFile";

}  // namespace pellum::cli
