#pragma once

#include <span>

#include "peaks/line_finder.h"

namespace pellum {

// Whether the lines found are the reference's, before they may calibrate a film: the
// checks of silicon's set (silicon_set_check.h) for any reference.

// A line of relative intensity at or above this share of the strongest line the profile
// covers is one of the strong lines that must be found; below kWeakLineShare a line not
// found refuses nothing. A quarter holds CeO2's 2 0 0 (29 %), which silicon, 0.36 % larger
// and within a film's scale of it, lacks.
inline constexpr double kStrongLineShare = 0.25;
inline constexpr double kWeakLineShare = 0.05;
// The look-alike lines looked at, the lowest in two-theta first.
inline constexpr std::size_t kMostLookAlikeLines = 20;

// A found line holds a sample line when it is far stronger (height times width) than the
// reference makes it beside a found line: more than twice one that should be at least twice
// as strong, or stronger than one that should be at least ten times as strong.
//
//   LaB6 2 1 0 (42) of area 900 beside 1 1 0 (100) of area 100 -> 2 1 0 UnlikeSilicon
//   corundum 0 0 6 (1) of area 60 beside 1 0 4 (100) of area 100 -> 0 0 6 UnlikeSilicon
void DropUnlikeReference(std::span<ReflectionSearch> found, std::span<const FinderLine> lines);

// The checks of a set of two or more found, in this order:
// - the scale, as for silicon: OtherPhaseScale;
// - a strong line (a fifth of the strongest found) within tolerance of a look-alike line
//   covered by the profile (none within three tolerances of the reference's own lines):
//   LookAlikeLines;
// - two found where the profile covers more than two lines of kWeakLineShare or more:
//   TooFewLines;
// - the strongest line the profile covers not found, and no clear peak where it stands (one
//   a sample line spoiled counts): NotStrongest;
// - a strong line the profile covers without a clear peak where it stands (a spoiled one
//   counts), or fewer than half of them found (spoiled ones do not count here: a set whose
//   strong lines are all spoiled is most likely another phase's): StrongLinesMissing.
// predicted is where the film's offset puts each line.
SiliconSetCheck CheckLineSet(std::span<const ReflectionSearch> found, const LineSet& set,
                             std::span<const ProfilePoint> points,
                             std::span<const double> predicted,
                             const SiliconFinderOptions& options);

}  // namespace pellum
