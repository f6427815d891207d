#include "refs/look_alike_lines.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "refs/standard.h"

namespace pellum {
namespace {

// The symmorphic space group of a non-symmorphic standard's lattice and Laue class, where a
// common phase of that group and nearly that cell exists: fluorite-type phases (CaF2, SrF2,
// CeO2, ThO2, UO2, cubic ZrO2) beside the diamond structure. Corundum's R -3 c is left out:
// no common R -3 m phase has its cell, its own kind (Cr2O3, Fe2O3, V2O3) differs by 4 % or
// more and is told by its scale, and the many R -3 m positions between its lines would take
// a sample's lines (zincite's 1 1 2 stands on 0 2 7) for a look-alike's.
struct Symmorphic {
  std::string_view group;
  std::string_view symmorphic;
};
constexpr std::array<Symmorphic, 1> kSymmorphic = {{
    {"F d -3 m:2", "F m -3 m"},
}};

// Whether a spacing is one of the reference's own, within rounding.
bool HasSpacing(const std::vector<ReferenceLine>& lines, double d) {
  return std::any_of(lines.begin(), lines.end(),
                     [d](const ReferenceLine& line) { return std::abs(line.d - d) <= 1e-9 * d; });
}

}  // namespace

bool ComputeLookAlikeLines(const Reference& reference, std::vector<ReferenceLine>& lines,
                           std::string& error) {
  lines.clear();
  const Standard* standard = FindStandard(reference.standard);
  if (standard == nullptr) {
    error = "no standard " + reference.standard;
    return false;
  }
  const auto* pair = std::find_if(kSymmorphic.begin(), kSymmorphic.end(), [&](const Symmorphic& s) {
    return s.group == standard->spaceGroup;
  });
  if (pair == kSymmorphic.end())
    return true;
  const std::array<StandardAtom, 1> atom = {
      {{standard->atoms.front().element, 0.0, 0.0, 0.0, 0.0}}};
  const Standard lattice{standard->name, standard->material, reference.a,
                         reference.c,    pair->symmorphic,   atom};
  std::vector<ReferenceLine> all;
  if (!ComputeReferenceLines(lattice, reference.a, reference.c, reference.wavelength, all, error))
    return false;
  for (const ReferenceLine& line : all) {
    if (!HasSpacing(reference.lines, line.d))
      lines.push_back(line);
  }
  return true;
}

}  // namespace pellum
