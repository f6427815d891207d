// The correction chart through the recording canvas: its elements, and its texts inside the
// client area at every size.
#include "chart/correction_chart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "calib/fit.h"
#include "calib/fit_quality.h"
#include "tests/chart/recording_canvas.h"

namespace pellum {
namespace {

using Op = RecordingCanvas::Operation;

const std::vector<CalibrationPoint> kFilm = {{28.45, 28.442, 1e-4}, {47.31, 47.303, 1e-4},
                                             {56.13, 56.122, 1e-4}, {69.14, 69.13, 1e-4},
                                             {76.39, 76.376, 1e-4}, {88.04, 88.03, 1e-4}};

struct Painted {
  RecordingCanvas canvas;
  FitQuality quality;
};

void Paint(Painted& p, const std::vector<CalibrationPoint>& points, int width, int height,
           std::uint64_t outside = 0, std::span<const std::string> hklTexts = {},
           std::span<const std::string> title = {}) {
  const CalibrationFit fit = FitCalibration(points);
  p.quality = AssessFit(points, fit.coefficients, PrefersStraightLine(fit.result));
  p.canvas.charWidth = 7;
  p.canvas.lineHeight = 14;
  PaintCorrectionChart(p.canvas, width, height,
                       {points, fit.coefficients, &p.quality, outside, hklTexts, title});
}

std::vector<std::string> Texts(const RecordingCanvas& canvas) {
  std::vector<std::string> texts;
  for (const Op& op : canvas.Named("TextOut"))
    texts.push_back(op.text);
  return texts;
}

bool Has(const std::vector<std::string>& texts, const std::string& text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

TEST(CorrectionChart, DrawsEachReadingWithItsHklResidualCurveBandAndRange) {
  const struct {
    const char* name;
    std::vector<CalibrationPoint> points;
    std::uint64_t outside;
    bool band;
    // Another reference's hkl, as the residual lines name them, and the labels they give.
    std::vector<std::string> hklTexts = {};
    std::vector<std::string> labels = {};
    // The reference's name, the legend's first lines.
    std::vector<std::string> title = {};
  } cases[] = {
      {"six readings", kFilm, 774, true},
      // As many readings as coefficients: no covariance, so no band.
      {"three readings", {kFilm[0], kFilm[2], kFilm[5]}, 0, false},
      // Two readings: the straight line, again without a band.
      {"two readings", {kFilm[1], kFilm[4]}, 0, false},
      // Corundum: an index of two digits keeps the spaces, which alone tell 1 0 10 from 10 1 0.
      {"corundum",
       {{25.59, 25.5784, 1e-4},
        {43.37, 43.3554, 1e-4},
        {52.56, 52.5531, 1e-4},
        {76.88, 76.8697, 1e-4}},
       0,
       true,
       {"0 1 2", "1 1 3", "0 2 4", "1 0 10"},
       {"012", "113", "024", "1 0 10"}},
      // Silicon for Cr K-alpha1: its three lines, named by the reference, not the table.
      {"silicon, Cr",
       {{42.84, 42.828322, 1e-4}, {73.21, 73.198884, 1e-4}, {88.72, 88.713925, 1e-4}},
       0,
       false,
       {"1 1 1", "2 2 0", "3 1 1"},
       {"111", "220", "311"},
       {"silicon SRM 640e", "Cr K-alpha1 (2.289726 \u00C5)"}},
  };
  for (const auto& c : cases) {
    Painted p;
    Paint(p, c.points, 800, 600, c.outside, c.hklTexts, c.title);
    const std::vector<std::string> texts = Texts(p.canvas);
    const auto model = std::find(texts.begin(), texts.end(), "model: quadratic");
    ASSERT_GE(model - texts.begin(), static_cast<std::ptrdiff_t>(c.title.size())) << c.name;
    EXPECT_EQ(std::vector<std::string>(model - c.title.size(), model), c.title) << c.name;
    EXPECT_EQ(p.canvas.Named("Ellipse").size(), c.points.size()) << c.name;
    for (const CalibrationPoint& point : c.points) {
      std::string hkl(ReflectionHkl(point.y));
      std::erase(hkl, ' ');
      if (c.hklTexts.empty()) {
        EXPECT_TRUE(Has(texts, hkl)) << c.name << " " << hkl;
      }
    }
    for (const std::string& label : c.labels)
      EXPECT_TRUE(Has(texts, label)) << c.name << " " << label;
    if (!c.hklTexts.empty()) {
      EXPECT_FALSE(Has(texts, "?")) << c.name;
    }
    EXPECT_EQ(Has(texts, ":  +/- 1 su of the correction"), c.band) << c.name;
    EXPECT_EQ(Has(texts, "774 rows converted outside it"), c.outside == 774) << c.name;
    EXPECT_TRUE(Has(texts, "Experimental 2 theta"));
    // Axes (3 points), 101 of the curve, a residual per reading, two dashed verticals of
    // 25 dashes, ticks, and the band's two dotted curves of 50 dots each.
    const std::size_t moves = p.canvas.Named("MoveTo").size();
    const std::size_t bandMoves = c.band ? 2 * 51 : 0;
    EXPECT_GE(moves, 1 + 1 + c.points.size() + 50 + bandMoves) << c.name;
    EXPECT_LT(moves, 1 + 1 + c.points.size() + 50 + bandMoves + 30) << c.name;
  }
}

// Each residual line runs from the reading's circle to the curve: down where the curve
// lies below the reading (331 of the example film reads 0.0033 above its reflection).
TEST(CorrectionChart, ResidualLinesEndOnTheCurve) {
  Painted p;
  Paint(p, kFilm, 800, 600);
  const std::vector<Op>& ops = p.canvas.operations;
  std::size_t residuals = 0;
  for (std::size_t i = 0; i + 2 < ops.size(); ++i) {
    if (ops[i].name == "MoveTo" && ops[i + 1].name == "LineTo" && ops[i + 2].name == "Ellipse") {
      const Op& ellipse = ops[i + 2];
      EXPECT_EQ(ops[i].args[0], (ellipse.args[0] + ellipse.args[2]) / 2);  // the circle's centre
      EXPECT_EQ(ops[i].args[1], (ellipse.args[1] + ellipse.args[3]) / 2);
      EXPECT_EQ(ops[i + 1].args[0], ops[i].args[0]);  // vertical
      ++residuals;
    }
  }
  EXPECT_EQ(residuals, kFilm.size());
}

TEST(CorrectionChart, NoTextLeavesTheClientAreaAtAnySize) {
  for (const auto& [width, height] : std::vector<std::pair<int, int>>{{800, 600},
                                                                      {600, 600},
                                                                      {2000, 600},
                                                                      {1000, 800},
                                                                      {1200, 1200},
                                                                      {400, 1000},
                                                                      {100, 100},
                                                                      {1, 1},
                                                                      {5000, 300}}) {
    Painted p;
    Paint(p, kFilm, width, height, 774);
    double zoom = 1.0, originX = 0, originY = 0, scale = 0;
    for (const Op& op : p.canvas.operations) {
      if (op.name == "Zoom") {
        zoom = op.args[0] / 1000.0;
      } else if (op.name == "Mapping") {
        EXPECT_EQ(op.args[0], 1200);
        scale = std::min(std::abs(op.args[2]), std::abs(op.args[3])) / 1200.0;
        originX = op.args[4];
        originY = op.args[5];
      } else if (op.name == "TextOut") {
        const double left = zoom * (originX + op.args[0] * scale);
        const double top = zoom * (originY - op.args[1] * scale);
        EXPECT_GE(left, -1.0) << op.text << " at " << width << "x" << height;
        EXPECT_GE(top, -1.0) << op.text << " at " << width << "x" << height;
        EXPECT_LE(left + zoom * 7 * op.text.size(), width + 1.0)
            << op.text << " at " << width << "x" << height;
        EXPECT_LE(top + zoom * 14, height + 1.0) << op.text << " at " << width << "x" << height;
      }
    }
  }
}

TEST(CorrectionChart, BeforeACalibrationOnlyTheAxesAndTheTitle) {
  RecordingCanvas canvas;
  PaintCorrectionChart(canvas, 800, 600, {});
  EXPECT_EQ(canvas.Named("Ellipse").size(), 0u);
  EXPECT_EQ(canvas.operations.front().name, "Clear");
}

TEST(NiceStep, OneTwoOrFiveTimesAPowerOfTen) {
  const struct {
    double span;
    int parts;
    double step;
  } cases[] = {{0.0052, 5, 0.002}, {60, 5, 20},  {0.3, 4, 0.1},
               {100, 5, 20},       {1, 10, 0.1}, {0, 5, 0}};
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(NiceStep(c.span, c.parts), c.step) << c.span;
}

}  // namespace
}  // namespace pellum
