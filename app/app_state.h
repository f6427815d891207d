#pragma once

#include <string>
#include <vector>

#include "app/open_file_settings.h"
#include "calib/calibration_coefficients.h"
#include "calib/calibration_point.h"
#include "calib/entry_texts.h"
#include "ui/user_texts.h"

namespace pellum {

// The one record of the program's state, owned by the shell from start-up to exit.
struct AppState {
  // The chart's drawing area in device pixels, from the last resize; 0 until the first.
  int clientWidth = 0;
  int clientHeight = 0;

  // The readings as typed; they survive from one Open to the next.
  EntryTexts entries;

  // The last calibration: its points in reference-table order and the chosen coefficients
  // (all zero until the first fit). pointCount is what the chart and the fit iterate over.
  std::vector<CalibrationPoint> points;
  int pointCount = 0;
  CalibrationCoefficients coefficients;

  // The last converted file: full path and name without folders. Empty at start and after
  // a conversion that failed; the open-file dialog starts on inputPath, which is also the
  // profile the entry dialog last took readings from (the title stays with inputTitle).
  std::string inputPath;
  std::string inputTitle;

  OpenFileSettings openFileSettings;

  // Where every fit writes its report: the current folder.
  std::string reportPath{texts::kReportFileName};
};

}  // namespace pellum
