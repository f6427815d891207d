#pragma once

#include <iostream>
#include <string>

#include "calib/fit.h"

namespace pellum {

// The report's text: seventeen lines "%10s%20f\n" of key and value.
std::string FormatFitReport(const FitResult& result);

// Writes the report to path, replacing it. When it cannot be written, prints
// "ERROE: Cannot open an output file!\n" on console and returns -1; else returns 0.
int WriteFitReport(const FitResult& result, const std::string& path, std::ostream& console);

}  // namespace pellum
