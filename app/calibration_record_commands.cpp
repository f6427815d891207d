#include "app/calibration_record_commands.h"

#include <span>
#include <vector>

#include "app/suggested_output_path.h"
#include "calib/calibration_summary.h"
#include "refs/reference_readings.h"
#include "ui/user_texts.h"

namespace pellum {

CalibrationRecord RecordOf(const AppState& state) {
  return {state.quality.straightLine, state.coefficients, state.quality.uncertaintiesDefined,
          state.quality.covariance,   state.fittedPoints, state.calibrationRule,
          state.calibrationReference, state.hklTexts};
}

namespace {

// Another reference is named above the calibration, the standard and the radiation on lines
// of their own so that the panel's narrow column keeps each whole; the built-in table never
// was named.
//   "Reference: LaB6 SRM 660c\nRadiation: Cr K-alpha1 (2.289726 Å)\n"
std::string ReferenceLineOf(const AppState& state) {
  const std::vector<std::string> title = ReferenceTitleLines(state.calibrationReference);
  if (title.empty())
    return "";
  return "Reference: " + title[0] + "\nRadiation: " + title[1] + "\n";
}

}  // namespace

std::string PanelSummary(const AppState& state) {
  return state.calibrated ? ReferenceLineOf(state) +
                                DescribeCalibrationBriefly(
                                    state.coefficients, state.quality,
                                    {state.calibrationRule, state.quadraticTerm, state.modelRule})
                          : "";
}

std::string CalibrationSummary(const AppState& state) {
  return state.calibrated
             ? ReferenceLineOf(state) + DescribeCalibration(state.coefficients, state.quality)
             : "";
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
