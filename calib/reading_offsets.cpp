#include "calib/reading_offsets.h"

#include <cmath>

#include "calib/fixed_notation.h"
#include "calib/reference_table.h"
#include "calib/shortest_text.h"

namespace pellum {

std::vector<FarReading> FindFarReadings(const ParsedEntries& values, double maxOffset) {
  std::vector<FarReading> far;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (!(values[i] >= 0.0))
      continue;
    const double actual = ReferenceTable[i].twoTheta;
    const double difference = values[i] - actual;
    if (!(std::fabs(difference) <= maxOffset))
      far.push_back({i, values[i], actual, difference});
  }
  return far;
}

std::string DescribeFarReadings(const std::vector<FarReading>& far, double maxOffset) {
  std::string text = "Readings more than " + ShortestText(maxOffset) +
                     (maxOffset == 1.0 ? " degree" : " degrees") +
                     " from the actual 2 theta of their reflection:";
  for (const FarReading& r : far) {
    text += '\n';
    text += ReferenceTable[r.slot].hkl;
    text += ": reading " + ShortestText(r.reading) + ", actual ";
    text += ReferenceTable[r.slot].displayText;
    text += ", difference ";
    if (r.difference >= 0.0)
      text += '+';
    AppendFixed(text, r.difference, 3);
  }
  return text;
}

}  // namespace pellum
