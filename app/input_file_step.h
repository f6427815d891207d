#pragma once

#include <string>

#include "app/app_state.h"
#include "app/platform.h"
#include "convert/conversion_stats.h"

namespace pellum {

// What became of the file the user was asked for.
enum class InputFileOutcome {
  Cancelled,  // the dialog was cancelled: no message, the file names untouched
  Converted,  // the converter wrote its output and said so
  Failed,     // "Cannot open a file!" was shown and both file names emptied
};

// Sets up the open-file dialog once for the run, captioned "Open Listing or Profile": the
// listing filter first and selected, then the profile filter, then both; a typed name
// without extension gets ".pid". No folder to start in yet (the current one).
//
//   filters: {"Listing Files (*.PID)", "*.pid"}, {"Profile Files (*.TXT)", "*.txt"},
//            {"Listings and Profiles (*.pid *.txt)", "*.pid *.txt"}
void InitOpenFileSettings(OpenFileSettings& settings);

// Asks the user for an input file, starting on inputPath. Only existing files can be
// chosen, and the read-only check box is hidden. Returns 1 with inputPath and inputTitle
// holding the choice, or 0 (both untouched) when the user cancelled.
int ChooseInputFile(Platform& platform, OpenFileSettings& settings, std::string& inputPath,
                    std::string& inputTitle);

// The second half of the Open command, after a calibration with at least one point:
// the user chooses a file and it is converted with the current coefficients. A conversion
// that does not happen (unknown extension, unreadable file, or a converter's own failure,
// which the converter has already reported) adds an error with the input path as text and
// "Cannot open a file!" as caption, and then forgets the file: the next dialog starts
// without a name and the title shows "(untitled)". The converter's "Info" gains a line
// counting the rows outside the calibrated range, when there are any, and one saying where
// the fit report was written:
//
//   Output file is saved as /data/film.pro
//   774 rows lie outside the calibrated range, 28.45 to 88.04 degrees: converted by
//   extrapolation.
//   Fit report is saved as /home/me/fitdata.txt
//
// Converted or not, the chosen file's folder is where the next dialog starts; it is kept
// in state.folderSettingPath for the next run ("Cannot remember the folder!" with that
// path, once a run, when it cannot be written).
InputFileOutcome RunInputFileStep(AppState& state, Platform& platform);

// "774 rows lie outside the calibrated range, 28.45 to 88.04 degrees: converted by
// extrapolation." ("1 row lies" for one).
std::string ExtrapolationNote(const ConversionStats& stats);

}  // namespace pellum
