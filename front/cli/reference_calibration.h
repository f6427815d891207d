#pragma once

#include <iostream>
#include <optional>
#include <string>

#include "calib/calibration_record_check.h"
#include "front/cli/cli_calibration.h"
#include "front/cli/cli_options.h"
#include "refs/reference_choice.h"
#include "refs/reference_readings.h"

namespace pellum::cli {

// True when any of --standard, --lattice, --radiation and --wavelength was given.
bool HasReferenceOptions(const CliOptions& options);

// The reference the reference options ask for with --two-theta, left unset when it is the
// built-in table (the default road then, at most six readings). False with error said for a
// reference that cannot be had or options that do not go with it.
bool ChooseReferenceForReadings(const CliOptions& options, std::optional<Reference>& reference,
                                std::string& error);

// The reference a record names (its standard, cell and radiation or wavelength), chosen
// again as the options would choose it. False with error said when it cannot be had, or
// when the record's wavelength is not that of the radiation it names.
bool ReferenceOfRecord(const CalibrationReference& named, Reference& reference, std::string& error);

// The lines of the reference a record names, recomputed from its standard, cell and
// wavelength, with its material, space group and radiation line filled in. False, with the
// reason in error, for a standard that is unknown or the built-in table, a cell of the wrong
// shape, or a wavelength that is not its radiation's:
//   standard si-640e 5.431179 / wavelength 2.289726 cr  -> 1 1 1 at 42.828..., 2 2 0, 3 1 1
//   wavelength 2.29 cr  -> "the wavelength 2.29 is not that of cr, 2.289726"
bool RecomputeRecordLines(CalibrationReference& reference, std::vector<RecordReferenceLine>& lines,
                          std::string& error);

// Fits the readings of --two-theta against reference's lines, one reading per line in its
// order (negative, or missing at the end, for a line not read), as ObtainCalibration does
// for the built-in table: the same checks (each a number below 100, two different readings,
// none further than --max-offset from its line) and the same fit; data.hklTexts names each
// point's line. False with the reason on err when refused. Writes nothing.
bool ObtainReferenceCalibration(const CliOptions& options, const Reference& reference,
                                RunCalibrationData& data, std::ostream& err);

}  // namespace pellum::cli
