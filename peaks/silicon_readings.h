#pragma once

#include <array>
#include <string>

#include "peaks/silicon_finder.h"

namespace pellum {

// A found reflection's reading as an entry takes it, with four decimals, and "-1" (not
// available) for one not found.
//
//   found at 28.44233 -> "28.4423"        not found -> "-1"
std::string ReadingText(const ReflectionSearch& reflection);

// A found position's standard uncertainty with four decimals, rounded up (never shown
// smaller than it is, and at least 0.0001).
//   su 0.00031 -> "0.0004"      su 0.000002 -> "0.0001"
std::string UncertaintyText(const ReflectionSearch& reflection);

// A found reading with its uncertainty, as the window's message shows it; "-1" for one not
// found.
//   "28.3650 ± 0.0004"
std::string ReadingWithUncertaintyText(const ReflectionSearch& reflection);

// The six readings in the reference table's order.
std::array<std::string, 6> ReadingTexts(const SiliconSearch& search);

// The six readings comma-separated, as pellum-cli's --two-theta takes them.
//
//   "28.4423,47.3031,56.1224,-1,76.3761,88.0307"
std::string TwoThetaListText(const SiliconSearch& search);

// Why the set found may not calibrate the film, empty when it may:
//   "lines of another phase near the silicon positions: 0.8 % scale"
//   "lines of a fluorite-type phase: 2 0 0 at 33.08, where silicon has none"
//   "only two lines, not silicon's strongest"     "only two lines, though the profile covers 6"
//   "silicon's strongest reflection in the profile, 1 1 1, not found"
std::string RefusalText(const SiliconSearch& search);

}  // namespace pellum
