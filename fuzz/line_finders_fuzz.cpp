// Arbitrary profiles through both line finders: the silicon table's and any reference's.
// Whatever the profile, a search must end without a fault, answer for every line of its
// set, put a line it found inside the profile with a finite position, width and
// uncertainty, and say why whenever it refuses the set.
//
// Input: byte 0 chooses the set (bits 0-1: the silicon table, LaB6 for Cu K-alpha1, silicon
// SRM 640e for Cr K-alpha1 with its fluorite look-alike lines), the radiation lines (bits
// 2-3: auto, K-alpha1, the doublet) and how the rest is read (bit 4). Read as a grid, byte 1
// is the first two-theta, byte 2 the step and every later two bytes an intensity; read as
// text, the rest is a profile file as a film reader writes it.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "peaks/line_finder.h"
#include "peaks/profile_points.h"
#include "peaks/silicon_finder.h"

namespace {

using pellum::FinderLine;
using pellum::LineSet;
using pellum::ProfilePoint;
using pellum::ReflectionSearch;

LineSet Lab6ForCopper() {
  LineSet set;
  set.material = "LaB6 SRM 660c";
  set.lines = {{1, 0, 0, 21.358274, 62.3}, {1, 1, 0, 30.385400, 100.0}, {1, 1, 1, 37.442499, 42.2},
               {2, 0, 0, 43.507423, 21.2}, {2, 1, 0, 48.958426, 47.7},  {2, 1, 1, 53.989906, 25.2},
               {2, 2, 0, 63.219716, 9.3},  {2, 2, 1, 67.549094, 26.2},  {3, 1, 0, 71.747035, 18.6},
               {3, 1, 1, 75.845689, 11.7}, {2, 2, 2, 79.871551, 2.1},   {3, 2, 0, 83.847402, 7.6},
               {3, 2, 1, 87.793674, 16.0}};
  set.kAlpha2Ratio = pellum::kKAlpha2WavelengthRatio;
  return set;
}

LineSet SiliconForChromium() {
  LineSet set;
  set.material = "silicon SRM 640e";
  set.lines = {{1, 1, 1, 42.828322, 100.0}, {2, 2, 0, 73.198884, 60.5}, {3, 1, 1, 88.713925, 39.2}};
  set.lookAlike = {{2, 0, 0, 49.869913, 0.0}, {2, 2, 2, 93.808639, 0.0}};
  set.kAlpha2Ratio = 2.293606 / 2.289726;
  return set;
}

std::vector<ProfilePoint> GridPoints(const std::uint8_t* data, std::size_t size) {
  std::vector<ProfilePoint> points;
  if (size < 2)
    return points;
  const double start = 10.0 + 0.3 * data[0];
  const double step = 0.002 + 0.0002 * data[1];
  for (std::size_t i = 2; i + 1 < size; i += 2) {
    const double counts = static_cast<double>(data[i] | (data[i + 1] << 8));
    points.push_back({start + step * static_cast<double>((i - 2) / 2), counts});
  }
  return points;
}

std::vector<ProfilePoint> TextPoints(const std::uint8_t* data, std::size_t size,
                                     const std::vector<pellum::TwoThetaSpan>& reach) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  return pellum::ReadProfilePoints(in, reach).points;
}

// A line found lies in the profile, with a finite centre, width and uncertainty.
void CheckFound(const ReflectionSearch& line, const std::vector<ProfilePoint>& points) {
  if (!line.Found())
    return;
  if (points.empty() || !std::isfinite(line.position) || line.position < points.front().twoTheta ||
      line.position > points.back().twoTheta || !(line.fwhm > 0.0) || !std::isfinite(line.fwhm) ||
      !(line.su >= 0.0) || !std::isfinite(line.su))
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1)
    return -1;
  const int which = data[0] & 3;
  pellum::SiliconFinderOptions options;
  const int lines = (data[0] >> 2) & 3;
  options.radiationLines = lines == 1   ? pellum::RadiationLines::KAlpha1
                           : lines == 2 ? pellum::RadiationLines::KAlpha12
                                        : pellum::RadiationLines::Auto;
  const bool text = (data[0] & 16) != 0;

  if (which == 0) {
    const std::vector<pellum::TwoThetaSpan> reach = pellum::SiliconReach(options);
    const std::vector<ProfilePoint> points =
        text ? TextPoints(data + 1, size - 1, reach) : GridPoints(data + 1, size - 1);
    const pellum::SiliconSearch search = pellum::FindSiliconReflections(points, options);
    for (const ReflectionSearch& line : search.reflections)
      CheckFound(line, points);
    if (search.Refused() && search.FoundCount() != 0)
      std::abort();  // a refused set keeps no reflection as found
    return 0;
  }

  const LineSet set = which == 1 ? Lab6ForCopper() : SiliconForChromium();
  options.kAlpha2Ratio = set.kAlpha2Ratio;
  const std::vector<pellum::TwoThetaSpan> reach = pellum::LinesReach(set, options);
  const std::vector<ProfilePoint> points =
      text ? TextPoints(data + 1, size - 1, reach) : GridPoints(data + 1, size - 1);
  const pellum::LineSearch search = pellum::FindReferenceLines(points, set, options);
  if (search.lines.size() != set.lines.size())
    std::abort();
  for (const ReflectionSearch& line : search.lines)
    CheckFound(line, points);
  if (search.Refused() != !pellum::RefusalText(search, set).empty())
    std::abort();  // every refusal says why, and only a refusal does
  if (search.Refused() && search.FoundCount() != 0)
    std::abort();
  return 0;
}
