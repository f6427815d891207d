#include "calib/fit_model.h"

#include <array>
#include <cmath>

#include "calib/fit_quality.h"

namespace pellum {
namespace {

struct RuleName {
  ModelRule rule;
  std::string_view name;
};
constexpr std::array<RuleName, 4> kRuleNames = {{{ModelRule::ChiSquare, "chi-square"},
                                                 {ModelRule::Line, "line"},
                                                 {ModelRule::Quadratic, "quadratic"},
                                                 {ModelRule::Significant, "significant"}}};

}  // namespace

std::string_view ModelRuleName(ModelRule rule) {
  for (const RuleName& r : kRuleNames)
    if (r.rule == rule)
      return r.name;
  return "chi-square";
}

std::optional<ModelRule> ParseModelRule(std::string_view name) {
  for (const RuleName& r : kRuleNames)
    if (r.name == name)
      return r.rule;
  return std::nullopt;
}

double StudentT975(int degreesOfFreedom) {
  // The 97.5 % quantiles of Student's t for 1 to 10 degrees of freedom.
  constexpr std::array<double, 10> kTable = {
      12.706204736174698, 4.302652729749464, 3.182446305284263,  2.7764451051977934,
      2.570581835636314,  2.446911851144969, 2.3646242515927849, 2.3060041352041662,
      2.2621571627982053, 2.2281388519862735};
  if (degreesOfFreedom < 1)
    return NAN;
  if (degreesOfFreedom <= static_cast<int>(kTable.size()))
    return kTable[static_cast<std::size_t>(degreesOfFreedom - 1)];
  // Beyond the table, the Cornish-Fisher expansion about the normal quantile: within 1e-4
  // of the quantile from 11 degrees of freedom on.
  const double z = 1.959963984540054;
  const double v = degreesOfFreedom;
  const double z3 = z * z * z;
  const double z5 = z3 * z * z;
  const double z7 = z5 * z * z;
  return z + (z3 + z) / (4 * v) + (5 * z5 + 16 * z3 + 3 * z) / (96 * v * v) +
         (3 * z7 + 19 * z5 + 17 * z3 - 15 * z) / (384 * v * v * v);
}

QuadraticTermTest TestQuadraticTerm(std::span<const CalibrationPoint> points,
                                    const FitResult& result) {
  QuadraticTermTest test;
  if (points.size() <= 3)
    return test;
  const FitQuality quadratic = AssessFit(points, ModelCoefficients(result, false), false);
  const double t = std::fabs(result.a3) / quadratic.su[2];
  if (!quadratic.uncertaintiesDefined || !std::isfinite(t))
    return test;
  test.defined = true;
  test.degreesOfFreedom = static_cast<int>(points.size()) - 3;
  test.t = t;
  test.critical = StudentT975(test.degreesOfFreedom);
  test.significant = t > test.critical;
  return test;
}

bool RuleChoosesStraightLine(ModelRule rule, const FitResult& result,
                             const QuadraticTermTest& term) {
  switch (rule) {
    case ModelRule::Line:
      return true;
    case ModelRule::Quadratic:
      return false;
    case ModelRule::Significant:
      return !term.significant;
    case ModelRule::ChiSquare:
      break;
  }
  return PrefersStraightLine(result);
}

CalibrationCoefficients ModelCoefficients(const FitResult& r, bool straightLine) {
  if (straightLine)
    return {r.delta2, r.intercept, r.slope, 0.0};
  return {r.delta3, r.a1, r.a2, r.a3};
}

}  // namespace pellum
