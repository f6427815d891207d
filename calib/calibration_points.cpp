#include "calib/calibration_points.h"

#include "calib/reference_table.h"

namespace pellum {

int BuildCalibrationPoints(const ParsedEntries& values, std::vector<CalibrationPoint>& points) {
  points.clear();
  for (std::size_t i = 0; i < values.size(); ++i) {
    // A negative entry marks a reflection that could not be read; zero is a reading.
    if (values[i] >= 0.0)
      points.push_back({values[i], ReferenceTable[i].twoTheta, kPointSigma});
  }
  return static_cast<int>(points.size());
}

}  // namespace pellum
