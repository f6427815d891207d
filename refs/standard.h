#pragma once

#include <span>
#include <string_view>

namespace pellum {

// One atom of a standard's asymmetric unit: its element, its fractional position in the
// space group's setting, and its isotropic displacement parameter B (angstrom squared), which
// damps its scattering by exp(-B (sin theta / lambda)^2).
struct StandardAtom {
  std::string_view element;  // "Si"
  double x, y, z;
  double b;
};

// A reference material: a certified cell, its space group (which says which reflections it
// has) and its atoms (which say how strong they are).
//   {"si-640e", "silicon SRM 640e", 5.431179, 0.0, "F d -3 m:2", atoms}
struct Standard {
  std::string_view name;        // as the command line takes it: "si-640e"
  std::string_view material;    // "silicon SRM 640e"
  double a;                     // angstrom, at 22.5 degrees Celsius as certified
  double c;                     // hexagonal axes only; 0 for a cubic cell
  std::string_view spaceGroup;  // Hermann-Mauguin symbol with its setting: "R -3 c:H"
  std::span<const StandardAtom> atoms;

  bool Hexagonal() const { return c > 0.0; }
};

// The name of the built-in table of six silicon reflections for Cu K-alpha1, the default
// reference; it has no cell and is not among the standards below.
inline constexpr std::string_view kBuiltInTableName = "si";

// The certified silicon standards a user of the built-in table is pointed to for another
// radiation.
inline constexpr std::string_view kCertifiedSiliconNames = "si-640c, si-640d or si-640e";

// Every built-in standard, silicon first, in the order the documentation lists them.
std::span<const Standard> BuiltInStandards();

// The standard of that name, or nullptr (also for "si", which is a table, not a cell):
//   FindStandard("lab6-660c")->a == 4.156826
const Standard* FindStandard(std::string_view name);

}  // namespace pellum
