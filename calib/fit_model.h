#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "calib/calibration_coefficients.h"
#include "calib/calibration_point.h"
#include "calib/fit.h"

namespace pellum {

// The rule that chooses between the quadratic and the straight line.
//
//   ChiSquare    the report's rule: the straight line only when its chi-square is smaller
//                (or either is not a number); the default, which every earlier file follows
//   Line         always the straight line, a3 = 0
//   Quadratic    always the quadratic
//   Significant  the quadratic only when its a3 is significant at the 95 % level, else the
//                straight line
enum class ModelRule { ChiSquare, Line, Quadratic, Significant };

// "chi-square", "line", "quadratic", "significant": the names of the command line, the
// window's setting, the record and the CIF.
std::string_view ModelRuleName(ModelRule rule);
std::optional<ModelRule> ParseModelRule(std::string_view name);

// Whether the quadratic term is supported by the readings: the F-test of the two fits'
// chi-squares with n - 3 degrees of freedom, which is the same test as t = |a3| / su(a3)
// against Student's t (F = t^2). Defined with more than three readings whose quadratic
// fit gives a finite a3 and su.
//
//   six readings of the example film: a3 = -4.7e-07, su 2.7e-06, t 0.17 < 3.18: not
//   significant
//   readings on y = x + 1e-4 x^2 (two decimals more than a film gives): t large, significant
struct QuadraticTermTest {
  bool defined = false;
  int degreesOfFreedom = 0;  // n - 3
  double t = 0.0;            // |a3| / su(a3) of the quadratic
  double critical = 0.0;     // Student's t, two-sided 95 %, for degreesOfFreedom
  bool significant = false;  // t > critical
};

QuadraticTermTest TestQuadraticTerm(std::span<const CalibrationPoint> points,
                                    const FitResult& result);

// Student's t at which a two-sided test rejects at the 95 % level (the 97.5 % quantile):
// 12.706 for 1 degree of freedom, 4.303 for 2, 3.182 for 3, tending to 1.960.
double StudentT975(int degreesOfFreedom);

// Whether rule keeps the straight line for this fit.
bool RuleChoosesStraightLine(ModelRule rule, const FitResult& result,
                             const QuadraticTermTest& term);

// The coefficients of the chosen model: the quadratic's (delta3, a1, a2, a3) or the straight
// line's (delta2, intercept, slope, 0).
CalibrationCoefficients ModelCoefficients(const FitResult& result, bool straightLine);

}  // namespace pellum
