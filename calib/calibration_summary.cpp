#include "calib/calibration_summary.h"

#include <algorithm>
#include <charconv>
#include <cmath>

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

// The hkl column is as wide as its widest entry, "3 1 1" at least, so that another
// reference's "1 0 10" keeps the numbers' columns in line.
void AppendResidualTable(std::string& out, const FitQuality& q) {
  std::size_t width = 5;
  for (const ResidualRow& r : q.rows)
    width = std::max(width, r.hkl.size());
  out += "hkl" + std::string(width - 3, ' ') + "  reading   actual calibrated  residual\n";
  for (std::size_t i = 0; i < q.rows.size(); ++i) {
    const ResidualRow& r = q.rows[i];
    const std::string_view hkl = r.hkl.empty() ? std::string_view("?") : r.hkl;
    out += hkl;
    out.append(width - hkl.size(), ' ');
    AppendFixed(out, r.reading, 4, 9);
    AppendFixed(out, r.actual, 4, 9);
    AppendFixed(out, r.calibrated, 5, 11);
    AppendFixed(out, r.residual, 5, 10);
    if (i == q.maxRow && q.rows.size() > 1)
      out += " *";
    out += '\n';
  }
}

std::string FixedText(double value, int decimals) {
  std::string text(400, '\0');
  const auto r = std::to_chars(text.data(), text.data() + text.size(), value,
                               std::chars_format::fixed, decimals);
  text.resize(r.ec == std::errc() ? static_cast<std::size_t>(r.ptr - text.data()) : 0);
  return text;
}

void AppendQualityTail(std::string& out, const FitQuality& q) {
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
}

}  // namespace

std::string ValueWithSu(double value, double su) {
  if (!std::isfinite(value))
    return ShortestText(value);
  if (!(su > 0.0) || !std::isfinite(su)) {
    std::string text(32, '\0');
    const auto r =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::general, 7);
    text.resize(static_cast<std::size_t>(r.ptr - text.data()));
    return text;
  }
  // Two significant digits of the su; a su that rounds up to 100 takes one place less.
  int decimals = 1 - static_cast<int>(std::floor(std::log10(su)));
  double digits = std::round(su * std::pow(10.0, decimals));
  if (digits >= 100.0) {
    --decimals;
    digits = std::round(su * std::pow(10.0, decimals));
  }
  if (decimals >= 0)
    return FixedText(value, decimals) + "(" + FixedText(digits, 0) + ")";
  // An su of ten or more: the value rounded to the su's last digit, written in full.
  const double unit = std::pow(10.0, -decimals);
  return FixedText(std::round(value / unit) * unit, 0) + "(" + FixedText(digits * unit, 0) + ")";
}

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
  AppendQualityTail(out, q);
  return out;
}

std::string DescribeCalibrationBriefly(const CalibrationCoefficients& c, const FitQuality& q,
                                       const ModelNotes& notes) {
  std::string out = "Model: ";
  out += q.straightLine ? "straight line" : "quadratic";
  out += ", by the rule ";
  out += ModelRuleName(notes.rule);
  out += '\n';
  const bool su = q.uncertaintiesDefined;
  out += "a1 = " + ValueWithSu(c.a1, su ? q.su[0] : NAN) + '\n';
  out += "a2 = " + ValueWithSu(c.a2, su ? q.su[1] : NAN) + '\n';
  out += q.straightLine ? std::string("a3 = 0 (fixed by the model)")
                        : "a3 = " + ValueWithSu(c.a3, su ? q.su[2] : NAN);
  out += '\n';
  if (!su)
    out += "(no uncertainties: as many readings as coefficients)\n";
  if (notes.term.defined) {
    out += "a3 significant: ";
    out += notes.term.significant ? "yes" : "no";
    out += " (t = " + FixedText(notes.term.t, 2) + (notes.term.significant ? " > " : " < ") +
           FixedText(notes.term.critical, 2) + ", 95 %)\n";
  }
  if (notes.nextRule != notes.rule)
    out += "The next fit follows the rule " + std::string(ModelRuleName(notes.nextRule)) + ".\n";
  AppendQualityTail(out, q);
  return out;
}

}  // namespace pellum
