#include "app/save_chart_command.h"

#include <array>
#include <optional>
#include <ostream>

#include "app/suggested_output_path.h"
#include "app/window_commands.h"
#include "io/replacing_output_file.h"
#include "ui/user_texts.h"

namespace pellum {

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  ReplacingOutputFile out(path);
  if (!out.Open())
    return false;
  out.Stream().write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return out.Commit();
}

namespace {

// "film-chart.svg", or "film-correction.svg" for the correction chart.
std::string ChartName(const AppState& state) {
  return state.chartView == ChartView::Correction
             ? SuggestedFilmPath(state, "-correction.svg", texts::kDefaultCorrectionChartName)
             : SuggestedFilmPath(state, "-chart.svg", texts::kDefaultChartName);
}

}  // namespace

void SaveChart(const AppState& state, Platform& platform) {
  const std::array<FileFilter, 3> filters = {FileFilter{std::string(texts::kSvgFilter), "*.svg"},
                                             FileFilter{std::string(texts::kPngFilter), "*.png"},
                                             FileFilter{std::string(texts::kPdfFilter), "*.pdf"}};
  std::string path;
  if (!platform.ShowSaveFileDialog(texts::kSaveChartTitle, filters, ChartName(state), path))
    return;
  const std::optional<PictureFormat> format = PictureFormatOf(path);
  if (!format) {
    platform.ShowMessage(path, texts::kChartNameRefused, MessageKind::Error);
    return;
  }
  // The window's trace follows the window's own paints; a picture of it adds no lines.
  std::ostream quiet(nullptr);
  std::string bytes;
  const bool drawn = platform.DrawChartPicture(
      *format, state.clientWidth, state.clientHeight,
      [&state, &quiet](Canvas& canvas) { HandlePaint(state, canvas, quiet); }, bytes);
  if (!drawn || !WriteWholeFile(path, bytes)) {
    platform.ShowMessage(path, texts::kCannotWriteChart, MessageKind::Error);
    return;
  }
  platform.ShowMessage(std::string(texts::kChartSavedPrefix) + path, texts::kInfoCaption,
                       MessageKind::Information);
}

}  // namespace pellum
