#include "app/calibration_record_commands.h"

#include <span>

#include "app/suggested_output_path.h"
#include "calib/calibration_summary.h"
#include "ui/user_texts.h"

namespace pellum {

CalibrationRecord RecordOf(const AppState& state) {
  return {state.quality.straightLine, state.coefficients, state.quality.uncertaintiesDefined,
          state.quality.covariance,   state.fittedPoints, state.calibrationRule};
}

std::string PanelSummary(const AppState& state) {
  return state.calibrated ? DescribeCalibrationBriefly(
                                state.coefficients, state.quality,
                                {state.calibrationRule, state.quadraticTerm, state.modelRule})
                          : "";
}

std::string CalibrationSummary(const AppState& state) {
  return state.calibrated ? DescribeCalibration(state.coefficients, state.quality) : "";
}

void SaveCalibration(const AppState& state, Platform& platform) {
  if (!state.calibrated)
    return;
  const std::string suggested = SuggestedFilmPath(state, ".cal", texts::kDefaultCalibrationName);
  const FileFilter filter{std::string(texts::kCalibrationFilter), "*.cal"};
  std::string path;
  if (!platform.ShowSaveFileDialog(texts::kSaveCalibrationTitle, std::span(&filter, 1), suggested,
                                   path))
    return;
  if (WriteCalibrationRecordFile(path, RecordOf(state))) {
    platform.ShowMessage(std::string(texts::kCalibrationSavedPrefix) + path, texts::kInfoCaption,
                         MessageKind::Information);
  } else {
    platform.ShowMessage(path, texts::kCannotWriteRecord, MessageKind::Error);
  }
}

void CopyCalibration(const AppState& state, Platform& platform) {
  if (state.calibrated)
    platform.SetClipboardText(CalibrationSummary(state));
}

}  // namespace pellum
