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
// With spacedHkl, the hkl as --find-lines shows every reference's: "peak 1 1 1 28.4423 ...".
void PrintSiliconSearch(const SiliconSearch& search, std::ostream& out, bool spacedHkl = false);

// The finder's options as --max-scale and --radiation-lines set them.
SiliconFinderOptions FinderOptions(const CliOptions& options);

// The height with one decimal, as counts are read; a profile in other units (1e-160 or
// 1e150 per count) gets six significant digits instead: "3.13934e+153".
void AppendHeight(std::string& line, double height);

// A found line's "POSITION HEIGHT FWHM SNR SU", or "not-found".
void AppendPeak(std::string& line, const ReflectionSearch& reflection);

// --find-silicon PROFILE [--max-scale PERCENT]: prints the search and returns 0 when at
// least two reflections were found and their set may calibrate the film, 2 otherwise
// (also when the profile cannot be read); why is said on err:
//   The lines found are not silicon's!: film.txt: only two lines, not silicon's strongest
// With spacedHkl (--find-lines of the built-in table) the lines show "peak 1 1 1 ...".
int RunFindSilicon(const CliOptions& options, std::ostream& out, std::ostream& err,
                   bool spacedHkl = false);

// --two-theta-from PROFILE: prints the search and stores the six readings in list, as
// --two-theta would have them. False (said on err) when the profile cannot be read, holds
// fewer than two of the reflections, or their set is refused: nothing is calibrated then.
bool ReadingsFromProfile(const CliOptions& options, std::ostream& out, std::ostream& err,
                         std::string& list);

}  // namespace pellum::cli
