#include "app/calibration_command.h"

#include <span>

#include "calib/calibration_points.h"
#include "calib/entry_validation.h"
#include "calib/fit.h"

namespace pellum {

int RunCalibrationCommand(AppState& state, Platform& platform, std::ostream& console) {
  // Not valid at first, so the dialog is shown at least once on every Open.
  bool valid = false;
  ParsedEntries values{};
  while (!valid) {
    platform.ShowEntryDialog(state.entries);
    values = ParseEntries(state.entries);
    valid = ValidateEntries(state.entries, values, platform);
  }

  state.pointCount = BuildCalibrationPoints(values, state.points);
  if (state.pointCount >= 1) {
    // The chart is drawn later, from the new points and the coefficients the fit sets now.
    platform.InvalidateChart();
    FitCalibration(std::span<const CalibrationPoint>(state.points.data(),
                                                     static_cast<std::size_t>(state.pointCount)),
                   state.coefficients, state.reportPath, console);
  }
  return state.pointCount;
}

}  // namespace pellum
