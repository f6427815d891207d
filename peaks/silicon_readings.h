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

// The six readings in the reference table's order.
std::array<std::string, 6> ReadingTexts(const SiliconSearch& search);

// The six readings comma-separated, as pellum-cli's --two-theta takes them.
//
//   "28.4423,47.3031,56.1224,-1,76.3761,88.0307"
std::string TwoThetaListText(const SiliconSearch& search);

}  // namespace pellum
