#pragma once

#include <cstdint>
#include <limits>

namespace pellum {

// What a conversion noticed beyond its result. skippedLines counts the data lines that
// held fewer fields than the converter reads (five for a listing, two for a profile),
// empty lines included: such lines are skipped rather than converted from stale numbers.
//
// The caller may set the calibrated range, the smallest and largest reading the
// calibration was fitted to; rowsOutsideRange then counts the converted rows whose
// experimental two-theta lies outside it, where the calibration extrapolates. The rows
// are converted all the same.
struct ConversionStats {
  double rangeLow = -std::numeric_limits<double>::infinity();
  double rangeHigh = std::numeric_limits<double>::infinity();

  std::uint64_t skippedLines = 0;
  std::uint64_t rowsOutsideRange = 0;
};

// Whether a row at experimental two-theta x is outside the calibrated range.
inline bool OutsideCalibratedRange(const ConversionStats* stats, double x) {
  return stats != nullptr && (x < stats->rangeLow || x > stats->rangeHigh);
}

}  // namespace pellum
