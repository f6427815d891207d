#pragma once

#include <string>
#include <vector>

#include "refs/reference_choice.h"

namespace pellum {

// Where a phase that looks like the reference's standard shows lines the standard has not:
// the reflections that the symmorphic space group of the same lattice allows (one atom at
// the origin: every reflection of the centred lattice) at a spacing where the standard has
// no line, for a standard beside which such a phase is common. For silicon's F d -3 m that
// is F m -3 m, a fluorite-type phase of silicon's size (2 0 0, 2 2 2, 4 2 0). F m -3 m (CeO2)
// and P m -3 m (LaB6) are symmorphic and show every line of their lattice, and corundum's
// look-alikes differ by their cell: they get none, and a look-alike phase is told by its
// scale and by the strong lines it lacks. The lines are in order of two-theta, below 100
// degrees, their intensities those of the one-atom crystal.
//   silicon SRM 640e, Cu K-alpha1 -> 2 0 0 at 32.96, 2 2 2 at 58.86, 4 2 0 at 76.2...
//   LaB6 SRM 660c                 -> none
// False with error said when the reference's standard is unknown (also the built-in table,
// whose finder has its own check) or its lines cannot be computed.
bool ComputeLookAlikeLines(const Reference& reference, std::vector<ReferenceLine>& lines,
                           std::string& error);

}  // namespace pellum
