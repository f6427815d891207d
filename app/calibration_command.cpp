#include "app/calibration_command.h"

#include <filesystem>
#include <span>

#include "calib/calibration_points.h"
#include "calib/entry_validation.h"
#include "calib/fit.h"
#include "calib/fit_report.h"
#include "ui/user_texts.h"

namespace pellum {

int RunCalibrationCommand(AppState& state, Platform& platform, std::ostream& console) {
  // Not valid at first, so the dialog is shown at least once on every Open.
  bool valid = false;
  ParsedEntries values{};
  while (!valid) {
    platform.ShowEntryDialog(state.entries, state.inputPath);
    values = ParseEntries(state.entries);
    valid = ValidateEntries(state.entries, values, platform);
  }

  state.pointCount = BuildCalibrationPoints(values, state.points);
  if (state.pointCount >= 1) {
    // The chart is drawn later, from the new points and the coefficients the fit sets now.
    platform.InvalidateChart();
    const CalibrationFit fit = FitCalibration(std::span<const CalibrationPoint>(
        state.points.data(), static_cast<std::size_t>(state.pointCount)));
    // The report is written before the coefficients change, so it exists even when the
    // user then cancels the file dialog.
    if (WriteFitReport(fit.result, state.reportPath, console) != 0) {
      // The calibration goes on without its report, but the user is told where it is not.
      std::error_code error;
      const std::filesystem::path shown = std::filesystem::absolute(state.reportPath, error);
      platform.ShowMessage(error ? state.reportPath : shown.string(), texts::kCannotWriteReport,
                           MessageKind::Warning);
    }
    state.coefficients = fit.coefficients;
  }
  return state.pointCount;
}

}  // namespace pellum
