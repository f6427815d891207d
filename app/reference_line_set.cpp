#include "app/reference_line_set.h"

#include <vector>

#include "refs/look_alike_lines.h"
#include "refs/radiation.h"

namespace pellum {
namespace {

FinderLine FinderLineOf(const ReferenceLine& line) {
  return {line.h, line.k, line.l, line.twoTheta, line.intensity};
}

}  // namespace

bool LineSetOf(const Reference& reference, LineSet& set, std::string& error) {
  set = {};
  set.material = reference.material;
  for (const ReferenceLine& line : reference.lines)
    set.lines.push_back(FinderLineOf(line));
  std::vector<ReferenceLine> lookAlike;
  if (!ComputeLookAlikeLines(reference, lookAlike, error))
    return false;
  for (const ReferenceLine& line : lookAlike)
    set.lookAlike.push_back(FinderLineOf(line));
  if (const Radiation* radiation = FindRadiation(reference.radiation))
    set.kAlpha2Ratio = radiation->kAlpha2 / radiation->wavelength;
  return true;
}

}  // namespace pellum
