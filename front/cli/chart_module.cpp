// The chart module of pellum-cli: the only part of it that needs Qt, loaded on demand.
#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QString>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <memory>

#include "chart/calibration_chart.h"
#include "front/canvas/painter_canvas.h"
#include "front/cli/chart_plugin.h"
#include "io/replacing_output_file.h"

namespace pellum::cli {
namespace {

std::string LowerCaseExtension(const std::string& path) {
  const std::size_t dot = path.find_last_of('.');
  const std::size_t slash = path.find_last_of('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
    return "";
  std::string extension = path.substr(dot);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

// A machine without a desktop session has no XDG_RUNTIME_DIR, and Qt says so on every run;
// nothing of the chart depends on it, so that one remark is left out of batch logs.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (message.startsWith("QStandardPaths:"))
    return;
  std::cerr << message.toStdString() << '\n';
  if (type == QtFatalMsg)
    std::abort();
}

// Text needs Qt's font machinery, and so an application object, alive while the chart is
// drawn and gone before the program exits. The chart is drawn offscreen, display or not,
// unless the user chose a platform.
std::unique_ptr<QGuiApplication> MakeQtApplication() {
  static int argc = 1;
  static char name[] = "pellum-cli";
  static char* argv[] = {name, nullptr};
  if (QCoreApplication::instance() != nullptr)
    return nullptr;
  if (std::getenv("QT_QPA_PLATFORM") == nullptr)
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  qInstallMessageHandler(QuietQtMessages);
  return std::make_unique<QGuiApplication>(argc, argv);
}

void Paint(QPainter& painter, const ChartRequest& request) {
  const QSize area(request.width, request.height);
  PainterCanvas canvas(painter, area);
  PaintCalibrationChart(canvas, area.width(), area.height(), request.points, request.coefficients,
                        *request.trace);
}

bool PaintOn(QPaintDevice& device, const ChartRequest& request, std::string& error) {
  QPainter painter;
  if (!painter.begin(&device)) {
    error = "cannot write " + request.path;
    return false;
  }
  Paint(painter, request);
  if (!painter.end()) {
    error = "cannot write " + request.path;
    return false;
  }
  return true;
}

bool RenderSvg(const ChartRequest& request, QBuffer& out, std::string& error) {
  const QSize area(request.width, request.height);
  QSvgGenerator svg;
  svg.setOutputDevice(&out);
  svg.setSize(area);
  svg.setViewBox(QRect(QPoint(0, 0), area));
  svg.setTitle("Pellum calibration chart");
  return PaintOn(svg, request, error);
}

bool RenderPng(const ChartRequest& request, QBuffer& out, std::string& error) {
  QImage image(QSize(request.width, request.height), QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    Paint(painter, request);
  }
  if (!image.save(&out, "PNG")) {
    error = "cannot write " + request.path;
    return false;
  }
  return true;
}

bool RenderPdf(const ChartRequest& request, QBuffer& out, std::string& error) {
  // A page of width by height pixels at a screen's 96 per inch, so that the default font
  // stands in the same proportion to the chart as it does in the window.
  constexpr double kPixelsPerInch = 96.0;
  constexpr double kPointsPerInch = 72.0;
  QPdfWriter pdf(&out);
  pdf.setResolution(static_cast<int>(kPixelsPerInch));
  pdf.setPageSize(QPageSize(QSizeF(request.width * kPointsPerInch / kPixelsPerInch,
                                   request.height * kPointsPerInch / kPixelsPerInch),
                            QPageSize::Point));
  pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
  pdf.setTitle("Pellum calibration chart");
  return PaintOn(pdf, request, error);
}

// The chart is drawn in memory and then written like every other output: the file at the
// path is replaced only by a complete chart, and a failed write is said, never a short file.
bool WriteChart(const std::string& path, const QByteArray& bytes, std::string& error) {
  ReplacingOutputFile file(path);
  if (file.Open()) {
    file.Stream().write(bytes.constData(), static_cast<std::streamsize>(bytes.size()));
    if (file.Commit())
      return true;
  }
  error = path;
  return false;
}

}  // namespace
}  // namespace pellum::cli

extern "C" __attribute__((visibility("default"))) bool PellumRenderChartFile(
    const pellum::cli::ChartRequest& request, std::string& error) {
  using namespace pellum::cli;
  const std::string extension = LowerCaseExtension(request.path);
  if (extension != ".svg" && extension != ".png" && extension != ".pdf") {
    error = "the chart's file name must end in .svg, .png or .pdf: " + request.path;
    return false;
  }
  const std::unique_ptr<QGuiApplication> application = MakeQtApplication();
  QBuffer out;
  out.open(QIODevice::WriteOnly);
  bool drawn = false;
  if (extension == ".svg") {
    drawn = RenderSvg(request, out, error);
  } else if (extension == ".png") {
    drawn = RenderPng(request, out, error);
  } else {
    drawn = RenderPdf(request, out, error);
  }
  out.close();
  return drawn && WriteChart(request.path, out.data(), error);
}
