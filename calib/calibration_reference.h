#pragma once

#include <string>

namespace pellum {

// What a calibration was fitted against when it was not the built-in silicon table: a
// standard with the cell used and the wavelength of the film. refs/ computes the lines from
// it; the record and the CIF name it.
//   {"si-640e", "silicon SRM 640e", "F d -3 m:2", 5.431179, 0, "cr", "Cr K-alpha1", 2.289726}
//   {"lab6-660c", ..., 4.156826, 0, "", "", 1.5406}     a wavelength of the user's
// An empty standard is the built-in table, which the record and the CIF name as they always
// have (not at all).
struct CalibrationReference {
  std::string standard;       // "si-640e"; empty for the built-in table
  std::string material;       // "silicon SRM 640e"; not kept in the record, its name says it
  std::string spaceGroup;     // "F d -3 m:2"; not kept in the record either
  double a = 0.0;             // the cell used, angstrom
  double c = 0.0;             // hexagonal cells only, else 0
  std::string radiation;      // "cr"; empty for a wavelength of the user's
  std::string radiationLine;  // "Cr K-alpha1"; empty with radiation
  double wavelength = 0.0;    // angstrom

  bool IsBuiltInTable() const { return standard.empty(); }
};

}  // namespace pellum
