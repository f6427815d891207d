#pragma once

#include <array>
#include <span>

#include "peaks/silicon_finder.h"

namespace pellum {

// The checks across the six reflections, after each window was searched on its own. Each
// turns found reflections into not found, never the other way.

// Two found reflections closer than the wider one's width hold one peak: the one whose
// prediction lies farther from it is Shared.
//
//   111 at 47.21 (predicted 28.5), 220 at 47.21 (predicted 47.2) -> 111 Shared
void DropSharedPeaks(std::span<ReflectionSearch> reflections, std::span<const double> predicted);

// The median width of the found reflections; 0 with fewer than two found.
double MedianFoundWidth(std::span<const ReflectionSearch> reflections);

// With three or more found, the widths of one film's reflections lie close together: one
// more than 2.5 times narrower or wider than the median of the found is ImplausibleWidth.
void DropImplausibleWidths(std::span<ReflectionSearch> reflections);

// With three or more found, the line (shift and scale within maxScale) that most of them
// lie within agreement of is taken, and those off it are OffTheLine; ties go to the line
// with the clearest peaks. With floor above 0, each must lie within max(floor, 4 su) of the
// line (and never further than agreement): a silicon line under a sample line, their blend
// 0.06 degree off, is dropped rather than taken. Two found that lie further than agreement
// from the line at maxScale through their middle cannot both be silicon: the fainter is
// OffTheLine; likewise, when no two of three or more agree so, only the clearest stays.
//
//   found at offsets 0.30, 0.31, 0.62, 0.30 on 111, 220, 311, 400 -> 311 OffTheLine
//   found at offsets 0.0, 1.2, 0.5 on 111, 220, 311 -> all but the clearest OffTheLine
void DropOffTheLine(std::span<ReflectionSearch> reflections, double agreement, double maxScale,
                    double floor = 0.0);

// With four or more found, a silicon line under a sample line is fitted as their blend, off
// the line that the others make: the one furthest from the least-squares line through the
// others, beyond max(floor, 5 su), is OffTheLine, and so on while four remain.
//
//   offsets -0.132, -0.028, -0.008, -0.010 on 111, 311, 400, 422 (floor 0.03)
//   -> 111 OffTheLine (0.1 from the others' line)
void DropBlends(std::span<ReflectionSearch> reflections, double floor);

}  // namespace pellum
