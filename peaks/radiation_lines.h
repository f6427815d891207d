#pragma once

#include <span>

#include "peaks/silicon_finder.h"

namespace pellum {

// Whether a profile shows K-alpha2 (copper's unless options name another tube's) beside K-alpha1:
// the three clearest reflections that a search with single peaks fitted are fitted again as K-alpha
// doublets, from where the single peak stood, and the doublets are taken when they leave smaller
// residuals (the geometric mean of the ratios of the mean squares below 1). A K-alpha1 profile
// leaves a doublet's K-alpha2 unfilled, most clearly at high angles where it stands apart; a
// doublet profile leaves a single peak lopsided, or a shoulder beside it.
//
//   silicon with K-alpha2 at half height, step 0.01 -> true
//   the same without K-alpha2                      -> false
bool ShowsKAlpha2(std::span<const ProfilePoint> points, const SiliconSearch& single,
                  const SiliconFinderOptions& options);

// The same over the lines of any reference as a search with single peaks left them (Found,
// or NotSilicon for a set refused), K-alpha2 at options.kAlpha2Ratio, the probes clearest
// fitted again; byMedian takes the median of the ratios instead of their geometric mean. A
// reference of many lines has more of them blended with a sample's, whose doublet fit says
// little: more are asked, and one such blend does not outvote the others.
//   corundum in a fluorite, zincite and corundum sample, ratios 0.65, 0.79, 0.82, 1.02, 1.60
//   (0 1 2) and 1.77 (1 0 10 beside 1 1 9): geometric mean 1.03, median 0.92 -> doublets
bool ShowsKAlpha2(std::span<const ProfilePoint> points, std::span<const ReflectionSearch> single,
                  const SiliconFinderOptions& options, std::size_t probes, bool byMedian);

}  // namespace pellum
