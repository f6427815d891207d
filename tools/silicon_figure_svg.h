#pragma once

#include <span>
#include <string>

#include "peaks/profile_points.h"
#include "peaks/silicon_finder.h"

namespace pellum {

// The finder's figure as an SVG picture: one panel per reflection, each showing the
// profile around the reflection's search window (shaded), its true two-theta (dotted), the
// fitted pseudo-Voigt on its straight background with any neighbours fitted with it (red)
// and the found position (a red line), with the reading or "not found" above. A set
// refused as not silicon's is drawn in orange, dashed, under a title that says why.
// pellum-silicon-figure draws it with the example profiles for the docs: the silicon film
// found, the fluorite film refused.
//
//   SiliconFigureSvg(points, search, "film-profile.txt") -> "<svg ...>...</svg>\n"
std::string SiliconFigureSvg(std::span<const ProfilePoint> points, const SiliconSearch& search,
                             const std::string& title);

}  // namespace pellum
