#pragma once

#include <iostream>

#include "app/app_state.h"
#include "app/platform.h"

namespace pellum {

// The first half of the Open command: shows the entry dialog until the six readings pass
// validation (every refusal shows one warning and the dialog comes back with the texts as
// the user left them), then rebuilds the calibration points. When there is at least one
// point it asks for a repaint and runs the fit, which writes the report to
// state.reportPath (failure to write it is said on console) and sets the coefficients.
// Returns the point count, 0 to 6.
//
//   entries all "-1"                     -> 0: no repaint, no fit, no report written
//   "150", "47.31", then "15", "47.31"   -> one warning "2 theta value must be below 100.",
//                                           the dialog again still holding "150"; then 2
//   six readings near the reference      -> 6, fitdata.txt written, coefficients set
int RunCalibrationCommand(AppState& state, Platform& platform, std::ostream& console);

}  // namespace pellum
