#include "refs/standard.h"

#include <array>

namespace pellum {
namespace {

// The atoms: the structures' textbook positions and rounded room-temperature displacement
// parameters. They shape only the relative intensities, never a line's position.

// Diamond structure, origin at the centre of symmetry: Si on 8a.
constexpr std::array<StandardAtom, 1> kSiliconAtoms = {{{"Si", 0.125, 0.125, 0.125, 0.46}}};

// Fluorite structure: Ce on 4a, O on 8c.
constexpr std::array<StandardAtom, 2> kCeriaAtoms = {{
    {"Ce", 0.0, 0.0, 0.0, 0.3},
    {"O", 0.25, 0.25, 0.25, 0.5},
}};

// La on 1a, the B6 octahedra on 6f (x, 1/2, 1/2).
constexpr std::array<StandardAtom, 2> kLanthanumHexaborideAtoms = {{
    {"La", 0.0, 0.0, 0.0, 0.3},
    {"B", 0.1993, 0.5, 0.5, 0.4},
}};

// Corundum on hexagonal axes: Al on 12c (0, 0, z), O on 18e (x, 0, 1/4).
constexpr std::array<StandardAtom, 2> kCorundumAtoms = {{
    {"Al", 0.0, 0.0, 0.35216, 0.2},
    {"O", 0.30624, 0.0, 0.25, 0.3},
}};

// The certified cells, in angstrom at 22.5 degrees Celsius.
constexpr std::array<Standard, 7> kStandards = {{
    {"si-640c", "silicon SRM 640c", 5.4311946, 0.0, "F d -3 m:2", kSiliconAtoms},
    {"si-640d", "silicon SRM 640d", 5.43123, 0.0, "F d -3 m:2", kSiliconAtoms},
    {"si-640e", "silicon SRM 640e", 5.431179, 0.0, "F d -3 m:2", kSiliconAtoms},
    {"lab6-660a", "LaB6 SRM 660a", 4.1569162, 0.0, "P m -3 m", kLanthanumHexaborideAtoms},
    {"lab6-660c", "LaB6 SRM 660c", 4.156826, 0.0, "P m -3 m", kLanthanumHexaborideAtoms},
    {"ceo2-674b", "CeO2 SRM 674b", 5.411651, 0.0, "F m -3 m", kCeriaAtoms},
    {"al2o3-676a", "corundum SRM 676a", 4.759091, 12.991779, "R -3 c:H", kCorundumAtoms},
}};

}  // namespace

std::span<const Standard> BuiltInStandards() {
  return kStandards;
}

const Standard* FindStandard(std::string_view name) {
  for (const Standard& standard : kStandards) {
    if (standard.name == name)
      return &standard;
  }
  return nullptr;
}

}  // namespace pellum
