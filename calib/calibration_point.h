#pragma once

namespace pellum {

// One reference reflection used in the fit, in degrees two-theta: what the user read off
// the film (x), where silicon puts the reflection (y), and the reading's uncertainty.
struct CalibrationPoint {
  double x = 0.0;
  double y = 0.0;
  double sigma = 0.0;
};

}  // namespace pellum
