// The chart module of pellum-cli: the only part of it that needs Qt, loaded on demand.
#include <QGuiApplication>
#include <QString>
#include <cstdlib>
#include <memory>
#include <optional>

#include "chart/calibration_chart.h"
#include "chart/correction_chart.h"
#include "front/canvas/chart_picture.h"
#include "front/cli/chart_plugin.h"
#include "io/replacing_output_file.h"

namespace pellum::cli {
namespace {

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
  const std::optional<pellum::PictureFormat> format = pellum::PictureFormatOf(request.path);
  if (!format) {
    error = "the chart's file name must end in .svg, .png or .pdf: " + request.path;
    return false;
  }
  const std::unique_ptr<QGuiApplication> application = MakeQtApplication();
  QByteArray bytes;
  const bool drawn = pellum::DrawPicture(
      *format, QSize(request.width, request.height),
      [&request](pellum::Canvas& canvas) {
        if (request.correction) {
          pellum::PaintCorrectionChart(
              canvas, request.width, request.height,
              {request.points, request.coefficients, request.quality, request.rowsOutsideRange,
               request.hklTexts, request.referenceTitle});
        } else {
          pellum::PaintCalibrationChart(canvas, request.width, request.height, request.points,
                                        request.coefficients, request.referenceMarks,
                                        request.referenceTitle, *request.trace);
        }
      },
      bytes);
  if (!drawn)
    error = "cannot write " + request.path;
  return drawn && WriteChart(request.path, bytes, error);
}
