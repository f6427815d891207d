// The chart of the window offscreen: saved as a picture through File > Save Chart As, and
// readable at the smallest size the window allows.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDir>
#include <QFileDialog>
#include <QFontInfo>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QTest>
#include <fstream>
#include <sstream>
#include <vector>

#include "calib/calibration_points.h"
#include "calib/entry_validation.h"
#include "calib/fit.h"
#include "chart/calibration_chart.h"
#include "front/canvas/painter_canvas.h"
#include "front/desktop/chart_minimum_size.h"
#include "front/desktop/main_window.h"
#include "tests/desktop/qt_test_support.h"

namespace pellum {
namespace {

using testing::ModalAnswers;
using testing::TempFolder;
using testing::TestApplication;
using testing::TypeFileName;

// The six readings of the example film, calibrated as the Open command would.
void Calibrate(AppState& state) {
  EntryTexts entries;
  const char* const readings[6] = {"28.45", "47.31", "56.13", "69.14", "76.39", "88.04"};
  for (std::size_t i = 0; i < 6; ++i) {
    entries.SetSlot(i, readings[i]);
  }
  BuildCalibrationPoints(ParseEntries(entries), state.points);
  state.pointCount = static_cast<int>(state.points.size());
  state.coefficients = FitCalibration(state.points).coefficients;
}

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

class DesktopChartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApplication();
    window_ = std::make_unique<MainWindow>(config_.File("Pellum/last-folder"));
    window_->resize(1200, 800);
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  }

  // File > Save Chart As with name typed into the dialog, each further window answered by
  // its answer; says whether every one came.
  bool SaveChartAs(const std::string& name, std::vector<ModalAnswers::Answer> more) {
    ModalAnswers answers;
    answers.Then([&](QWidget* modal) {
      auto* dialog = dynamic_cast<QFileDialog*>(modal);
      ASSERT_NE(dialog, nullptr);
      EXPECT_EQ(dialog->windowTitle(), "Save Chart As");
      EXPECT_EQ(dialog->selectedNameFilter(), "SVG Pictures (*.svg)");
      TypeFileName(*dialog, QString::fromStdString(name));
    });
    for (ModalAnswers::Answer& answer : more) {
      answers.Then(std::move(answer));
    }
    window_->Command(MenuCommand::SaveChart);
    return answers.AllUsed();
  }

  static ModalAnswers::Answer Expect(QString caption, QString text) {
    return [caption, text](QWidget* modal) {
      auto* box = dynamic_cast<QMessageBox*>(modal);
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->windowTitle(), caption);
      EXPECT_EQ(box->text(), text);
      box->accept();
    };
  }

  TempFolder folder_;
  TempFolder config_;
  std::unique_ptr<MainWindow> window_;
};

// The PNG is the window's chart pixel for pixel; the SVG and the PDF are drawn at the same
// size. Saving over an existing picture is asked about first.
TEST_F(DesktopChartTest, SavedPicturesAreTheWindowsChart) {
  Calibrate(window_->State());
  window_->Chart()->update();
  const QSize area = window_->Chart()->size();
  const QString savedAs = QStringLiteral("Chart is saved as ");

  const std::string png = folder_.File("chart.png");
  ASSERT_TRUE(SaveChartAs(png, {Expect("Info", savedAs + QString::fromStdString(png))}));
  QImage picture(QString::fromStdString(png));
  ASSERT_FALSE(picture.isNull());
  EXPECT_EQ(picture.size(), area);
  const QImage shown = window_->Chart()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(picture.convertToFormat(QImage::Format_RGB32), shown);

  const std::string svg = folder_.File("chart.svg");
  const std::string pdf = folder_.File("chart.pdf");
  ASSERT_TRUE(SaveChartAs(svg, {Expect("Info", savedAs + QString::fromStdString(svg))}));
  ASSERT_TRUE(SaveChartAs(pdf, {Expect("Info", savedAs + QString::fromStdString(pdf))}));
  const std::string size =
      "width=\"" + std::to_string(area.width()) + "\" height=\"" + std::to_string(area.height());
  EXPECT_NE(Read(svg).find(size), std::string::npos) << size;
  EXPECT_NE(Read(svg).find(">88.030<"), std::string::npos) << "the texts are the window's";
  // ... in the window's font size, as large beside the chart as in the window.
  const std::string fontSize =
      "font-size=\"" + std::to_string(QFontInfo(window_->Chart()->font()).pixelSize()) + "\"";
  EXPECT_NE(Read(svg).find(fontSize), std::string::npos) << fontSize;
  EXPECT_NE(Read(svg).find("<svg width=\"" + std::to_string(area.width() * 254 / 96 / 10)),
            std::string::npos)
      << "a pixel is a 96th of an inch";
  EXPECT_EQ(Read(pdf).substr(0, 5), "%PDF-");

  // Again onto the PNG: the dialog asks before replacing it; a "No" leaves it as it was.
  const std::string before = Read(png);
  bool asked = false;
  ASSERT_TRUE(SaveChartAs(png, {[&](QWidget* modal) {
                                  auto* box = dynamic_cast<QMessageBox*>(modal);
                                  ASSERT_NE(box, nullptr);
                                  asked = box->text().contains("already exists");
                                  box->button(QMessageBox::No)->click();
                                },
                                [](QWidget* modal) { dynamic_cast<QDialog*>(modal)->reject(); }}));
  EXPECT_TRUE(asked);
  EXPECT_EQ(Read(png), before);
}

// Every text's box on the device, as the canvas draws it: the font's advance and height
// from the text's top-left corner.
class TextBoxCanvas : public PainterCanvas {
 public:
  TextBoxCanvas(QPainter& painter, QSize area) : PainterCanvas(painter, area), painter_(painter) {}
  void TextOut(int x, int y, std::string_view text) override {
    const QFontMetricsF metrics(painter_.font(), painter_.device());
    const QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    boxes.push_back({shown, QRectF(ToDevice(x, y),
                                   QSizeF(metrics.horizontalAdvance(shown), metrics.height()))});
    PainterCanvas::TextOut(x, y, text);
  }
  void SetZoom(double z) override {
    zoom = z;
    PainterCanvas::SetZoom(z);
  }
  std::vector<std::pair<QString, QRectF>> boxes;
  double zoom = 1.0;  // the boxes are in the chart's pixels, the area's divided by zoom

 private:
  QPainter& painter_;
};

// Texts that overlap each other or the axes, or leave the area, on a chart of this size.
QStringList CrowdedTexts(QSize area, const AppState& state) {
  QImage image(area, QImage::Format_RGB32);
  QPainter painter(&image);
  TextBoxCanvas canvas(painter, area);
  std::ostringstream trace;
  PaintCalibrationChart(canvas, area.width(), area.height(), state.points, state.coefficients,
                        trace);
  std::vector<std::pair<QString, QRectF>> all = canvas.boxes;
  const QPointF origin = canvas.ToDevice(0, 0);
  all.push_back({"vertical axis", QRectF(origin.x(), canvas.ToDevice(0, 100).y(), 1,
                                         origin.y() - canvas.ToDevice(0, 100).y())});
  all.push_back({"horizontal axis",
                 QRectF(origin.x(), origin.y(), canvas.ToDevice(100, 0).x() - origin.x(), 1)});
  QStringList crowded;
  const QRectF inside(QPointF(0, 0), QSizeF(area) / canvas.zoom);
  for (std::size_t i = 0; i < all.size(); ++i) {
    if (!inside.contains(all[i].second))
      crowded << all[i].first + " leaves the area";
    for (std::size_t j = i + 1; j < all.size(); ++j) {
      if (all[i].second.intersects(all[j].second))
        crowded << all[i].first + " / " + all[j].first;
    }
  }
  return crowded;
}

// A picture of any size, as pellum-cli draws it: every text inside and clear of the others,
// the chart shrunk whole when the size is too small for its texts.
TEST_F(DesktopChartTest, NoTextIsCutOffOrCrowdedAtAnyPictureSize) {
  AppState& state = window_->State();
  Calibrate(state);
  for (const QSize size :
       {QSize(800, 600), QSize(600, 600), QSize(2000, 600), QSize(1000, 800), QSize(1200, 1200),
        QSize(1920, 1080), QSize(400, 1000), QSize(100, 60), QSize(5000, 300)}) {
    EXPECT_EQ(CrowdedTexts(size, state), QStringList()) << size.width() << "x" << size.height();
  }
}

// How much the chart is shrunk to hold its texts at this size: 1 when it is not.
double ZoomAt(QSize area, const AppState& state) {
  QImage image(area, QImage::Format_RGB32);
  QPainter painter(&image);
  TextBoxCanvas canvas(painter, area);
  std::ostringstream trace;
  PaintCalibrationChart(canvas, area.width(), area.height(), state.points, state.coefficients,
                        trace);
  return canvas.zoom;
}

TEST_F(DesktopChartTest, EveryTextIsClearAtTheMinimumSizeAndTheWindowGoesNoSmaller) {
  AppState& state = window_->State();
  Calibrate(state);
  const QSize minimum = MinimumChartSize(window_->Chart()->fontMetrics());
  EXPECT_EQ(window_->Chart()->minimumSizeHint(), minimum);
  EXPECT_EQ(CrowdedTexts(minimum, state), QStringList())
      << minimum.width() << "x" << minimum.height();
  EXPECT_EQ(CrowdedTexts(minimum + QSize(400, 200), state), QStringList());
  // The sizes the minimum rules out hold the texts only with the chart shrunk: it is not
  // larger than it needs to be by much (a tenth less in either direction shrinks the text).
  EXPECT_EQ(ZoomAt(minimum, state), 1.0);
  EXPECT_EQ(ZoomAt(QSize(800, 600), state), 1.0) << "pellum-cli's default size";
  EXPECT_LT(ZoomAt(QSize(minimum.width(), minimum.height() * 9 / 10), state), 1.0);
  EXPECT_LT(ZoomAt(QSize(minimum.width() * 9 / 10, minimum.height()), state), 1.0);
  EXPECT_LT(ZoomAt(QSize(120, 80), state), 1.0);

  // Readings a degree from their references bring the labels of 4 0 0 and 3 3 1 within 5
  // units: at the minimum size the chart is drawn a little shrunk rather than crowded.
  AppState near = state;
  near.points[3].x = 70.12;
  near.points[4].x = 75.38;
  EXPECT_EQ(CrowdedTexts(minimum, near), QStringList());
  EXPECT_LT(ZoomAt(minimum, near), 1.0);
  EXPECT_EQ(CrowdedTexts(minimum + QSize(400, 200), near), QStringList());

  // Made as small as can be, the window keeps the chart at its minimum, panel and all.
  window_->resize(120, 80);
  QApplication::processEvents();
  EXPECT_GE(window_->Chart()->width(), minimum.width());
  EXPECT_GE(window_->Chart()->height(), minimum.height());
  EXPECT_TRUE(window_->Panel()->isVisible());
}

}  // namespace
}  // namespace pellum
