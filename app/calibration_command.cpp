#include "app/calibration_command.h"

#include <filesystem>
#include <span>

#include "calib/calibration_points.h"
#include "calib/entry_validation.h"
#include "calib/fit.h"
#include "calib/fit_model.h"
#include "calib/fit_report.h"
#include "calib/reading_offsets.h"
#include "ui/user_texts.h"

namespace pellum {
namespace {

// Readings far from their reflections are asked about before the fit; false when the user
// chose to edit them.
bool ReadingsAccepted(const ParsedEntries& values, Platform& platform) {
  const std::vector<FarReading> far = FindFarReadings(values, kDefaultMaxOffset);
  return far.empty() ||
         platform.AskQuestion(DescribeFarReadings(far, kDefaultMaxOffset),
                              texts::kCheckReadingsCaption, texts::kUseAnyway, texts::kEdit);
}

// The report's full path, as the user is shown it: the current folder's "fitdata.txt".
std::string ShownPath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path shown = std::filesystem::absolute(path, error);
  return error ? path : shown.string();
}

void WriteReport(const FitResult& result, AppState& state, Platform& platform,
                 std::ostream& console) {
  const std::string shown = ShownPath(state.reportPath);
  if (WriteFitReport(result, state.reportPath, console) == 0) {
    state.reportWrittenPath = shown;
    platform.ShowStatus(std::string(texts::kReportSavedPrefix) + shown);
    return;
  }
  // The calibration goes on without its report, but the user is told where it is not.
  state.reportWrittenPath.clear();
  platform.ShowStatus(std::string(texts::kCannotWriteReport) + " " + shown);
  platform.ShowMessage(shown, texts::kCannotWriteReport, MessageKind::Warning);
}

}  // namespace

int RunCalibrationCommand(AppState& state, Platform& platform, std::ostream& console) {
  while (true) {
    platform.ShowEntryDialog(state.entries, state.inputPath);
    const ParsedEntries values = ParseEntries(state.entries);
    if (!ValidateEntries(state.entries, values, platform) || !ReadingsAccepted(values, platform))
      continue;

    std::vector<CalibrationPoint> points;
    if (BuildCalibrationPoints(values, points) == 0) {
      // Every reading "-1": the user leaves without calibrating; the coefficients stay.
      state.points.clear();
      state.pointCount = 0;
      return 0;
    }
    const CalibrationFit fit = FitCalibration(points);
    const QuadraticTermTest term = TestQuadraticTerm(points, fit.result);
    const bool straightLine = RuleChoosesStraightLine(state.modelRule, fit.result, term);
    const CalibrationCoefficients coefficients = ModelCoefficients(fit.result, straightLine);
    if (!IsCalibration(coefficients)) {
      // Refused before anything is written or changed: the last calibration stays whole.
      platform.ShowMessage(texts::kNoCalibration, texts::kWarningCaption, MessageKind::Warning);
      continue;
    }

    state.points = points;
    state.pointCount = static_cast<int>(points.size());
    state.coefficients = coefficients;
    state.calibrated = true;
    state.quality = AssessFit(points, coefficients, straightLine);
    state.calibrationRule = state.modelRule;
    state.quadraticTerm = term;
    state.fittedPoints = std::move(points);
    // The chart, the panel and the commands show the new calibration from here on, through
    // the report's warning and the file dialog that follow.
    platform.CalibrationChanged();
    // The report is written before the file dialog, so it exists even when the user then
    // cancels it.
    WriteReport(fit.result, state, platform, console);
    return state.pointCount;
  }
}

}  // namespace pellum
