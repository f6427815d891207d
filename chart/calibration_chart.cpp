#include "chart/calibration_chart.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "calib/reference_table.h"
#include "chart/label_format.h"
#include "chart/reference_label.h"

namespace pellum {
namespace {

constexpr int kWindowExtent = 120;
constexpr int kAxisLength = 100;
constexpr int kMarkerRadius = 2;
constexpr int kCurveLastAbscissa = 99;
constexpr int kScientificWidth = 10;
constexpr int kFixedWidth = 4;
constexpr std::size_t kReferenceLabelShown = 6;

constexpr std::string_view kActualTitle = "Actual 2 theta";
constexpr std::string_view kExperimentalTitle = "Experimental 2 theta";
constexpr std::string_view kEquation =
    "Actual 2 theta = a1 + a2 x Experimental 2 theta + a3 x (Experimental 2 theta)^2";

void SetChartMapping(Canvas& canvas, int clientWidth, int clientHeight) {
  // Integer division, as the device origin is a whole pixel; 64 bits so a huge client
  // area cannot overflow.
  const auto originX = static_cast<int>(std::int64_t{clientWidth} * 2 / 10);
  const auto originY = static_cast<int>(std::int64_t{clientHeight} * 9 / 10);
  // A negative vertical extent makes logical y grow upward.
  canvas.SetIsotropicMapping(kWindowExtent, kWindowExtent, clientWidth, -clientHeight, originX,
                             originY);
}

void DrawAxes(Canvas& canvas) {
  canvas.MoveTo(kAxisLength, 0);
  canvas.LineTo(0, 0);
  canvas.LineTo(0, kAxisLength);
}

void DrawReferenceLabels(Canvas& canvas) {
  for (const ReferenceReflection& reflection : ReferenceTable) {
    const std::string text = ReferenceLabelText(reflection.twoTheta);
    canvas.TextOut(-12, ReferenceLabelHeight(text, reflection.twoTheta),
                   std::string_view(text).substr(0, kReferenceLabelShown));
  }
}

void DrawCoefficientLines(Canvas& canvas, const CalibrationCoefficients& c, std::ostream& trace) {
  const struct {
    int height;
    std::string_view prefix;
    double value;
  } lines[] = {
      {50, "    a1 = ", c.a1},
      {40, "    a2 = ", c.a2},
      {30, "    a3 = ", c.a3},
      {20, "delta = ", c.delta},
  };
  for (const auto& line : lines) {
    const std::string text =
        std::string(line.prefix) + FormatScientific(line.value, kScientificWidth, trace);
    canvas.TextOut(110, line.height, text);
  }
}

void DrawPoints(Canvas& canvas, std::span<const CalibrationPoint> points, std::ostream& trace) {
  for (const CalibrationPoint& point : points) {
    const int x = TruncateToLogical(point.x);
    DrawPointMarker(canvas, x, TruncateToLogical(point.y), kMarkerRadius);
    std::string label = FormatFixed(point.x, kFixedWidth, trace);
    if (label.size() > kPointLabelMaxLength) {
      label.resize(kPointLabelMaxLength);
    }
    canvas.TextOut(x, -1, label);
  }
}

// c(k) = t((k a2 + a1) + (k a3) k): the converters' own order of operations, so the curve
// shows exactly the calibration they apply.
int CurveOrdinate(const CalibrationCoefficients& c, int k) {
  return TruncateToLogical(CalibratedTwoTheta(c, static_cast<double>(k)));
}

void DrawCurve(Canvas& canvas, const CalibrationCoefficients& c) {
  canvas.MoveTo(0, CurveOrdinate(c, 0));
  for (int k = 1; k <= kCurveLastAbscissa; ++k) {
    canvas.LineTo(k, CurveOrdinate(c, k));
  }
}

}  // namespace

int TruncateToLogical(double v) {
  constexpr double kLimit = 9223372036854775808.0;  // 2^63
  if (!std::isfinite(v) || std::fabs(v) >= kLimit) {
    return 0;
  }
  const auto wide = static_cast<std::int64_t>(v);  // truncates toward zero
  return static_cast<int>(static_cast<std::uint32_t>(wide));
}

void DrawPointMarker(Canvas& canvas, int x, int y, int r) {
  canvas.Ellipse(x + r, y + r, x - r, y - r);
}

void PaintCalibrationChart(Canvas& canvas, int clientWidth, int clientHeight,
                           std::span<const CalibrationPoint> points,
                           const CalibrationCoefficients& coefficients, std::ostream& trace) {
  canvas.Clear();
  SetChartMapping(canvas, clientWidth, clientHeight);
  DrawAxes(canvas);
  canvas.TextOut(-35, 50, kActualTitle);
  DrawReferenceLabels(canvas);
  DrawCoefficientLines(canvas, coefficients, trace);
  canvas.TextOut(5, 105, kEquation);
  DrawPoints(canvas, points, trace);
  canvas.TextOut(50, -5, kExperimentalTitle);
  if (!points.empty()) {
    DrawCurve(canvas, coefficients);
  }
}

}  // namespace pellum
