#pragma once

#include <iostream>
#include <optional>
#include <string>

#include "front/cli/cli_calibration.h"
#include "front/cli/cli_options.h"
#include "refs/reference_choice.h"

namespace pellum::cli {

// True when any of --standard, --lattice, --radiation and --wavelength was given.
bool HasReferenceOptions(const CliOptions& options);

// With a reference other than the built-in table, --two-theta takes one reading per line of
// the reference; what is wrong with the other options for it, empty when nothing is. The
// CIF and the calibration record know the built-in table only, so they do not go with
// another reference yet.
std::string ReferenceCalibrationOptionsError(const CliOptions& options);

// The reference the reference options ask for with --two-theta, left unset when it is the
// built-in table (the default road then, at most six readings). False with error said for a
// reference that cannot be had or options that do not go with it.
bool ChooseReferenceForReadings(const CliOptions& options, std::optional<Reference>& reference,
                                std::string& error);

// "1 1 1", or "1 0 10": the hkl of a line as the residual lines show it.
std::string HklText(const ReferenceLine& line);

// Fits the readings of --two-theta against reference's lines, one reading per line in its
// order (negative, or missing at the end, for a line not read), as ObtainCalibration does
// for the built-in table: the same checks (each a number below 100, two different readings,
// none further than --max-offset from its line) and the same fit; data.hklTexts names each
// point's line. False with the reason on err when refused. Writes nothing.
bool ObtainReferenceCalibration(const CliOptions& options, const Reference& reference,
                                RunCalibrationData& data, std::ostream& err);

}  // namespace pellum::cli
