#include "chart/calibration_chart.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "calib/reference_table.h"
#include "chart/chart_area.h"
#include "chart/label_format.h"
#include "chart/reference_label.h"

namespace pellum {
namespace {

constexpr int kAxisLength = 100;
constexpr int kMarkerRadius = 2;
constexpr int kCurveLastAbscissa = 99;
constexpr int kScientificWidth = 10;
constexpr int kFixedWidth = 4;

constexpr std::string_view kActualTitle = "Actual 2 theta";
constexpr std::string_view kExperimentalTitle = "Experimental 2 theta";
constexpr std::string_view kEquation =
    "Actual 2 theta = a1 + a2 x Experimental 2 theta + a3 x (Experimental 2 theta)^2";

void DrawAxes(Canvas& canvas) {
  canvas.MoveTo(kAxisLength, 0);
  canvas.LineTo(0, 0);
  canvas.LineTo(0, kAxisLength);
}

constexpr int kReferenceLabelX = -12;

// A reference label at the height of its value's integer part, written to three decimals
// as the table gives it.
ChartText ReferenceLabelOf(double twoTheta) {
  const std::string text = ReferenceLabelText(twoTheta);
  return {kReferenceLabelX, ReferenceLabelHeight(text, twoTheta), ReferenceLabelShown(twoTheta)};
}

// The built-in table's six labels, or those of the given marks.
std::vector<ChartText> ReferenceLabels(std::span<const ReferenceMark> marks) {
  std::vector<ChartText> labels;
  if (marks.empty()) {
    for (const ReferenceReflection& reflection : ReferenceTable)
      labels.push_back(ReferenceLabelOf(reflection.twoTheta));
  } else {
    for (const ReferenceMark& mark : marks)
      labels.push_back(ReferenceLabelOf(mark.twoTheta));
  }
  return labels;
}

// For the area's fit, the labels that bound all of them: all stand at one x, so of the
// labels at one height only the widest matters. A reference of thousands of lines (a large
// cell) so measures no more than a hundred texts.
std::vector<ChartText> BoundingLabels(const Canvas& canvas, std::vector<ChartText> labels) {
  std::stable_sort(labels.begin(), labels.end(),
                   [](const ChartText& a, const ChartText& b) { return a.y < b.y; });
  std::vector<ChartText> bounding;
  int widest = 0;
  for (ChartText& label : labels) {
    const int width = canvas.TextWidth(label.text);
    if (bounding.empty() || bounding.back().y != label.y) {
      bounding.push_back(std::move(label));
      widest = width;
    } else if (width > widest) {
      bounding.back() = std::move(label);
      widest = width;
    }
  }
  return bounding;
}

void DrawReferenceLabels(Canvas& canvas, const std::vector<ChartText>& labels) {
  for (const ChartText& label : labels)
    canvas.TextOut(label.x, label.y, label.text);
}

struct CoefficientLine {
  int height;
  std::string text;
};

std::vector<CoefficientLine> CoefficientLines(const CalibrationCoefficients& c,
                                              std::ostream& trace) {
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
  std::vector<CoefficientLine> out;
  for (const auto& line : lines) {
    out.push_back({line.height, std::string(line.prefix) +
                                    FormatScientific(line.value, kScientificWidth, trace)});
  }
  return out;
}

void DrawCoefficientLines(Canvas& canvas, const CalibrationCoefficients& c, std::ostream& trace) {
  for (const CoefficientLine& line : CoefficientLines(c, trace))
    canvas.TextOut(110, line.height, line.text);
}

std::string PointLabel(double x, std::ostream& trace) {
  std::string label = FormatFixed(x, kFixedWidth, trace);
  if (label.size() > kPointLabelMaxLength) {
    label.resize(kPointLabelMaxLength);
  }
  return label;
}

void DrawPoints(Canvas& canvas, std::span<const CalibrationPoint> points, std::ostream& trace) {
  for (const CalibrationPoint& point : points) {
    const int x = TruncateToLogical(point.x);
    DrawPointMarker(canvas, x, TruncateToLogical(point.y), kMarkerRadius);
    canvas.TextOut(x, -1, PointLabel(point.x, trace));
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

// The reference's name under delta, a line every six units: between the coefficients'
// ten, as they belong together.
std::vector<ChartText> TitleTexts(std::span<const std::string> referenceTitle) {
  std::vector<ChartText> texts;
  int y = 10;
  for (const std::string& line : referenceTitle) {
    texts.push_back({110, y, line});
    y -= 6;
  }
  return texts;
}

// Every text the chart draws, where it draws it: the area is chosen to hold them all.
// Every reference label counts, thinned or not: the area that holds them all holds those
// drawn.
std::vector<ChartText> ChartTexts(std::vector<ChartText> referenceLabels,
                                  std::span<const CalibrationPoint> points,
                                  const CalibrationCoefficients& c) {
  std::ostream nowhere(nullptr);  // measuring writes no trace line
  std::vector<ChartText> texts = {{-35, 50, std::string(kActualTitle)},
                                  {5, 105, std::string(kEquation)},
                                  {50, -5, std::string(kExperimentalTitle)}};
  for (ChartText& label : referenceLabels)
    texts.push_back(std::move(label));
  for (CoefficientLine& line : CoefficientLines(c, nowhere))
    texts.push_back({110, line.height, std::move(line.text)});
  for (const CalibrationPoint& point : points)
    texts.push_back({TruncateToLogical(point.x), -1, PointLabel(point.x, nowhere)});
  return texts;
}

// The scale below which texts print into each other: "Actual 2 theta" must end before
// the reference labels 23 units to its right, the point labels of 4 0 0 and 3 3 1 read at
// their references stand 7 units apart, and each point label must end before the next
// one's start. Neighbours closer than 3 units (readings far from their references) would
// ask for a scale no window has; they are left as they fall.
double MinimumScale(const Canvas& canvas, std::span<const CalibrationPoint> points) {
  constexpr int kGap = 1;
  constexpr int kClosest = 3;
  double scale = std::max((canvas.TextWidth(kActualTitle) + kGap) / 23.0,
                          (canvas.TextWidth("00.0") + kGap) / 7.0);
  std::vector<std::pair<int, std::string>> labels;
  std::ostream nowhere(nullptr);
  for (const CalibrationPoint& point : points)
    labels.emplace_back(TruncateToLogical(point.x), PointLabel(point.x, nowhere));
  std::sort(labels.begin(), labels.end());
  for (std::size_t i = 1; i < labels.size(); ++i) {
    const int apart = labels[i].first - labels[i - 1].first;
    if (apart >= kClosest)
      scale = std::max(scale, (canvas.TextWidth(labels[i - 1].second) + kGap) / double(apart));
  }
  return scale;
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
  PaintCalibrationChart(canvas, clientWidth, clientHeight, points, coefficients, {}, {}, trace);
}

void PaintCalibrationChart(Canvas& canvas, int clientWidth, int clientHeight,
                           std::span<const CalibrationPoint> points,
                           const CalibrationCoefficients& coefficients,
                           std::span<const ReferenceMark> marks,
                           std::span<const std::string> referenceTitle, std::ostream& trace) {
  canvas.Clear();
  std::vector<ChartText> labels = ReferenceLabels(marks);
  std::vector<ChartText> texts =
      ChartTexts(marks.empty() ? labels : BoundingLabels(canvas, labels), points, coefficients);
  const std::vector<ChartText> title = TitleTexts(referenceTitle);
  texts.insert(texts.end(), title.begin(), title.end());
  const ChartArea area =
      FitChartArea(canvas, clientWidth, clientHeight, texts, MinimumScale(canvas, points));
  SetChartAreaMapping(canvas, area);
  if (!marks.empty()) {
    labels = ReferenceLabels(
        ThinReferenceMarks(marks, points, ChartAreaScale(area), canvas.TextHeight()));
  }
  DrawAxes(canvas);
  canvas.TextOut(-35, 50, kActualTitle);
  DrawReferenceLabels(canvas, labels);
  DrawCoefficientLines(canvas, coefficients, trace);
  for (const ChartText& line : title)
    canvas.TextOut(line.x, line.y, line.text);
  canvas.TextOut(5, 105, kEquation);
  DrawPoints(canvas, points, trace);
  canvas.TextOut(50, -5, kExperimentalTitle);
  if (!points.empty()) {
    DrawCurve(canvas, coefficients);
  }
}

}  // namespace pellum
