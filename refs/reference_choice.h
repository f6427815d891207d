#pragma once

#include <optional>
#include <string>
#include <vector>

#include "refs/reference_lines.h"

namespace pellum {

// What the user asked for, as typed: a standard's name, and optionally its cell, a
// radiation's name or a wavelength.
//   {"si-640e", std::nullopt, "cr", std::nullopt}       silicon SRM 640e, Cr K-alpha1
//   {"lab6-660c", "4.15690", std::nullopt, "1.5406"}   a refined LaB6 cell, a wavelength
struct ReferenceRequest {
  std::string standard{kBuiltInTableName};
  std::optional<std::string> lattice;     // "A" or "A,C", angstrom
  std::optional<std::string> radiation;   // "cu", "co", "fe", "cr", "mo" or "ag"
  std::optional<std::string> wavelength;  // angstrom

  // True when nothing but the default was asked for.
  bool IsDefault() const {
    return standard == kBuiltInTableName && !lattice && !radiation && !wavelength;
  }
};

// A reference the readings are calibrated against: a standard and a radiation, and its lines.
struct Reference {
  std::string standard;   // "si-640e", or "si" for the built-in table
  std::string material;   // "silicon SRM 640e"; "silicon" for the built-in table
  double a = 0.0;         // the cell used, angstrom; 0 for the built-in table
  double c = 0.0;         // hexagonal cells only
  std::string radiation;  // "cr"; empty for a wavelength of the user's
  double wavelength = 0.0;
  std::vector<ReferenceLine> lines;  // in order of two-theta

  bool IsBuiltInTable() const { return standard == kBuiltInTableName; }
};

// Resolves request into reference, its lines computed. The built-in table "si" is the six
// silicon reflections of the calibration's reference table, exactly, and takes no cell and
// no radiation but Cu K-alpha1: anything else is refused, pointing to the certified silicon
// standards. False, with error said, for an unknown name, a malformed or unusable number, a
// cell of the wrong shape (A for cubic standards, A,C for hexagonal ones), or both a
// radiation and a wavelength.
//   {"si-640e", nullopt, "cr", nullopt} -> a = 5.431179, wavelength 2.2897260, 1 1 1 at 42.83
//   {"si", nullopt, "mo", nullopt}      -> false: "... use si-640c, si-640d or si-640e ..."
bool ChooseReference(const ReferenceRequest& request, Reference& reference, std::string& error);

}  // namespace pellum
