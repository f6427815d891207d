#pragma once

#include <iostream>

#include "app/app_state.h"
#include "app/platform.h"

namespace pellum {

// The first half of the Open command: shows the entry dialog until its readings pass
// validation (every refusal shows one warning and the dialog comes back with the texts as
// the user left them). Readings more than a degree from their reflection are asked about
// ("Check the readings": "Use anyway" goes on, "Edit" reopens the dialog). With at least
// one reading it fits them; a fit whose coefficients are not all finite is refused with
// "The readings do not determine a calibration." and the dialog again, nothing written or
// changed. A calibration sets the points, asks for a repaint, writes the report to
// state.reportPath (failure to write it is said in a warning) and sets the coefficients
// and quality. The status bar then says where the report went ("Fit report is saved as
// /home/me/fitdata.txt") or that it could not be written. Returns the point count, 0 when
// every reading was negative.
//
// With another reference chosen in the dialog (its choice kept at state.referenceSettingPath
// when it changed; a failure said once a run), the readings are one per line of that
// reference, refused as pellum-cli refuses them with a reference ("2 theta value must be
// below 100.", "... must be a number.", "At least two reflections ..."), and those more
// than a degree from their line asked about the same way; the fit is the same, and the
// state keeps the reference, each point's line and the lines for the chart.
//
//   entries all "-1"                     -> 0: no repaint, no fit, no report written
//   "150", "47.31", then "15", "47.31"   -> one warning "2 theta value must be below 100.",
//                                           the dialog again still holding "150"; then 2
//   six readings near the reference      -> 6, fitdata.txt written, coefficients set
//   "0", "1e-320" answered "Use anyway"   -> the warning, the dialog again
int RunCalibrationCommand(AppState& state, Platform& platform, std::ostream& console);

}  // namespace pellum
