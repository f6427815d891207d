#pragma once

#include <iostream>
#include <string>

#include "front/cli/cli_options.h"
#include "peaks/silicon_finder.h"

namespace pellum::cli {

// One line per reflection, then the six readings as --two-theta takes them:
//   peak 111 28.4423 5012.3 0.0812 212.4 0.0003
//        (position, height, FWHM, signal-to-noise, the position's standard uncertainty)
//   peak 400 not-found
//   two-theta 28.4423,47.3031,56.1224,-1,76.3761,88.0307
//   radiation-lines ka12     (only when the reflections were fitted as K-alpha doublets)
void PrintSiliconSearch(const SiliconSearch& search, std::ostream& out);

// --find-silicon PROFILE [--max-scale PERCENT]: prints the search and returns 0 when at
// least two reflections were found and their set may calibrate the film, 2 otherwise
// (also when the profile cannot be read); why is said on err:
//   The lines found are not silicon's!: film.txt: only two lines, not silicon's strongest
int RunFindSilicon(const CliOptions& options, std::ostream& out, std::ostream& err);

// --two-theta-from PROFILE: prints the search and stores the six readings in list, as
// --two-theta would have them. False (said on err) when the profile cannot be read, holds
// fewer than two of the reflections, or their set is refused: nothing is calibrated then.
bool ReadingsFromProfile(const CliOptions& options, std::ostream& out, std::ostream& err,
                         std::string& list);

}  // namespace pellum::cli
