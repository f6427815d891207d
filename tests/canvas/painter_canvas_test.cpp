#include "front/canvas/painter_canvas.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <array>
#include <memory>
#include <sstream>

#include "chart/calibration_chart.h"

namespace pellum {
namespace {

class PainterCanvasTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (QGuiApplication::instance() == nullptr) {
      qputenv("QT_QPA_PLATFORM", "offscreen");
      static int argc = 1;
      static char name[] = "pellum_qt_canvas_tests";
      static char* argv[] = {name, nullptr};
      static QGuiApplication app(argc, argv);
    }
  }

  // An image of the client area, first filled with a colour the chart never uses, so that
  // what the paint leaves untouched shows.
  static QImage Blank(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::red);
    return image;
  }

  static QImage PaintChart(int width, int height, std::span<const CalibrationPoint> points,
                           QImage image = QImage()) {
    if (image.isNull()) {
      image = Blank(width, height);
    }
    QPainter painter(&image);
    PainterCanvas canvas(painter, QSize(width, height));
    std::ostringstream trace;
    PaintCalibrationChart(canvas, width, height, points, CalibrationCoefficients{}, trace);
    return image;
  }

  static bool IsBlack(const QImage& image, int x, int y) {
    return image.pixelColor(x, y) == QColor(Qt::black);
  }
  static bool IsWhite(const QImage& image, int x, int y) {
    return image.pixelColor(x, y) == QColor(Qt::white);
  }
};

TEST_F(PainterCanvasTest, MappingPutsLogicalPointsOnTheirPixels) {
  const struct {
    int width, height;
    int x, y;
    QPointF device;
  } cases[] = {
      {1000, 600, 0, 0, {200, 540}},  {1000, 600, 100, 0, {700, 540}},
      {1000, 600, 0, 100, {200, 40}}, {1000, 600, -40, 108, {0, 0}},
      {600, 600, 0, 0, {120, 540}},   {600, 600, 96, -12, {600, 600}},
      {400, 1000, 0, 0, {80, 900}},   {400, 1000, 100, 0, {413, 900}},  // scale 10/3
      {400, 1000, 0, 100, {80, 567}}, {0, 0, 50, 50, {0, 0}},           // degenerate: one point
  };
  for (const auto& c : cases) {
    QImage image = Blank(std::max(c.width, 1), std::max(c.height, 1));
    QPainter painter(&image);
    PainterCanvas canvas(painter, QSize(c.width, c.height));
    canvas.SetIsotropicMapping(120, 120, c.width, -c.height, c.width * 2 / 10, c.height * 9 / 10);
    EXPECT_EQ(canvas.ToDevice(c.x, c.y), c.device) << c.width << "x" << c.height;
  }
}

TEST_F(PainterCanvasTest, AxesAndMarkerLandWhereTheMappingPutsThem) {
  const CalibrationPoint point{50.0, 50.0, 0.0001};
  const QImage image = PaintChart(1000, 600, std::span(&point, 1));
  // The axes: one pixel wide, through the origin at (200, 540), 100 units of 5 pixels.
  for (int x : {205, 300, 450, 695}) {
    EXPECT_TRUE(IsBlack(image, x, 540)) << "horizontal axis at x " << x;
    EXPECT_TRUE(IsWhite(image, x, 539)) << x;
    EXPECT_TRUE(IsWhite(image, x, 541)) << x;
  }
  for (int y : {100, 300, 535}) {
    EXPECT_TRUE(IsBlack(image, 200, y)) << "vertical axis at y " << y;
    EXPECT_TRUE(IsWhite(image, 199, y)) << y;
    EXPECT_TRUE(IsWhite(image, 201, y)) << y;
  }
  EXPECT_TRUE(IsWhite(image, 705, 540)) << "the horizontal axis ends at 100";
  // The marker: a circle of radius 2 units around (450, 290), white inside.
  EXPECT_TRUE(IsWhite(image, 450, 290));
  EXPECT_TRUE(IsBlack(image, 440, 290));
  EXPECT_TRUE(IsBlack(image, 460, 290));
  EXPECT_TRUE(IsBlack(image, 450, 280));
  EXPECT_TRUE(IsBlack(image, 450, 300));
  EXPECT_TRUE(IsWhite(image, 438, 290));
  EXPECT_TRUE(IsWhite(image, 462, 290));
  // Everything else was cleared white: no red survives anywhere.
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      ASSERT_NE(image.pixelColor(x, y), QColor(Qt::red)) << x << "," << y;
    }
  }
}

TEST_F(PainterCanvasTest, EveryPaintStartsFromAWhiteArea) {
  const CalibrationPoint point{50.0, 50.0, 0.0001};
  const QImage first = PaintChart(1000, 600, std::span(&point, 1));
  ASSERT_TRUE(IsBlack(first, 440, 290));
  // The next calibration has no point there: the old marker must be gone.
  const CalibrationPoint moved{80.0, 20.0, 0.0001};
  const QImage second = PaintChart(1000, 600, std::span(&moved, 1), first);
  EXPECT_TRUE(IsWhite(second, 440, 290));
  EXPECT_TRUE(IsWhite(second, 460, 290));
  EXPECT_TRUE(IsBlack(second, 590, 440)) << "the new marker around (600, 440)";
}

// The bounding rectangle of the pixels that are pure white.
QRect WhitePixels(const QImage& image) {
  QRect box;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixelColor(x, y) == QColor(Qt::white)) {
        box |= QRect(x, y, 1, 1);
      }
    }
  }
  return box;
}

int DarkPixelCount(const QImage& image, const QRect& area) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      count += image.pixelColor(x, y).lightness() < 128 ? 1 : 0;
    }
  }
  return count;
}

TEST_F(PainterCanvasTest, TextHangsBelowItsPositionInAnUnscaledFontOnWhite) {
  QSize backgrounds[2];
  const int sizes[2][2] = {{1000, 600}, {2000, 1200}};
  for (int i = 0; i < 2; ++i) {
    const int width = sizes[i][0];
    const int height = sizes[i][1];
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
      QPainter painter(&image);
      PainterCanvas canvas(painter, QSize(width, height));
      canvas.SetIsotropicMapping(120, 120, width, -height, width * 2 / 10, height * 9 / 10);
      canvas.TextOut(10, 10, "Actual 2 theta");
    }
    // The opaque white box starts at the position and extends right and down; the black
    // glyphs lie inside it.
    const QRect background = WhitePixels(image);
    const double scale = std::min(width, height) / 120.0;
    EXPECT_EQ(background.topLeft(), QPoint(width * 2 / 10 + static_cast<int>(10 * scale),
                                           height * 9 / 10 - static_cast<int>(10 * scale)));
    EXPECT_GT(background.width(), background.height());
    EXPECT_GT(DarkPixelCount(image, background.adjusted(1, 1, -1, -1)), 20);
    backgrounds[i] = background.size();
  }
  EXPECT_EQ(backgrounds[0], backgrounds[1]) << "text keeps its size whatever the scale";
}

// On a screen of two device pixels per logical one the lines are one logical pixel wide,
// as the text beside them is twice as large in device pixels; at one to one they stay one
// device pixel wide.
TEST_F(PainterCanvasTest, LinesAreOneLogicalPixelWideAtEveryDensity) {
  const CalibrationPoint point{50.0, 50.0, 0.0001};
  for (const qreal density : {1.0, 2.0}) {
    QImage image(static_cast<int>(1000 * density), static_cast<int>(600 * density),
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(density);
    image.fill(Qt::red);
    {
      QPainter painter(&image);
      PainterCanvas canvas(painter, QSize(1000, 600));
      std::ostringstream trace;
      PaintCalibrationChart(canvas, 1000, 600, std::span(&point, 1), CalibrationCoefficients{},
                            trace);
    }
    // The horizontal axis at logical y 540, looked at across logical x 300 to 450.
    const int column = static_cast<int>(400 * density);
    int dark = 0;
    for (int y = static_cast<int>(530 * density); y < static_cast<int>(550 * density); ++y) {
      dark += image.pixelColor(column, y).lightness() < 128 ? 1 : 0;
    }
    EXPECT_EQ(dark, static_cast<int>(density)) << "device pixels across the axis at " << density;
  }
}

}  // namespace
}  // namespace pellum
