#pragma once

#include <ostream>
#include <span>
#include <string>

#include "calib/fit.h"
#include "calib/fit_report.h"

namespace pellum {

// The fit and its report as the Open command runs them: the report first, then the
// coefficients. Returns the report writer's result, 0 or -1.
inline int FitAndReport(std::span<const CalibrationPoint> points,
                        CalibrationCoefficients& coefficients, const std::string& reportPath,
                        std::ostream& console, FitResult* result = nullptr) {
  const CalibrationFit fit = FitCalibration(points);
  const int written = WriteFitReport(fit.result, reportPath, console);
  coefficients = fit.coefficients;
  if (result != nullptr)
    *result = fit.result;
  return written;
}

}  // namespace pellum
