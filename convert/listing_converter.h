#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <string_view>

#include "calib/calibration_coefficients.h"
#include "convert/conversion_outcome.h"
#include "convert/conversion_stats.h"
#include "ui/message_sink.h"

namespace pellum {

// Converts the peak listing at inputPath into a reflection list beside it (film.pid ->
// film.dat). The header is skipped up to the first line whose first field begins with one
// of the characters of "2-Theta"; every later line with at least five fields gives a row
// with its calibrated two-theta (field 0) and its intensity (field 4):
//
//   /data/film.dat
//   0 0 0   30.100000     500.0       <- "30.0 2.976 1 1 500" with a1 = 0.1, a2 = 1, a3 = 0
//   0 0 0
//
// Returns 1 after the message "Output file is saved as <output path>" ("Info"). Returns 0
// silently when the input cannot be opened; after "Cannot open an output file!" (output
// path), "Invalid file format!" (input path, the header never ended) or "Cannot write the
// output file!" (output path) otherwise. The output is written to a temporary file in the
// same folder and renamed over the output path only on success, so a failure leaves an
// earlier output byte for byte as it was.
int ConvertListingFile(const std::string& inputPath, const CalibrationCoefficients& coefficients,
                       MessageSink& messages, ConversionStats* stats = nullptr);

// The conversion itself, from stream to stream: outputPath is only written as the first
// line. Never writes more than the first line when the header does not end.
ConversionOutcome ConvertListing(std::istream& in, std::ostream& out, std::string_view outputPath,
                                 const CalibrationCoefficients& coefficients,
                                 ConversionStats* stats = nullptr);

// Whether a line whose first field is firstField ends a listing's header: the field begins
// with one of the characters of "2-Theta", which serve as a set.
//
//   EndsListingHeader("2-Theta") -> true    EndsListingHeader("25.3") -> true
//   EndsListingHeader("Guinier") -> false   EndsListingHeader("")     -> false
bool EndsListingHeader(std::string_view firstField);

}  // namespace pellum
