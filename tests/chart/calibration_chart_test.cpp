#include "chart/calibration_chart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "chart/reference_label.h"
#include "tests/chart/recording_canvas.h"

namespace pellum {
namespace {

using Op = RecordingCanvas::Operation;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// A calibration of all six reflections, read a little high on the film.
constexpr std::array<CalibrationPoint, 6> kSixPoints = {{
    {28.5, 28.442, 0.0001},
    {47.4, 47.303, 0.0001},
    {56.2, 56.122, 0.0001},
    {69.25, 69.13, 0.0001},
    {76.5, 76.376, 0.0001},
    {88.2, 88.03, 0.0001},
}};
constexpr CalibrationCoefficients kSixPointFit{123456789012.0, -0.0523, 0.99812, 1.234e-5};

std::string ReadGolden(const std::string& name) {
  std::ifstream in(std::string(PELLUM_TEST_DATA_DIR) + "/chart/" + name);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The whole operation list against a file under tests/data/chart; PELLUM_UPDATE_GOLDEN=1
// rewrites the file instead, for a change that is meant.
void ExpectGolden(const std::string& name, const std::string& transcript) {
  if (std::getenv("PELLUM_UPDATE_GOLDEN") != nullptr) {
    std::ofstream(std::string(PELLUM_TEST_DATA_DIR) + "/chart/" + name) << transcript;
    return;
  }
  EXPECT_EQ(transcript, ReadGolden(name)) << name;
}

struct Paint {
  RecordingCanvas canvas;
  std::string trace;
};

Paint PaintChart(std::span<const CalibrationPoint> points, const CalibrationCoefficients& c,
                 int width = 1000, int height = 600) {
  Paint paint;
  std::ostringstream trace;
  PaintCalibrationChart(paint.canvas, width, height, points, c, trace);
  paint.trace = trace.str();
  return paint;
}

TEST(CalibrationChart, StartUpChartHasAxesLabelsAndZeroCoefficientsOnly) {
  const Paint paint = PaintChart({}, CalibrationCoefficients{});
  ExpectGolden("startup_chart.txt", paint.canvas.Transcript());
  const std::string zeroLine =
      "source: 0.0000000000   buffer: '00000000000000000000'   decimal: 0   sign: 0\n";
  EXPECT_EQ(paint.trace, zeroLine + zeroLine + zeroLine + zeroLine);
  EXPECT_TRUE(paint.canvas.Named("Ellipse").empty());
  EXPECT_EQ(paint.canvas.Named("LineTo").size(), 2u) << "the axes, no curve";
}

TEST(CalibrationChart, SixPointChartInDrawingOrder) {
  const Paint paint = PaintChart(kSixPoints, kSixPointFit);
  ExpectGolden("six_point_chart.txt", paint.canvas.Transcript());
  // Trace lines: a1, a2, a3, delta, then the six point labels, as drawn.
  const std::string expectedTrace =
      "source: -0.0523000000   buffer: '5229999999999999900'   decimal: -1   sign: 1\n"
      "source: 0.9981200000   buffer: '99812000000000001000'   decimal: 0   sign: 0\n"
      "source: 0.0000123400   buffer: '1234000000000000'   decimal: -4   sign: 0\n"
      "source: 123456789012.0000000000   buffer: '12345678901200000000000000000000'   decimal: 12"
      "   sign: 0\n"
      "source: 28.5000000000   buffer: '28500000000000000'   decimal: 2   sign: 0\n"
      "source: 47.4000000000   buffer: '47399999999999999'   decimal: 2   sign: 0\n"
      "source: 56.2000000000   buffer: '56200000000000003'   decimal: 2   sign: 0\n"
      "source: 69.2500000000   buffer: '69250000000000000'   decimal: 2   sign: 0\n"
      "source: 76.5000000000   buffer: '76500000000000000'   decimal: 2   sign: 0\n"
      "source: 88.2000000000   buffer: '88200000000000003'   decimal: 2   sign: 0\n";
  EXPECT_EQ(paint.trace, expectedTrace);
}

TEST(CalibrationChart, EveryPaintStartsOnAClearedArea) {
  // A second calibration's paint must not show beside the first: the canvas is cleared
  // before anything else, on every paint.
  RecordingCanvas canvas;
  std::ostringstream trace;
  PaintCalibrationChart(canvas, 1000, 600, kSixPoints, kSixPointFit, trace);
  const std::size_t firstPaint = canvas.operations.size();
  PaintCalibrationChart(canvas, 1000, 600, std::span(kSixPoints).first(1), kSixPointFit, trace);
  ASSERT_GT(canvas.operations.size(), firstPaint);
  EXPECT_EQ(canvas.operations.front().name, "Clear");
  EXPECT_EQ(canvas.operations[firstPaint].name, "Clear");
  EXPECT_EQ(canvas.Named("Clear").size(), 2u);
}

TEST(CalibrationChart, MappingFitsTheShorterSideWithTheOriginAtTwoTenthsAndNineTenths) {
  const struct {
    int width, height;
    std::vector<int> mapping;
  } cases[] = {
      {1000, 600, {120, 120, 1000, -600, 200, 540}},
      {999, 599, {120, 120, 999, -599, 199, 539}},  // integer division truncates
      {0, 0, {120, 120, 0, 0, 0, 0}},               // before the first size message
      // At s = 5 the coefficient lines (x = 110) would start at 670, past the right edge,
      // and "Actual 2 theta" (x = -35) at -55: the area keeps the width and is as tall as
      // lets the title start inside, s = 411 / 120, centred.
      {600, 600, {120, 120, 600, -411, 120, 463}},
      {400, 1000, {120, 120, 400, -274, 80, 609}},
  };
  for (const auto& c : cases) {
    const Paint paint = PaintChart({}, CalibrationCoefficients{}, c.width, c.height);
    ASSERT_GE(paint.canvas.operations.size(), 2u);
    EXPECT_EQ(RecordingCanvas::Describe(paint.canvas.operations[1]),
              RecordingCanvas::Describe(Op{"Mapping", c.mapping, {}}))
        << c.width << "x" << c.height;
  }
}

// Every text's box on the device, from the recorded zoom and mapping and the canvas's
// measure; the boxes that leave a client area of width by height pixels.
std::vector<std::string> TextsOutside(const RecordingCanvas& canvas, int width, int height) {
  double zoom = 1.0;
  double originX = 0.0, originY = 0.0, scale = 0.0;
  std::vector<std::string> outside;
  for (const Op& op : canvas.operations) {
    if (op.name == "Zoom") {
      zoom = op.args[0] / 1000.0;
    } else if (op.name == "Mapping") {
      scale = std::min(std::abs(op.args[2]), std::abs(op.args[3])) / 120.0;
      originX = op.args[4];
      originY = op.args[5];
    } else if (op.name == "TextOut") {
      const double left = zoom * (originX + op.args[0] * scale);
      const double top = zoom * (originY - op.args[1] * scale);
      const double right = left + zoom * canvas.TextWidth(op.text);
      const double bottom = top + zoom * canvas.TextHeight();
      // A pixel's slack: the zoom is recorded to a thousandth.
      if (left < -1.0 || top < -1.0 || right > width + 1.0 || bottom > height + 1.0)
        outside.push_back(op.text);
    }
  }
  return outside;
}

TEST(CalibrationChart, NoTextLeavesTheClientAreaAtAnySize) {
  const struct {
    int width, height;
    bool zoomed;  // too small for the texts at their own size
  } sizes[] = {
      // 7 pixels a character is wider than the window's font: the lines beside the chart
      // need a little more than 800 pixels at the smallest scale that keeps labels apart.
      {800, 600, false},   {600, 600, true},      {2000, 600, false}, {1000, 800, false},
      {1200, 1200, false}, {400, 1000, true},     {1000, 560, false}, {100, 100, true},
      {1, 1, true},        {20000, 20000, false}, {300, 2000, true},  {2000, 250, true},
  };
  for (const auto& size : sizes) {
    RecordingCanvas canvas;
    canvas.charWidth = 7;  // about DejaVu Sans 9 pt
    canvas.lineHeight = 14;
    std::ostringstream trace;
    PaintCalibrationChart(canvas, size.width, size.height, kSixPoints, kSixPointFit, trace);
    EXPECT_EQ(TextsOutside(canvas, size.width, size.height), std::vector<std::string>{})
        << size.width << "x" << size.height;
    EXPECT_EQ(canvas.Named("Zoom").size(), size.zoomed ? 1u : 0u)
        << size.width << "x" << size.height;
    EXPECT_EQ(canvas.Named("TextOut").size(), 6u + 4u + 3u + 6u);
    // The trace is that of one paint whatever the area: measuring writes none.
    const std::string lines = trace.str();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 4 + 6);
  }
}

// Texts no area can hold (a font of absurd size): the search ends, bounded, and the chart is
// drawn on the whole client area as it always was.
TEST(CalibrationChart, TextsNoAreaHoldsLeaveTheChartAsItWas) {
  RecordingCanvas canvas;
  canvas.charWidth = 10000000;
  canvas.lineHeight = 14;
  std::ostringstream trace;
  PaintCalibrationChart(canvas, 1000, 600, kSixPoints, kSixPointFit, trace);
  EXPECT_EQ(canvas.Named("Zoom").size(), 0u);
  EXPECT_EQ(RecordingCanvas::Describe(canvas.Named("Mapping")[0]),
            "Mapping 120 120 1000 -600 200 540");
}

TEST(CalibrationChart, PointMarkerAndLabelStandAtTheTruncatedPoint) {
  const struct {
    CalibrationPoint point;
    Op marker;
    Op label;
  } cases[] = {
      {{28.442, 28.442, 0.0001}, {"Ellipse", {30, 30, 26, 26}, {}}, {"TextOut", {28, -1}, "28.4"}},
      {{47.9, 47.303, 0.0001}, {"Ellipse", {49, 49, 45, 45}, {}}, {"TextOut", {47, -1}, "47.9"}},
      {{0.0, 28.442, 0.0001}, {"Ellipse", {2, 30, -2, 26}, {}}, {"TextOut", {0, -1}, "0.000"}},
      {{-0.0, 28.442, 0.0001}, {"Ellipse", {2, 30, -2, 26}, {}}, {"TextOut", {0, -1}, "0.000"}},
      {{99.97, 88.03, 0.0001}, {"Ellipse", {101, 90, 97, 86}, {}}, {"TextOut", {99, -1}, "100.0"}},
  };
  for (const auto& c : cases) {
    const Paint paint = PaintChart(std::span(&c.point, 1), CalibrationCoefficients{});
    const auto& ops = paint.canvas.operations;
    const auto marker = std::find(ops.begin(), ops.end(), c.marker);
    ASSERT_NE(marker, ops.end()) << c.point.x;
    ASSERT_NE(marker + 1, ops.end());
    EXPECT_EQ(*(marker + 1), c.label) << "the label follows its marker";
  }
}

TEST(CalibrationChart, DrawPointMarkerGivesTheCornersInOrder) {
  RecordingCanvas canvas;
  DrawPointMarker(canvas, 28, 28, 2);
  DrawPointMarker(canvas, -5, 7, 0);
  EXPECT_EQ(canvas.operations,
            (std::vector<Op>{{"Ellipse", {30, 30, 26, 26}, {}}, {"Ellipse", {-5, 7, -5, 7}, {}}}));
}

std::vector<Op> CurveOf(const CalibrationCoefficients& c) {
  const CalibrationPoint point{50.0, 50.0, 0.0001};
  const Paint paint = PaintChart(std::span(&point, 1), c);
  const auto& ops = paint.canvas.operations;
  // The curve is the last 100 operations: one move and 99 lines.
  return std::vector<Op>(ops.end() - 100, ops.end());
}

TEST(CalibrationChart, IdentityCalibrationDrawsTheDiagonal) {
  const std::vector<Op> curve = CurveOf({0.0, 0.0, 1.0, 0.0});
  EXPECT_EQ(curve.front(), (Op{"MoveTo", {0, 0}, {}}));
  for (int k = 1; k <= 99; ++k) {
    EXPECT_EQ(curve[static_cast<std::size_t>(k)], (Op{"LineTo", {k, k}, {}}));
  }
}

TEST(CalibrationChart, CurveOrdinatesFollowTheCalibrationAndTruncate) {
  // a1 = -0.7: the start is drawn at 0; a2 = 0.9999 leaves k = 99 at 98.99 -> 98.
  const std::vector<Op> curve = CurveOf({0.0, -0.7, 1.0001, 0.0});
  EXPECT_EQ(curve[0], (Op{"MoveTo", {0, 0}, {}}));
  EXPECT_EQ(curve[1], (Op{"LineTo", {1, 0}, {}}));     // 0.3001
  EXPECT_EQ(curve[2], (Op{"LineTo", {2, 1}, {}}));     // 1.3002
  EXPECT_EQ(curve[99], (Op{"LineTo", {99, 98}, {}}));  // 98.3099
  const std::vector<Op> quadratic = CurveOf({0.0, 1.0, 0.5, 0.01});
  EXPECT_EQ(quadratic[10], (Op{"LineTo", {10, 7}, {}}));    // 1 + 5 + 1
  EXPECT_EQ(quadratic[99], (Op{"LineTo", {99, 148}, {}}));  // 1 + 49.5 + 98.01
}

TEST(CalibrationChart, NonFiniteCoefficientsRunTheCurveAlongTheAxis) {
  const CalibrationCoefficients cases[] = {
      {0.0, kNaN, kNaN, kNaN},
      {kInf, 1.0, kInf, 0.0},
      {0.0, 0.0, 1e300, 1e300},  // finite but past 2^63
      {0.0, -kInf, 0.0, 0.0},
  };
  for (const auto& c : cases) {
    const std::vector<Op> curve = CurveOf(c);
    EXPECT_EQ(curve[0], (Op{"MoveTo", {0, 0}, {}}));
    for (std::size_t k = 1; k < curve.size(); ++k) {
      EXPECT_EQ(curve[k], (Op{"LineTo", {static_cast<int>(k), 0}, {}})) << k;
    }
  }
}

TEST(CalibrationChart, NonFiniteCoefficientsAreLabelledPlainly) {
  const Paint paint = PaintChart({}, {-kInf, kNaN, kInf, 1.0});
  const std::vector<Op> texts = paint.canvas.Named("TextOut");
  // Title, six reference labels, then the four coefficient lines.
  ASSERT_GE(texts.size(), 11u);
  EXPECT_EQ(texts[7].text, "    a1 =  nan");
  EXPECT_EQ(texts[8].text, "    a2 =  inf");
  EXPECT_EQ(texts[9].text, "    a3 =  1.00000000E0");
  EXPECT_EQ(texts[10].text, "delta = -inf");
}

TEST(CalibrationChart, TinyExperimentalValueLabelKeepsItsFirst99Characters) {
  const struct {
    double x;
    std::string label;
  } cases[] = {
      {1e-95, "0." + std::string(94, '0') + "100"},   // position -94: 99 characters, whole
      {1.5e-96, "0." + std::string(95, '0') + "15"},  // truncated at 97 decimals
      {1e-100, "0." + std::string(97, '0')},
      {4.9406564584124654e-324, "0." + std::string(97, '0')},
  };
  for (const auto& c : cases) {
    const CalibrationPoint point{c.x, 28.442, 0.0001};
    const Paint paint = PaintChart(std::span(&point, 1), CalibrationCoefficients{});
    const std::vector<Op> texts = paint.canvas.Named("TextOut");
    ASSERT_EQ(texts.size(), 14u);
    EXPECT_EQ(texts[12], (Op{"TextOut", {0, -1}, c.label})) << c.x;
    EXPECT_LE(texts[12].text.size(), kPointLabelMaxLength);
  }
}

TEST(TruncateToLogical, TruncatesTowardZeroAndWrapsToThirtyTwoBits) {
  const struct {
    double value;
    int logical;
  } cases[] = {
      {28.9, 28},
      {-0.7, 0},
      {99.99, 99},
      {-28.9, -28},
      {2147483648.0, -2147483647 - 1},  // 2^31: the low 32 bits
      {4294967301.0, 5},                // 2^32 + 5
      {-4294967297.0, -1},              // -(2^32 + 1)
      {9223372036854774784.0, -1024},   // just below 2^63
      {9223372036854775808.0, 0},       // 2^63
      {-9223372036854775808.0, 0},      // -2^63: magnitude 2^63
      {1e300, 0},
      {kNaN, 0},
      {kInf, 0},
      {-kInf, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TruncateToLogical(c.value), c.logical) << c.value;
  }
}
// Silicon SRM 640e for Cr K-alpha1 and LaB6 SRM 660c for Cu K-alpha1: their lines' two-theta
// and relative intensity, as pellum-cli --list-lines prints them.
const std::vector<ReferenceMark> kSiliconChromium = {
    {42.828322, 100.0}, {73.198884, 60.5}, {88.713925, 39.2}};
const std::vector<ReferenceMark> kLab6Copper = {
    {21.358274, 62.3}, {30.385400, 100.0}, {37.442499, 42.2}, {43.507423, 21.2}, {48.958426, 47.7},
    {53.989906, 25.2}, {63.219716, 9.3},   {67.549094, 26.2}, {71.747035, 18.6}, {75.845689, 11.7},
    {79.871551, 2.1},  {83.847402, 7.6},   {87.793674, 16.0}, {95.673486, 2.7},  {99.644703, 13.9}};

// The reference labels drawn: the texts at x = -12, in drawing order.
std::vector<Op> ReferenceLabelsDrawn(const RecordingCanvas& canvas) {
  std::vector<Op> labels;
  for (const Op& op : canvas.Named("TextOut"))
    if (op.args[0] == -12)
      labels.push_back(op);
  return labels;
}

TEST(CalibrationChart, AnotherReferencesLabelsAreItsLinesThinnedWhereTheyWouldTouch) {
  const std::vector<CalibrationPoint> siliconRead = {
      {42.84, 42.828322, 1e-4}, {73.21, 73.198884, 1e-4}, {88.72, 88.713925, 1e-4}};
  // 2 0 0 and 2 1 1 read: their labels are kept before the stronger 2 1 0 beside them.
  const std::vector<CalibrationPoint> lab6Read = {{43.52, 43.507423, 1e-4},
                                                  {54.0, 53.989906, 1e-4}};
  const struct {
    const char* name;
    const std::vector<ReferenceMark>& marks;
    std::vector<CalibrationPoint> points;
    int lineHeight;
    std::vector<Op> drawn;
  } cases[] = {
      {"Si 640e, Cr",
       kSiliconChromium,
       siliconRead,
       14,
       {{"TextOut", {-12, 42}, "42.828"},
        {"TextOut", {-12, 73}, "73.199"},
        {"TextOut", {-12, 88}, "88.714"}}},
      // 14-pixel lines at 5 pixels a unit: lines 4 units apart stand clear, all 15 drawn.
      {"LaB6, 14-pixel lines", kLab6Copper, {}, 14, {}},
      // 24-pixel lines need 6 units: the strongest first, 1 1 0, 1 0 0, 2 1 0, 1 1 1 ...
      {"LaB6, 24-pixel lines",
       kLab6Copper,
       {},
       24,
       {{"TextOut", {-12, 21}, "21.358"},
        {"TextOut", {-12, 30}, "30.385"},
        {"TextOut", {-12, 37}, "37.442"},
        {"TextOut", {-12, 48}, "48.958"},
        {"TextOut", {-12, 67}, "67.549"},
        {"TextOut", {-12, 75}, "75.846"},
        {"TextOut", {-12, 87}, "87.794"},
        {"TextOut", {-12, 99}, "99.645"}}},
      {"LaB6, 24-pixel lines, 2 0 0 and 2 1 1 read",
       kLab6Copper,
       lab6Read,
       24,
       {{"TextOut", {-12, 21}, "21.358"},
        {"TextOut", {-12, 30}, "30.385"},
        {"TextOut", {-12, 37}, "37.442"},
        {"TextOut", {-12, 43}, "43.507"},
        {"TextOut", {-12, 53}, "53.990"},
        {"TextOut", {-12, 67}, "67.549"},
        {"TextOut", {-12, 75}, "75.846"},
        {"TextOut", {-12, 87}, "87.794"},
        {"TextOut", {-12, 99}, "99.645"}}},
  };
  for (const auto& c : cases) {
    RecordingCanvas canvas;
    canvas.charWidth = 7;
    canvas.lineHeight = c.lineHeight;
    std::ostringstream trace, tableTrace;
    PaintCalibrationChart(canvas, 1000, 600, c.points, kSixPointFit, c.marks, {}, trace);
    ASSERT_EQ(RecordingCanvas::Describe(canvas.Named("Mapping")[0]),
              "Mapping 120 120 1000 -600 200 540")
        << c.name;
    const std::vector<Op> drawn = ReferenceLabelsDrawn(canvas);
    if (c.drawn.empty()) {
      EXPECT_EQ(drawn.size(), c.marks.size()) << c.name;
    } else {
      EXPECT_EQ(drawn, c.drawn) << c.name;
    }
    // The point labels and the coefficients, and so the trace, are the built-in table's.
    RecordingCanvas table;
    PaintCalibrationChart(table, 1000, 600, c.points, kSixPointFit, tableTrace);
    EXPECT_EQ(trace.str(), tableTrace.str()) << c.name;
    EXPECT_EQ(canvas.Named("TextOut").size() - drawn.size(), table.Named("TextOut").size() - 6)
        << c.name;
  }
}

// At every size and font, no two reference labels drawn print into or touch each other, no
// text leaves the client area (the reference's name under the coefficients included), and a
// chart large enough shows every line.
TEST(CalibrationChart, ThinnedLabelsNeverTouchNorLeaveTheArea) {
  const std::vector<CalibrationPoint> read = {{30.4, 30.3854, 1e-4}, {48.97, 48.958426, 1e-4}};
  const struct {
    int width, height;
  } sizes[] = {{1000, 600}, {800, 600}, {600, 600},  {400, 1000},   {300, 200},
               {100, 100},  {1, 1},     {2000, 250}, {20000, 20000}};
  for (const auto& size : sizes) {
    for (int lineHeight : {14, 20, 30}) {
      for (const auto* marks : {&kLab6Copper, &kSiliconChromium}) {
        RecordingCanvas canvas;
        canvas.charWidth = 7;
        canvas.lineHeight = lineHeight;
        std::ostringstream trace;
        const std::vector<std::string> title = {"LaB6 SRM 660c", "Cr K-alpha1 (2.289726 \u00C5)"};
        PaintCalibrationChart(canvas, size.width, size.height, read, kSixPointFit, *marks, title,
                              trace);
        const std::string at = std::to_string(size.width) + "x" + std::to_string(size.height) +
                               ", " + std::to_string(lineHeight) + "-pixel lines";
        EXPECT_EQ(TextsOutside(canvas, size.width, size.height), std::vector<std::string>{}) << at;
        const Op mapping = canvas.Named("Mapping")[0];
        const double scale = std::min(std::abs(mapping.args[2]), std::abs(mapping.args[3])) / 120.0;
        const std::vector<Op> drawn = ReferenceLabelsDrawn(canvas);
        ASSERT_FALSE(drawn.empty()) << at;
        for (std::size_t i = 1; i < drawn.size(); ++i)
          EXPECT_GE((drawn[i].args[1] - drawn[i - 1].args[1]) * scale, lineHeight + 1.0)
              << at << ": " << drawn[i - 1].text << " and " << drawn[i].text;
        if (size.width == 20000) {
          EXPECT_EQ(drawn.size(), marks->size()) << at;
        }
        std::vector<std::string> named;
        for (const Op& text : canvas.Named("TextOut"))
          if (text.args[0] == 110 && text.args[1] <= 10)
            named.push_back(text.text);
        EXPECT_EQ(named, title) << at;
      }
    }
  }
}

TEST(ThinReferenceMarks, KeepsTheReadThenTheStrongestClearOfEachOther) {
  const struct {
    const char* name;
    std::vector<ReferenceMark> marks;
    std::vector<CalibrationPoint> points;
    double scale;
    int lineHeight;
    std::vector<double> kept;
  } cases[] = {
      // 16 pixels are 3.2 units at 5 pixels a unit: 28 and 30 are too near.
      {"stronger", {{28.442, 10}, {30.385, 100}, {47.303, 50}}, {}, 5, 14, {30.385, 47.303}},
      {"read",
       {{28.442, 10}, {30.385, 100}, {47.303, 50}},
       {{28.5, 28.442, 1e-4}},
       5,
       14,
       {28.442, 47.303}},
      {"equal strength: the lower", {{28.442, 10}, {30.385, 10}}, {}, 5, 14, {28.442}},
      {"one height", {{47.1, 10}, {47.9, 20}}, {}, 100, 14, {47.9}},
      // 4 units at 4 pixels are 16: just clear; at 3.9 pixels they touch.
      {"just clear", {{20.0, 10}, {24.0, 20}}, {}, 4, 14, {20.0, 24.0}},
      {"touching", {{20.0, 10}, {24.0, 20}}, {}, 3.9, 14, {24.0}},
      {"no scale", {{20.0, 10}, {60.0, 20}}, {}, 0, 14, {60.0}},
      // A strength not known ranks below every known one.
      {"no strength", {{30.0, kNaN}, {31.0, 1}, {60.0, kNaN}}, {}, 5, 14, {31.0, 60.0}},
      {"none", {}, {}, 5, 14, {}},
  };
  for (const auto& c : cases) {
    std::vector<double> kept;
    for (const ReferenceMark& mark : ThinReferenceMarks(c.marks, c.points, c.scale, c.lineHeight))
      kept.push_back(mark.twoTheta);
    EXPECT_EQ(kept, c.kept) << c.name;
  }
}

TEST(ReferenceLabel, TwentyDigitsFromTheSeventeenDigitForm) {
  const struct {
    double value;
    const char* rendering;
    const char* drawn;
    int height;
  } rows[] = {
      {28.442, "28.442", "28.442", 28},
      {47.303, "47.302999999999997", "47.303", 47},  // rounded, not cut
      {56.122, "56.122", "56.122", 56},
      {69.13, "69.129999999999995", "69.130", 69},
      {76.376, "76.376000000000005", "76.376", 76},
      {88.03, "88.030000000000001", "88.030", 88},
  };
  const Paint paint = PaintChart({}, CalibrationCoefficients{});
  const std::vector<Op> texts = paint.canvas.Named("TextOut");
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const auto& row = rows[i];
    const std::string rendering = ReferenceLabelText(row.value);
    EXPECT_EQ(rendering, row.rendering);
    EXPECT_EQ(ReferenceLabelHeight(rendering, row.value), row.height);
    EXPECT_EQ(texts[1 + i], (Op{"TextOut", {-12, row.height}, row.drawn}));
    EXPECT_EQ(ReferenceLabelShown(row.value), row.drawn);
  }
  EXPECT_EQ(ReferenceLabelShown(0.0004), "0.000");
  EXPECT_EQ(ReferenceLabelShown(99.9996), "100.000");
  EXPECT_EQ(ReferenceLabelText(100.0), "100");
  EXPECT_EQ(ReferenceLabelText(0.000125), "0.000125");
  // Beyond 20 integer digits or below 1e-4: the exponent form of the 17-digit form.
  EXPECT_EQ(ReferenceLabelText(1e25), "1.0000000000000001e+25");
  EXPECT_EQ(ReferenceLabelText(-0.0000005), "-4.9999999999999998e-07");
  EXPECT_EQ(ReferenceLabelText(0x1p-23), "1.1920928955078125e-07");
}

}  // namespace
}  // namespace pellum
