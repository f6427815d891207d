#pragma once

#include <string>

#include "app/app_state.h"
#include "app/platform.h"

namespace pellum {

// File > Save Chart As...: asks for a path (starting on "calibration-chart.svg" where Save
// Calibration would start) with a filter for each kind of picture, then draws the chart as
// the window shows it, at the window's chart size, into an SVG, PNG or PDF as the name's
// extension says, and writes it complete or not at all. Works before a calibration too:
// the chart then shows its axes and labels.
//
//   "/data/chart.png"   -> "Info": "Chart is saved as /data/chart.png"
//   "/data/chart.gif"   -> "A chart's file name must end in .svg, .png or .pdf!", nothing written
//   "/gone/chart.svg"   -> "Cannot write the chart file!" with the path, nothing written
void SaveChart(const AppState& state, Platform& platform);

// Writes bytes to path through a replacing output: the earlier file stays as it was unless
// every byte was written. False when the file could not be written.
bool WriteWholeFile(const std::string& path, const std::string& bytes);

}  // namespace pellum
