#include "cli/chart_output.h"

#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QString>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>

#include "chart/calibration_chart.h"
#include "platform/qt/painter_canvas.h"

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

void Paint(QPainter& painter, QSize area, std::span<const CalibrationPoint> points,
           const CalibrationCoefficients& coefficients, std::ostream& trace) {
  PainterCanvas canvas(painter, area);
  PaintCalibrationChart(canvas, area.width(), area.height(), points, coefficients, trace);
}

// Draws nothing: the paint is run only for what it writes to the trace.
class NullCanvas : public Canvas {
 public:
  void Clear() override {}
  void SetIsotropicMapping(int, int, int, int, int, int) override {}
  void MoveTo(int, int) override {}
  void LineTo(int, int) override {}
  void TextOut(int, int, std::string_view) override {}
  void Ellipse(int, int, int, int) override {}
};

}  // namespace

bool RenderChartFile(const std::string& path, int width, int height,
                     std::span<const CalibrationPoint> points,
                     const CalibrationCoefficients& coefficients, std::ostream& trace,
                     std::string& error) {
  const QString fileName = QString::fromStdString(path);
  const QSize area(width, height);
  const std::string extension = LowerCaseExtension(path);
  if (extension == ".svg") {
    QSvgGenerator svg;
    svg.setFileName(fileName);
    svg.setSize(area);
    svg.setViewBox(QRect(QPoint(0, 0), area));
    svg.setTitle("Pellum calibration chart");
    QPainter painter;
    if (!painter.begin(&svg)) {
      error = "cannot write " + path;
      return false;
    }
    Paint(painter, area, points, coefficients, trace);
    return painter.end();
  }
  if (extension == ".png") {
    QImage image(area, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
      QPainter painter(&image);
      Paint(painter, area, points, coefficients, trace);
    }
    if (!image.save(fileName, "PNG")) {
      error = "cannot write " + path;
      return false;
    }
    return true;
  }
  if (extension == ".pdf") {
    // A page of width by height pixels at a screen's 96 per inch, so that the default font
    // stands in the same proportion to the chart as it does in the window.
    constexpr double kPixelsPerInch = 96.0;
    constexpr double kPointsPerInch = 72.0;
    QPdfWriter pdf(fileName);
    pdf.setResolution(static_cast<int>(kPixelsPerInch));
    pdf.setPageSize(QPageSize(
        QSizeF(width * kPointsPerInch / kPixelsPerInch, height * kPointsPerInch / kPixelsPerInch),
        QPageSize::Point));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setTitle("Pellum calibration chart");
    QPainter painter;
    if (!painter.begin(&pdf)) {
      error = "cannot write " + path;
      return false;
    }
    Paint(painter, area, points, coefficients, trace);
    return painter.end();
  }
  error = "the chart's file name must end in .svg, .png or .pdf: " + path;
  return false;
}

void TraceChart(int width, int height, std::span<const CalibrationPoint> points,
                const CalibrationCoefficients& coefficients, std::ostream& trace) {
  NullCanvas canvas;
  PaintCalibrationChart(canvas, width, height, points, coefficients, trace);
}

}  // namespace pellum::cli
