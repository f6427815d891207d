#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "calib/calibration_coefficients.h"
#include "calib/calibration_point.h"
#include "calib/fit_quality.h"
#include "ui/canvas.h"

namespace pellum {

// What the correction chart shows: the calibration, the points it was fitted to, how good
// it is, and how many rows of the last converted file lay outside the calibrated range.
struct CorrectionChartData {
  std::span<const CalibrationPoint> points;
  CalibrationCoefficients coefficients;
  const FitQuality* quality = nullptr;  // nothing but the axes without it
  std::uint64_t rowsOutsideRange = 0;
  // Each point's hkl as the residual lines name it ("1 1 1", "1 0 10"), for a reference
  // other than the built-in silicon table; empty: the table's hkl of each point's actual.
  std::span<const std::string> hklTexts = {};
  // The reference's name, first in the legend ({"LaB6 SRM 660c", "Cr K-alpha1 (2.289726 Å)"});
  // empty for the built-in table.
  std::span<const std::string> referenceTitle = {};
};

// Paints the correction itself, where a residual of a thousandth of a degree shows:
// actual - experimental two-theta (down) against experimental two-theta (across, the
// calibrated range with a margin), on a cleared canvas of clientWidth by clientHeight
// pixels. Drawn in tenths of the calibration chart's units (1200 on the shorter side of its
// area, the axes 1000 long, (0, 0) at two tenths across and nine tenths down), within the
// area FitChartArea finds, so no text is ever cut off:
//
//   the axes with ticks and their values; the title; "Experimental 2 theta"
//   the fitted correction a1 + (a2 - 1) x + a3 x^2 as a curve of 100 segments
//   the +-1 su band of the correction as two dotted curves, when the covariance is defined
//   each reading as a circle labelled with its hkl ("111" .. "422"; in one field when every
//   index has one digit, else as given: "1 0 10") and a line from it to the curve: its
//   residual
//   the calibrated range as two dashed verticals
//   beside the axes: the model, rms, and what each mark means; the rows converted outside
//   the calibrated range when there were any
void PaintCorrectionChart(Canvas& canvas, int clientWidth, int clientHeight,
                          const CorrectionChartData& data);

// A tick step of 1, 2 or 5 times a power of ten that cuts span into about `parts` pieces:
// NiceStep(0.0052, 5) -> 0.002, NiceStep(60, 5) -> 20, NiceStep(0.3, 4) -> 0.1.
double NiceStep(double span, int parts);

}  // namespace pellum
