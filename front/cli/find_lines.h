#pragma once

#include <iostream>
#include <string>

#include "app/reference_line_set.h"
#include "front/cli/cli_options.h"
#include "peaks/line_finder.h"
#include "refs/reference_choice.h"

namespace pellum::cli {

// One line per line of the reference, then the readings as --two-theta takes them with the
// same reference options:
//   peak 1 0 0 21.3587 4012.3 0.0812 212.4 0.0003
//   peak 1 1 1 not-found
//   two-theta 21.3587,30.3876,-1,...
//   radiation-lines ka12     (only when the lines were fitted as K-alpha doublets)
void PrintLineSearch(const LineSearch& search, const LineSet& set, std::ostream& out);

// --find-lines PROFILE [REFERENCE-OPTION...] [--max-scale PERCENT] [--radiation-lines LINES]:
// prints the search and returns 0 when two lines or more were found and their set may
// calibrate the film, 2 otherwise, why said on err:
//   The lines found are not those of LaB6 SRM 660c!: film.txt: only two lines, ...
// Without a reference option (or with the built-in table) it is --find-silicon's search,
// its lines shown as "peak 1 1 1 ...".
int RunFindLines(const CliOptions& options, std::ostream& out, std::ostream& err);

// --two-theta-from PROFILE with another reference: prints the search and stores one reading
// per line of reference in list, as --two-theta takes them. False (said on err) when the
// profile cannot be read, holds fewer than two of the lines, or their set is refused.
bool ReadingsFromProfileOf(const CliOptions& options, const Reference& reference, std::ostream& out,
                           std::ostream& err, std::string& list);

}  // namespace pellum::cli
