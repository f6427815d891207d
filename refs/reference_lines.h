#pragma once

#include <string>
#include <vector>

#include "refs/standard.h"

namespace pellum {

// One line of a reference: a distinct spacing, the hkl it is shown with, where it stands and
// how strong it is.
//   {1, 1, 1, 3.135693, 28.441797, 100.0}   silicon 1 1 1, a = 5.431179, Cu K-alpha1
struct ReferenceLine {
  int h = 0, k = 0, l = 0;
  double d = 0.0;          // angstrom
  double twoTheta = 0.0;   // degrees, by Bragg's law
  double intensity = 0.0;  // relative to the strongest line, 100
};

// Reflections beyond this many candidates (the cell and wavelength make the search too wide
// for a film of 100 degrees) are refused rather than searched.
inline constexpr double kMostReflectionCandidates = 2.0e6;

// Every reflection of the standard's space group with two-theta below 100 degrees, one line
// per distinct spacing, in order of two-theta. a and c (0 for a cubic cell) are the cell to
// use, in angstrom, wavelength in angstrom. A reflection the space group forbids, or whose
// structure factor vanishes on the atoms' sites (silicon 2 2 2), is no line. The intensity is
// |F|^2 summed over the reflections of the spacing (so multiplicity included), F from the
// atoms' X-ray form factors and displacement parameters, times the Lorentz-polarization
// factor (1 + cos^2 2theta) / (sin^2 theta cos theta), scaled to 100 for the strongest.
// A line is shown with the hkl of its strongest family, the member with most non-negative
// indices and the largest in (h, k, l) order: h >= k >= l >= 0 for a cubic cell.
// False with error said when the cell or wavelength is unusable or gives no line.
//   silicon, a = 5.431179, Cu K-alpha1: 1 1 1, 2 2 0, 3 1 1, 4 0 0, 3 3 1, 4 2 2, 5 1 1
bool ComputeReferenceLines(const Standard& standard, double a, double c, double wavelength,
                           std::vector<ReferenceLine>& lines, std::string& error);

// For lines that hold their hkl and two-theta already (the built-in table), fills in d by
// Bragg's law and the relative intensity from standard's atoms, as above.
bool ComputeTableIntensities(const Standard& standard, double wavelength,
                             std::vector<ReferenceLine>& lines, std::string& error);

}  // namespace pellum
