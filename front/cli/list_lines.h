#pragma once

#include <iostream>
#include <string>

#include "front/cli/cli_options.h"
#include "refs/reference_choice.h"

namespace pellum::cli {

// The reference the options ask for, as typed: the built-in table si when none is given.
ReferenceRequest ReferenceRequestOf(const CliOptions& options);

// The reference, then one line per reflection in order of two-theta:
//   standard si-640e 5.431179                 (A, and C for a hexagonal cell; "standard si"
//   wavelength 2.289726                        for the built-in table, which has no cell)
//   line 1 1 1 3.135693 42.828322 100.0       (H K L, d in angstrom, two-theta, intensity
//                                              relative to the strongest line, 100)
void PrintReference(const Reference& reference, std::ostream& out);

// --list-lines: prints the reference and returns 0, or says on err why it cannot be had
// (unknown name, malformed cell or wavelength, another radiation with si) and returns 2.
int RunListLines(const CliOptions& options, std::ostream& out, std::ostream& err);

}  // namespace pellum::cli
