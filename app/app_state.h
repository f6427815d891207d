#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/open_file_settings.h"
#include "app/reference_entries.h"
#include "calib/calibration_coefficients.h"
#include "calib/calibration_point.h"
#include "calib/calibration_reference.h"
#include "calib/entry_texts.h"
#include "calib/fit_model.h"
#include "calib/fit_quality.h"
#include "chart/reference_marks.h"
#include "io/file_stamp.h"
#include "ui/user_texts.h"

namespace pellum {

enum class ChartView { Calibration, Correction };

// The one record of the program's state, owned by the shell from start-up to exit.
struct AppState {
  // The chart's drawing area in device pixels, from the last resize; 0 until the first.
  int clientWidth = 0;
  int clientHeight = 0;

  // The readings as typed; they survive from one Open to the next.
  EntryTexts entries;
  // The reference the entry dialog calibrates against and the readings typed for each one
  // other than the built-in table; the choice is kept between runs at referenceSettingPath
  // as the last folder is (empty to keep nothing).
  ReferenceEntries reference;
  std::string referenceSettingPath;
  bool referenceSettingFailed = false;

  // The last calibration: its points in reference-table order and the chosen coefficients
  // (all zero until the first fit). pointCount is what the chart and the fit iterate over.
  std::vector<CalibrationPoint> points;
  int pointCount = 0;
  CalibrationCoefficients coefficients;

  // Whether a fit has set the coefficients, and how good it was: the quality panel, Copy
  // Calibration and Save Calibration show the last fit, even after an Open left with every
  // reading at "-1" (which keeps the coefficients).
  bool calibrated = false;
  FitQuality quality;
  std::vector<CalibrationPoint> fittedPoints;  // the points quality was computed from
  // The rule that chose the last calibration's model, and whether its readings support
  // the quadratic term, whatever the model.
  ModelRule calibrationRule = ModelRule::ChiSquare;
  QuadraticTermTest quadraticTerm;
  // What the last calibration was fitted against when not the built-in table (empty then):
  // the panel, the record and the CIF name it; each fitted point's line ("1 0 10"), which
  // quality's residual rows show; and the lines the calibration chart labels.
  CalibrationReference calibrationReference;
  std::vector<std::string> hklTexts;
  std::vector<ReferenceMark> referenceMarks;

  // The rule the next fit follows (Fit Model in the window), kept between runs at
  // modelSettingPath as the last folder is; empty to keep nothing.
  ModelRule modelRule = ModelRule::ChiSquare;
  std::string modelSettingPath;
  bool modelSettingFailed = false;

  // Which chart the window shows: the calibration chart first, or the correction chart.
  // Save Chart As saves the one shown.
  ChartView chartView = ChartView::Calibration;

  // The last converted file: full path and name without folders. Empty at start and after
  // a conversion that failed; the open-file dialog starts on inputPath, which is also the
  // profile the entry dialog last took readings from (the title stays with inputTitle).
  std::string inputPath;
  std::string inputTitle;

  // The file the last Open converted, its output and its stamp from just before; empty
  // when that Open converted nothing. Export CIF gives it a block of its own.
  std::string convertedPath;
  std::string convertedOutputPath;
  FileStamp convertedStamp;
  // Rows of the last converted file outside the calibrated range: converted by
  // extrapolation, said in the Info and noted on the correction chart.
  std::uint64_t rowsOutsideRange = 0;

  OpenFileSettings openFileSettings;

  // Where every fit writes its report: the current folder.
  std::string reportPath{texts::kReportFileName};
  // The report's full path when the last fit wrote it, empty when it could not: the Info
  // after a conversion and the status bar say where it is.
  std::string reportWrittenPath;

  // The file that keeps the open-file dialog's last folder between runs, in the user's
  // configuration folder; empty to keep nothing (as in tests of the shell alone). Its
  // failure to be written is said once a run.
  std::string folderSettingPath;
  bool folderSettingFailed = false;
};

}  // namespace pellum
