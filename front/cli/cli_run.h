#pragma once

#include <iostream>

#include "front/cli/cli_options.h"

namespace pellum::cli {

// Exit statuses of pellum-cli.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFileFailed = 1;
inline constexpr int kExitRefused = 2;

// Calibrates from the readings, writes the report, prints the chosen model and
// coefficients, draws the chart when asked, and converts each file. Returns the exit status.
int RunCalibration(const CliOptions& options, std::ostream& out, std::ostream& err);

}  // namespace pellum::cli
