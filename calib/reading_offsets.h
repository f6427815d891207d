#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "calib/entry_validation.h"

namespace pellum {

// A film's two-theta scale is off by a few tenths of a degree at most; a reading further
// than that from its reflection is almost always a typing slip (65.021 for 56.021) or a
// reading typed into the wrong row.
inline constexpr double kDefaultMaxOffset = 1.0;

struct FarReading {
  std::size_t slot = 0;  // index into the reference table
  double reading = 0.0;
  double actual = 0.0;
  double difference = 0.0;  // reading - actual
};

// The readings (non-negative values) more than maxOffset degrees from their reflection's
// actual two-theta, in table order. Negative values are the reflections not read.
//
//   {28.45, 47.31, 65.021, -1, -1, -1}, 1.0 -> one: slot 2, 65.021, 56.122, +8.899
std::vector<FarReading> FindFarReadings(const ParsedEntries& values, double maxOffset);

// The question's text, one line per reading:
//   "Readings more than 1 degree from the actual 2 theta of their reflection:\n"
//   "3 1 1: reading 65.021, actual 56.122, difference +8.899"
std::string DescribeFarReadings(const std::vector<FarReading>& far, double maxOffset);

}  // namespace pellum
