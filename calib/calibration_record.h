#pragma once

#include <array>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "calib/calibration_coefficients.h"
#include "calib/calibration_point.h"
#include "calib/calibration_reference.h"
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
// A calibration against another reference names it after the first line, and its points
// name the reference's lines, one field each ("311", or "1,0,10" when an index has two
// digits or a sign):
//   standard al2o3-676a 4.759091 12.991779   name and cell used (c for hexagonal cells only)
//   wavelength 2.289726 cr                   angstrom, and the radiation (none for a
//                                            wavelength of the user's)
//   point 1,0,10 84.3 84.31...
// A record of the built-in table has neither line and stays as it always was.
//
// Lines starting with '#' and blank lines are comments.
struct CalibrationRecord {
  bool straightLine = false;
  CalibrationCoefficients coefficients;
  bool covarianceDefined = false;
  std::array<double, 9> covariance{};  // row by row, symmetric
  std::vector<CalibrationPoint> points;
  ModelRule rule = ModelRule::ChiSquare;  // the rule that chose straightLine
  // Another reference's name, cell and wavelength (its material and space group unset),
  // and each point's hkl ("1 0 10") in the order of points; empty for the built-in table.
  CalibrationReference reference{};
  std::vector<std::string> hkls{};
};

// "3 1 1" -> "311", "1 0 10" -> "1,0,10", "2 -1 0" -> "2,-1,0": an hkl as one field of a
// record, and back (empty when the field is neither form).
std::string HklField(std::string_view hkl);
std::string HklOfField(std::string_view field);

void WriteCalibrationRecord(const CalibrationRecord& record, std::ostream& out);

// The record written to path as every output is: complete, or the earlier file untouched.
// False when it could not be opened or completed.
bool WriteCalibrationRecordFile(const std::string& path, const CalibrationRecord& record);

// Reads a record written by WriteCalibrationRecord. False, with the reason in error, for
// anything else: another first line, an unknown or repeated keyword, an unknown rule, a number that
// is not one or not finite, a point whose actual two-theta is not a reference reflection's, a
// missing coefficient, fewer than two points; with another reference, a standard without a
// wavelength or the reverse, either after a point, or a point whose hkl is not one. Whether
// that reference's lines are where its points say is for the caller, who can compute them
// (CheckCalibrationRecord with the lines). At most kMaxRecordBytes are read, so any file costs
// bounded memory.
inline constexpr std::size_t kMaxRecordBytes = 64 * 1024;
bool ReadCalibrationRecord(std::istream& in, CalibrationRecord& record, std::string& error);

}  // namespace pellum
