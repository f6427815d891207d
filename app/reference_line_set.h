#pragma once

#include <string>

#include "peaks/line_finder.h"
#include "refs/reference_choice.h"

namespace pellum {

// What the finder looks for in a profile against reference (not the built-in table): its
// lines, where a look-alike phase has lines it has not, its material, and its radiation's
// K-alpha2 over K-alpha1 (0 for a wavelength of the user's: its doublets are never tried).
// Both programs' "find the lines" go through here. False with error said when the
// look-alike lines cannot be computed.
//   silicon SRM 640e, Cr K-alpha1 -> 1 1 1, 2 2 0, 3 1 1; look-alike 2 0 0, 2 2 2, 4 2 0
bool LineSetOf(const Reference& reference, LineSet& set, std::string& error);

}  // namespace pellum
