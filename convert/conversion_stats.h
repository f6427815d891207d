#pragma once

#include <cstdint>

namespace pellum {

// What a conversion noticed beyond its result. skippedLines counts the data lines that
// held fewer fields than the converter reads (five for a listing, two for a profile),
// empty lines included: such lines are skipped rather than converted from stale numbers.
struct ConversionStats {
  std::uint64_t skippedLines = 0;
};

}  // namespace pellum
