#include "refs/reference_readings.h"

#include <algorithm>
#include <cmath>

#include "calib/calibration_points.h"
#include "calib/fixed_notation.h"
#include "calib/parse_decimal.h"
#include "calib/shortest_text.h"
#include "refs/radiation.h"
#include "ui/user_texts.h"

namespace pellum {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// One number and nothing else besides blanks, as an entry of the built-in table must be.
bool HoldsOneNumber(std::string_view text, double& value) {
  const std::size_t end = ParseDecimalPrefix(text, value);
  return end != 0 &&
         std::all_of(text.begin() + static_cast<std::ptrdiff_t>(end), text.end(), IsBlank);
}

}  // namespace

std::string HklText(const ReferenceLine& line) {
  return std::to_string(line.h) + ' ' + std::to_string(line.k) + ' ' + std::to_string(line.l);
}

CalibrationReference CalibrationReferenceOf(const Reference& reference) {
  CalibrationReference named;
  named.standard = reference.standard;
  named.material = reference.material;
  if (const Standard* standard = FindStandard(reference.standard))
    named.spaceGroup = standard->spaceGroup;
  named.a = reference.a;
  named.c = reference.c;
  named.radiation = reference.radiation;
  if (const Radiation* radiation = FindRadiation(reference.radiation))
    named.radiationLine = radiation->line;
  named.wavelength = reference.wavelength;
  return named;
}

std::vector<std::string> ReferenceTitleLines(const CalibrationReference& reference) {
  if (reference.IsBuiltInTable())
    return {};
  std::string radiation;
  if (!reference.radiationLine.empty()) {
    radiation = reference.radiationLine + " (";
    AppendFixed(radiation, reference.wavelength, 6);
    radiation += " \u00C5)";
  } else {
    AppendFixed(radiation, reference.wavelength, 6);
    radiation += " \u00C5";
  }
  return {reference.material.empty() ? reference.standard : reference.material, radiation};
}

std::string ReferenceTitle(const CalibrationReference& reference) {
  const std::vector<std::string> lines = ReferenceTitleLines(reference);
  return lines.empty() ? std::string() : lines[0] + ", " + lines[1];
}

std::string_view RefuseReferenceReadings(const std::vector<std::string>& texts,
                                         const std::vector<double>& values) {
  if (std::any_of(values.begin(), values.end(), [](double v) { return v >= 100.0; }))
    return texts::kTooLarge;
  for (const std::string& text : texts) {
    double value = 0.0;
    if (!HoldsOneNumber(text, value))
      return texts::kNotANumber;
  }
  std::vector<double> read;
  for (double v : values) {
    if (v >= 0.0 && std::find(read.begin(), read.end(), v) == read.end())
      read.push_back(v);
  }
  return read.size() == 1 ? texts::kTooFewReadings : std::string_view();
}

std::string DescribeFarReferenceReadings(const Reference& reference,
                                         const std::vector<double>& values, double maxOffset) {
  std::string lines;
  for (std::size_t i = 0; i < values.size() && i < reference.lines.size(); ++i) {
    const double actual = reference.lines[i].twoTheta;
    const double difference = values[i] - actual;
    if (!(values[i] >= 0.0) || std::fabs(difference) <= maxOffset)
      continue;
    lines +=
        '\n' + HklText(reference.lines[i]) + ": reading " + ShortestText(values[i]) + ", actual ";
    AppendFixed(lines, actual, 3);
    lines += ", difference ";
    if (difference >= 0.0)
      lines += '+';
    AppendFixed(lines, difference, 3);
  }
  if (lines.empty())
    return "";
  return "Readings more than " + ShortestText(maxOffset) +
         (maxOffset == 1.0 ? " degree" : " degrees") +
         " from the actual 2 theta of their reflection:" + lines;
}

std::size_t BuildReferencePoints(const Reference& reference, const std::vector<double>& values,
                                 std::vector<CalibrationPoint>& points,
                                 std::vector<std::string>& hklTexts) {
  points.clear();
  hklTexts.clear();
  for (std::size_t i = 0; i < values.size() && i < reference.lines.size(); ++i) {
    if (values[i] >= 0.0) {
      points.push_back({values[i], reference.lines[i].twoTheta, kPointSigma});
      hklTexts.push_back(HklText(reference.lines[i]));
    }
  }
  return points.size();
}

}  // namespace pellum
