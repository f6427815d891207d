#include "calib/calibration_summary.h"

#include "calib/fixed_notation.h"
#include "calib/shortest_text.h"

namespace pellum {
namespace {

void AppendCoefficient(std::string& out, const char* name, double value, bool withSu, double su) {
  out += name;
  out += " = " + ShortestText(value);
  // The uncertainty on a line of its own keeps the panel narrow beside the chart.
  if (withSu)
    out += "\n     +/- " + ShortestText(su);
  out += '\n';
}

void AppendResidualTable(std::string& out, const FitQuality& q) {
  out += "hkl    reading   actual calibrated  residual\n";
  for (std::size_t i = 0; i < q.rows.size(); ++i) {
    const ResidualRow& r = q.rows[i];
    out += r.hkl.empty() ? std::string_view("?    ") : r.hkl;
    AppendFixed(out, r.reading, 4, 9);
    AppendFixed(out, r.actual, 4, 9);
    AppendFixed(out, r.calibrated, 5, 11);
    AppendFixed(out, r.residual, 5, 10);
    if (i == q.maxRow && q.rows.size() > 1)
      out += " *";
    out += '\n';
  }
}

}  // namespace

std::string DescribeCalibration(const CalibrationCoefficients& c, const FitQuality& q) {
  std::string out = "Model: ";
  out += q.straightLine ? "straight line" : "quadratic";
  out += '\n';
  const bool su = q.uncertaintiesDefined;
  AppendCoefficient(out, "a1", c.a1, su, q.su[0]);
  AppendCoefficient(out, "a2", c.a2, su, q.su[1]);
  AppendCoefficient(out, "a3", c.a3, su && !q.straightLine, q.su[2]);
  if (!su)
    out += "(no uncertainties: as many readings as coefficients)\n";
  out += '\n';
  AppendResidualTable(out, q);
  if (q.rows.size() > 1)
    out += "* the largest residual\n";
  out += "rms ";
  AppendFixed(out, q.rms, 5);
  out += ", max ";
  AppendFixed(out, q.maxAbsResidual, 5);
  out += "\nCalibrated range: " + ShortestText(q.rangeLow) + " to " + ShortestText(q.rangeHigh) +
         " degrees\n";
  return out;
}

}  // namespace pellum
