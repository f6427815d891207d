#pragma once

#include <array>
#include <string_view>

namespace pellum {

// A silicon reflection the user can read off the film.
struct ReferenceReflection {
  std::string_view hkl;          // "1 1 1"
  double twoTheta;               // the true position, degrees
  std::string_view displayText;  // how the entry dialog shows it: "69.130"
};

// The six silicon reflections in entry-field order; the order is also that of the points
// and of the chart's labels.
inline constexpr std::array<ReferenceReflection, 6> ReferenceTable = {{
    {"1 1 1", 28.442, "28.442"},
    {"2 2 0", 47.303, "47.303"},
    {"3 1 1", 56.122, "56.122"},
    {"4 0 0", 69.13, "69.130"},
    {"3 3 1", 76.376, "76.376"},
    {"4 2 2", 88.03, "88.030"},
}};

}  // namespace pellum
