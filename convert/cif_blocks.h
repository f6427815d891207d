#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "calib/calibration_coefficients.h"
#include "calib/calibration_reference.h"
#include "calib/fit_model.h"
#include "calib/fit_quality.h"
#include "convert/conversion_outcome.h"

namespace pellum {

// The data blocks of Pellum's powder CIF, each written to a stream. The data names are the
// IUCr core and powder (pdCIF 2.5) dictionaries' own, in their dotted form; which, and why,
// is listed in docs/file-formats.md. Every number is the shortest text that reads back to the
// same double.

// The calibration as the CIF records it: the chosen model, its coefficients and how well
// they fit the silicon readings.
struct CifCalibration {
  bool straightLine = false;
  CalibrationCoefficients coefficients;
  FitQuality quality;
  ModelRule rule = ModelRule::ChiSquare;  // named when not the report's chi-square rule
  // The record the calibration was read from; empty when it was fitted in this run.
  std::string recordPath;
  // The standard and wavelength when not the built-in silicon table, which the CIF has
  // always named as silicon without a cell or wavelength.
  CalibrationReference reference{};
};

// The id by which every block of the file names the calibration
// (_pd_calib_xcoord_overall.id), and the silicon phase it was fitted to.
inline constexpr std::string_view kCifCalibrationId = "Si_internal_standard";
inline constexpr std::string_view kCifCalibrationBlock = "calibration";

// That id for a calibration against reference: kCifCalibrationId for the built-in table,
// "si-640e_internal_standard" for silicon SRM 640e.
std::string CifCalibrationIdOf(const CalibrationReference& reference);

// Another block of the same file, and what it is to the block that names it
// (_audit_link.block_code and .block_description).
struct CifLink {
  std::string blockCode;
  std::string description;
};

// The first line of the file, which tells a reader the CIF version.
inline constexpr std::string_view kCifMagic = "#\\#CIF_1.1\n";

// data_calibration: the program, the dictionaries, the links to the other blocks, the
// silicon phase (with another reference: the standard's phase, its cell and the
// wavelength), the equation with the coefficients and their su, the residual table in
// words (reading, actual, calibrated and residual of each reflection, with its hkl), and the
// loop of nominal (read) and actual two-theta.
void WriteCifCalibrationBlock(std::ostream& out, const CifCalibration& calibration,
                              const std::vector<CifLink>& others);

// What a profile's or listing's block says of itself: its code, the description of its
// own row in the link loop (the input and output paths), and its header lines, which go
// into _diffrn.special_details as the file has them.
struct CifDataBlock {
  std::string code;
  std::string description;
  std::string calibrationId{kCifCalibrationId};
  double wavelength = 0.0;  // written when not 0: with a reference other than the built-in table
};

// The block of a profile read from in (a seekable stream at its start, read twice as the
// converter reads it): one row per point that the converter converts, with the measured
// two-theta, the corrected two-theta, the intensity and the intensity as a percentage of
// the largest, each the double that the .pro file's row was printed from. InvalidFormat for
// a stream without a first line, ReadFailed after a read error; what was written by then is
// a partial block, to be discarded.
ConversionOutcome WriteCifProfileBlock(std::istream& in, std::ostream& out,
                                       const CifDataBlock& block,
                                       const CalibrationCoefficients& coefficients);

// The block of a peak listing: its header lines up to the column heading, then one row per
// peak that the converter converts, with the corrected two-theta and the intensity that the
// .dat file's row was printed from. InvalidFormat when the header never ends.
ConversionOutcome WriteCifPeakBlock(std::istream& in, std::ostream& out, const CifDataBlock& block,
                                    const CalibrationCoefficients& coefficients);

}  // namespace pellum
