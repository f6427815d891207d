#pragma once

#include <string>
#include <string_view>

#include "calib/calibration_coefficients.h"
#include "convert/conversion_stats.h"
#include "ui/message_sink.h"

namespace pellum {

// The last four characters of path, which choose the converter; a shorter path is
// returned whole, and so can match neither ".pid" nor ".txt".
//
//   TakeExtension("/data/film.pid") -> ".pid"      TakeExtension("a.p") -> "a.p"
std::string TakeExtension(std::string_view path);

// Whether path names a profile (".txt" in any letter case), which ConvertInputFile gives to
// the profile converter.
bool IsProfilePath(std::string_view path);

// The output ConvertInputFile writes for inputPath, or empty for a path it does not convert.
//
//   ConvertedOutputPath("/data/run.2/FILM.TXT") -> "/data/run.2/FILM.pro"
//   ConvertedOutputPath("/data/film.csv")       -> ""
std::string ConvertedOutputPath(std::string_view inputPath);

// Converts the file by its extension, in any letter case: ".pid" (FILM.PID too) goes to
// ConvertListingFile, ".txt" to ConvertProfileFile. Returns that converter's result, or 0
// without a message for any other extension. The caller shows "Cannot open a file!" after
// a 0.
int ConvertInputFile(const std::string& inputPath, const CalibrationCoefficients& coefficients,
                     MessageSink& messages, ConversionStats* stats = nullptr);

}  // namespace pellum
