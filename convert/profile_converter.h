#pragma once

#include <functional>
#include <istream>
#include <ostream>
#include <string>

#include "calib/calibration_coefficients.h"
#include "convert/conversion_outcome.h"
#include "convert/conversion_stats.h"
#include "ui/message_sink.h"

namespace pellum {

// Converts the intensity profile at inputPath into a calibrated, normalised profile beside
// it (film.txt -> film.pro). The first line is a header and is never converted; every
// later line with at least two fields gives a row with the calibrated two-theta (field 0)
// and the intensity (field 1) as a percentage of the largest intensity:
//
//   2 theta (degree)\tI/I(max)x100\treflec_x\treflec_y
//   20.000000\t25.000000            <- "20.0 50" with a1 = 0, a2 = 1, a3 = 0 and maximum 200
//   21.000000\t100.000000           <- "21.0 200"
//
// The largest intensity starts at 0.0, so a profile with no positive intensity is still
// converted: "nan" for 0 and "-inf" for negative intensities. The file is read twice (the
// maximum, then the rows) and the output is opened only after the first pass. Results and
// messages as ConvertListingFile's, except that an invalid format is found before the
// output is opened.
int ConvertProfileFile(const std::string& inputPath, const CalibrationCoefficients& coefficients,
                       MessageSink& messages, ConversionStats* stats = nullptr);

// As above; betweenPasses runs after the first pass and before the rewind. It lets a test
// change the file under the converter, as another program might.
int ConvertProfileFile(const std::string& inputPath, const CalibrationCoefficients& coefficients,
                       MessageSink& messages, ConversionStats* stats,
                       const std::function<void()>& betweenPasses);

// First pass: the largest intensity (field 1) of the lines after the header, or 0.0 when
// none is positive. False when in holds no header line; in.bad() after a read failure.
bool FindProfileMaximum(std::istream& in, double& maximum);

// Second pass, from where in stands (its start): the header line, then one row per data
// line. InvalidFormat when the header line is gone (the file shrank between the passes).
ConversionOutcome WriteCalibratedProfile(std::istream& in, std::ostream& out, double maximum,
                                         const CalibrationCoefficients& coefficients,
                                         ConversionStats* stats = nullptr);

}  // namespace pellum
