// Arbitrary bytes as a calibration record. What the reader takes must be a calibration
// (finite coefficients, two points or more, at most six of the built-in table), must write
// back to text that reads back to the same numbers and reference, and must survive the
// quality figures without a fault.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "calib/calibration_record.h"
#include "calib/fit_quality.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  pellum::CalibrationRecord record;
  std::string error;
  if (!pellum::ReadCalibrationRecord(in, record, error)) {
    if (error.empty())
      std::abort();  // every refusal says why
    return 0;
  }
  // The built-in table has six reflections; another reference names one line per point.
  const bool builtIn = record.reference.IsBuiltInTable();
  if (!pellum::IsCalibration(record.coefficients) || record.points.size() < 2 ||
      (builtIn && record.points.size() > 6) ||
      record.hkls.size() != (builtIn ? 0 : record.points.size()))
    std::abort();
  std::ostringstream out;
  pellum::WriteCalibrationRecord(record, out);
  std::istringstream again(out.str());
  pellum::CalibrationRecord back;
  if (!pellum::ReadCalibrationRecord(again, back, error) ||
      back.coefficients.a1 != record.coefficients.a1 ||
      back.coefficients.a2 != record.coefficients.a2 ||
      back.coefficients.a3 != record.coefficients.a3 ||
      back.points.size() != record.points.size() || back.hkls != record.hkls ||
      back.reference.standard != record.reference.standard ||
      back.reference.a != record.reference.a || back.reference.c != record.reference.c ||
      back.reference.wavelength != record.reference.wavelength ||
      back.reference.radiation != record.reference.radiation)
    std::abort();
  const pellum::FitQuality q =
      pellum::AssessFit(record.points, record.coefficients, record.straightLine);
  if (q.rows.size() != record.points.size())
    std::abort();
  return 0;
}
