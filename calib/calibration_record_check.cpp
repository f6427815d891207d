#include "calib/calibration_record_check.h"

#include <cmath>
#include <limits>

#include "calib/fit.h"
#include "calib/fit_quality.h"
#include "calib/fixed_notation.h"
#include "calib/reading_offsets.h"
#include "calib/reference_table.h"
#include "calib/shortest_text.h"
#include "ui/user_texts.h"

namespace pellum {
namespace {

// Two-theta on a Guinier film stays below 100 degrees, as the typed readings do.
constexpr double kLargestTwoTheta = 100.0;

// The refit runs the same arithmetic in the same order, so a record Pellum wrote agrees to
// the bit; the few units in the last place allowed are for a record made by another build
// whose libraries round differently.
bool Agrees(double recorded, double refitted) {
  if (recorded == refitted)
    return true;
  const double scale = std::max(std::fabs(recorded), std::fabs(refitted));
  return std::fabs(recorded - refitted) <= 8.0 * std::numeric_limits<double>::epsilon() * scale;
}

int SlotOf(const CalibrationPoint& p) {
  for (std::size_t i = 0; i < ReferenceTable.size(); ++i)
    if (ReferenceTable[i].twoTheta == p.y)
      return static_cast<int>(i);
  return -1;
}

std::string Hkl(int slot) {
  return std::string(ReferenceTable[static_cast<std::size_t>(slot)].hkl);
}

// The readings as the six entries would hold them, -1 for a reflection not read.
std::string CheckReadings(const CalibrationRecord& record, ParsedEntries& values) {
  values.fill(-1.0);
  int previous = -1;
  for (const CalibrationPoint& p : record.points) {
    const int slot = SlotOf(p);
    if (slot == previous)
      return "the reflection " + Hkl(slot) + " is given twice";
    if (slot < previous)
      return "the points are not in table order (1 1 1, 2 2 0, 3 1 1, 4 0 0, 3 3 1, 4 2 2)";
    if (p.x < 0.0)
      return "the reading of " + Hkl(slot) + " is negative, the mark of a reflection not read";
    if (p.x >= kLargestTwoTheta)
      return std::string(texts::kTooLarge);
    values[static_cast<std::size_t>(slot)] = p.x;
    previous = slot;
  }
  return "";
}

std::size_t DistinctReadings(const CalibrationRecord& record) {
  std::size_t distinct = 0;
  for (std::size_t i = 0; i < record.points.size(); ++i) {
    bool seen = false;
    for (std::size_t j = 0; j < i; ++j)
      seen = seen || record.points[j].x == record.points[i].x;
    distinct += seen ? 0 : 1;
  }
  return distinct;
}

bool CoefficientsFollow(const CalibrationRecord& record) {
  const FitResult r = FitCalibration(record.points).result;
  const CalibrationCoefficients& c = record.coefficients;
  if (record.straightLine)
    return Agrees(c.a1, r.intercept) && Agrees(c.a2, r.slope) && c.a3 == 0.0 &&
           Agrees(c.delta, r.delta2);
  return Agrees(c.a1, r.a1) && Agrees(c.a2, r.a2) && Agrees(c.a3, r.a3) &&
         Agrees(c.delta, r.delta3);
}

// Agreement is judged against each entry's scale, the root of its two variances: a
// covariance is only as exact as the norms and roots that made it.
std::string CheckCovariance(const CalibrationRecord& record) {
  const FitQuality q = AssessFit(record.points, record.coefficients, record.straightLine);
  const std::string_view noFollow = "the covariance does not follow from its readings";
  if (q.uncertaintiesDefined != record.covarianceDefined)
    return std::string(noFollow);
  if (!record.covarianceDefined)
    return "";
  const auto& v = record.covariance;
  for (std::size_t i = 0; i < 3; ++i)
    if (!(v[i * 4] >= 0.0))
      return "the covariance has a negative variance";
  for (std::size_t i = 0; i < 3; ++i) {
    for (std::size_t j = 0; j < 3; ++j) {
      const double scale = std::sqrt(q.covariance[i * 4] * q.covariance[j * 4]);
      if (std::fabs(v[i * 3 + j] - q.covariance[i * 3 + j]) > 1e-9 * scale)
        return std::string(noFollow);
    }
  }
  return "";
}

// The readings of another reference's record, one per line (-1 for a line not read), each
// point on its line exactly.
std::string CheckLineReadings(const CalibrationRecord& record,
                              std::span<const RecordReferenceLine> lines,
                              std::vector<double>& values) {
  values.assign(lines.size(), -1.0);
  if (record.hkls.size() != record.points.size())
    return "a point names no line of the standard";
  int previous = -1;
  for (std::size_t i = 0; i < record.points.size(); ++i) {
    const CalibrationPoint& p = record.points[i];
    const std::string& hkl = record.hkls[i];
    int slot = -1;
    for (std::size_t j = 0; j < lines.size() && slot < 0; ++j)
      slot = lines[j].hkl == hkl ? static_cast<int>(j) : -1;
    if (slot < 0)
      return "the standard has no line " + hkl + " below 100 degrees at this wavelength";
    const double actual = lines[static_cast<std::size_t>(slot)].twoTheta;
    if (p.y != actual)
      return "the actual two-theta of " + hkl + " is not its line's, " + ShortestText(actual);
    if (slot == previous)
      return "the reflection " + hkl + " is given twice";
    if (slot < previous)
      return "the points are not in the order of the standard's lines";
    if (p.x < 0.0)
      return "the reading of " + hkl + " is negative, the mark of a reflection not read";
    if (p.x >= kLargestTwoTheta)
      return std::string(texts::kTooLarge);
    values[static_cast<std::size_t>(slot)] = p.x;
    previous = slot;
  }
  return "";
}

// The text --two-theta gives for readings of another reference far from their lines.
std::string DescribeFarLineReadings(std::span<const RecordReferenceLine> lines,
                                    const std::vector<double>& values, double maxOffset) {
  std::string text;
  for (std::size_t i = 0; i < values.size(); ++i) {
    const double difference = values[i] - lines[i].twoTheta;
    if (!(values[i] >= 0.0) || std::fabs(difference) <= maxOffset)
      continue;
    text += '\n' + lines[i].hkl + ": reading " + ShortestText(values[i]) + ", actual ";
    AppendFixed(text, lines[i].twoTheta, 3);
    text += ", difference ";
    if (difference >= 0.0)
      text += '+';
    AppendFixed(text, difference, 3);
  }
  if (text.empty())
    return "";
  return "Readings more than " + ShortestText(maxOffset) +
         (maxOffset == 1.0 ? " degree" : " degrees") +
         " from the actual 2 theta of their reflection:" + text;
}

// What every record must pass once its readings are known to be on their lines.
std::string CheckFit(const CalibrationRecord& record) {
  if (!IsCalibration(record.coefficients) || !CoefficientsFollow(record))
    return std::string(kCoefficientsDoNotFollow);
  return CheckCovariance(record);
}

std::string CheckDistinct(const CalibrationRecord& record) {
  const std::size_t distinct = DistinctReadings(record);
  if (distinct < 2)
    return std::string(texts::kTooFewReadings);
  if (!record.straightLine && distinct < 3)
    return "a quadratic needs three different readings";
  return "";
}

}  // namespace

std::string CheckCalibrationRecord(const CalibrationRecord& record, double maxOffset) {
  // Its points are on another standard's lines, which only the caller can compute.
  if (!record.reference.IsBuiltInTable())
    return "the record names the standard " + record.reference.standard +
           ", whose lines are not at hand";
  ParsedEntries values{};
  if (std::string why = CheckReadings(record, values); !why.empty())
    return why;
  if (std::string why = CheckDistinct(record); !why.empty())
    return why;
  if (const auto far = FindFarReadings(values, maxOffset); !far.empty())
    return DescribeFarReadings(far, maxOffset);
  return CheckFit(record);
}

std::string CheckCalibrationRecord(const CalibrationRecord& record, double maxOffset,
                                   std::span<const RecordReferenceLine> lines) {
  std::vector<double> values;
  if (std::string why = CheckLineReadings(record, lines, values); !why.empty())
    return why;
  if (std::string why = CheckDistinct(record); !why.empty())
    return why;
  if (std::string far = DescribeFarLineReadings(lines, values, maxOffset); !far.empty())
    return far;
  return CheckFit(record);
}

}  // namespace pellum
