#pragma once

#include <array>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "calib/calibration_coefficients.h"
#include "calib/calibration_point.h"
#include "calib/fit_model.h"

namespace pellum {

// A calibration kept at full precision, to be applied later without the readings. The
// text form, every number the shortest text that reads back to the same double:
//
//   # Pellum calibration: Actual 2 theta = a1 + a2 x + a3 x^2, x the experimental 2 theta
//   pellum-calibration 1
//   model quadratic                       (or straight-line, whose a3 is 0)
//   rule significant                      the rule that chose the model (line, quadratic,
//                                         significant); absent for the report's chi-square
//                                         rule, so a record of the default reads as before
//   a1 -0.01187...                        a2, a3 and delta the same way
//   covariance C11 C12 C13 C22 C23 C33    of (a1, a2, a3); absent when not defined
//   point 111 28.45 28.442                hkl, reading, actual two-theta; one per reading
//   range 28.45 88.04                     the smallest and largest reading
//
// Lines starting with '#' and blank lines are comments.
struct CalibrationRecord {
  bool straightLine = false;
  CalibrationCoefficients coefficients;
  bool covarianceDefined = false;
  std::array<double, 9> covariance{};  // row by row, symmetric
  std::vector<CalibrationPoint> points;
  ModelRule rule = ModelRule::ChiSquare;  // the rule that chose straightLine
};

void WriteCalibrationRecord(const CalibrationRecord& record, std::ostream& out);

// The record written to path as every output is: complete, or the earlier file untouched.
// False when it could not be opened or completed.
bool WriteCalibrationRecordFile(const std::string& path, const CalibrationRecord& record);

// Reads a record written by WriteCalibrationRecord. False, with the reason in error, for
// anything else: another first line, an unknown or repeated keyword, an unknown rule, a number that
// is not one or not finite, a point whose actual two-theta is not a reference reflection's, a
// missing coefficient, fewer than two points. At most kMaxRecordBytes are read, so any file costs
// bounded memory.
inline constexpr std::size_t kMaxRecordBytes = 64 * 1024;
bool ReadCalibrationRecord(std::istream& in, CalibrationRecord& record, std::string& error);

}  // namespace pellum
