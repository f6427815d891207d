#pragma once

#include "app/app_state.h"
#include "app/platform.h"
#include "convert/cif_export.h"

namespace pellum {

// What File > Export CIF... writes: the last calibration and, when the last Open converted a
// file, that file with its output.
CifCalibration CifCalibrationOf(const AppState& state);
std::vector<CifSource> CifSourcesOf(const AppState& state);

// File > Export CIF...: asks for a path (starting on the converted file's name with ".cif"
// beside it, or on "calibration.cif" in the current folder) and writes the powder CIF there,
// complete or not at all. Says where it went ("CIF is saved as <path>") or why not: a path
// that is the converted file or its output ("The CIF would replace a file it is made
// from!"), a file changed since it was converted, one that cannot be read again, a CIF that
// cannot be written (WriteCifFile's messages). Nothing before the first calibration.
void ExportCif(const AppState& state, Platform& platform);

}  // namespace pellum
