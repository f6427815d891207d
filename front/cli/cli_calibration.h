#pragma once

#include <iostream>
#include <string>
#include <vector>

#include "calib/calibration_coefficients.h"
#include "calib/calibration_point.h"
#include "calib/calibration_record.h"
#include "calib/fit.h"
#include "calib/fit_model.h"
#include "calib/fit_quality.h"
#include "front/cli/cli_options.h"

namespace pellum::cli {

// The calibration one run applies: fitted from the readings, or read from a record.
struct RunCalibrationData {
  bool fitted = false;  // from readings: result holds the fit's seventeen values
  FitResult result;
  bool straightLine = false;
  ModelRule rule = ModelRule::ChiSquare;  // the rule that chose straightLine
  QuadraticTermTest quadraticTerm;        // whether a3 is significant, whatever the model
  CalibrationCoefficients coefficients;
  std::vector<CalibrationPoint> points;
  FitQuality quality;
  std::string recordPath;  // the record of --calibration, empty after a fit
  // Each point's hkl ("1 0 10") with a reference other than the built-in table, whose
  // residual rows name them; empty with the built-in table.
  std::vector<std::string> hklTexts;
  CalibrationReference reference;  // the standard, cell and wavelength; empty: built-in table
};

// Fits the readings of --two-theta, or reads the record of --calibration. Refuses, with
// the reason on err and false returned, readings that validation refuses, none at all, one
// further than --max-offset from its reflection, a fit that is not a calibration (not all
// coefficients finite) and a record that cannot be read, is not one, or does not pass
// CheckCalibrationRecord. Writes nothing.
bool ObtainCalibration(const CliOptions& options, RunCalibrationData& data, std::ostream& err);

// Fits data.points (readings of any reference) and keeps the model rule chooses. False,
// with "The readings do not determine a calibration." on err, when its coefficients are not
// all finite.
bool FitPoints(ModelRule rule, RunCalibrationData& data, std::ostream& err);

// The quality of data's calibration from its points, each residual row named by
// data.hklTexts when it has them.
void AssessCalibration(RunCalibrationData& data);

// The run's calibration as a record, for --calibration-out.
CalibrationRecord RecordOf(const RunCalibrationData& data);

// "model" (and "rule" when not the report's), a1, a2, a3, delta, then the quality lines:
// residual per reflection, rms, max, su_a1..su_a3 when defined, "a3_significant yes|no T"
// when defined, range. Every value as the shortest text that reads back. The hkl is one
// field ("311") when every index has one digit, else "1 0 10".
void PrintCalibration(const RunCalibrationData& data, std::ostream& out);

}  // namespace pellum::cli
