#include "convert/cif_blocks.h"

#include <array>
#include <cmath>

#include "convert/cif_text.h"
#include "convert/field_number.h"
#include "convert/line_reader.h"
#include "convert/listing_converter.h"
#include "convert/profile_converter.h"
#include "convert/row_block.h"
#include "convert/token.h"
#include "ui/version.h"

namespace pellum {
namespace {

void Item(std::ostream& out, std::string_view name, std::string_view value) {
  out << name << ' ';
  WriteCifValue(out, value);
  out << '\n';
}

std::string LoopHeader(std::initializer_list<std::string_view> names) {
  std::string header = "loop_\n";
  for (std::string_view name : names)
    header.append(name).push_back('\n');
  return header;
}

void Loop(std::ostream& out, std::initializer_list<std::string_view> names) {
  out << LoopHeader(names);
}

// A loop without a row is not CIF: a file without data rows says so in a comment instead.
bool FinishRows(std::ostream& out, std::string& rows, std::uint64_t count) {
  if (count == 0)
    rows += "# no data rows\n";
  return FlushRowBlock(out, rows);
}

void WriteLinks(std::ostream& out, std::string_view ownDescription,
                const std::vector<CifLink>& others) {
  Loop(out, {"_audit_link.block_code", "_audit_link.block_description"});
  out << ". ";
  WriteCifValue(out, ownDescription);
  out << '\n';
  for (const CifLink& link : others) {
    WriteCifValue(out, link.blockCode);
    out << ' ';
    WriteCifValue(out, link.description);
    out << '\n';
  }
}

void WriteBlockStart(std::ostream& out, std::string_view code) {
  out << "\ndata_" << code << '\n';
  Item(out, "_audit.block_code", code);
}

std::string Coefficient(std::string_view name, double value, bool suDefined, double su) {
  std::string line(name);
  line += " = " + CifNumber(value);
  if (suDefined)
    line += " (su " + CifNumber(su) + ")";
  return line;
}

// What a rule other than the report's did, after its name.
std::string RuleDescription(ModelRule rule) {
  switch (rule) {
    case ModelRule::Line:
      return ": the straight line, always";
    case ModelRule::Quadratic:
      return ": the quadratic, always";
    case ModelRule::Significant:
      return ": the quadratic only when a3 is significant at 95 % (F-test)";
    case ModelRule::ChiSquare:
      break;
  }
  return ": the smaller chi-square";
}

// "6 silicon reflections" with the built-in table, "3 reflections of silicon SRM 640e".
std::string ReflectionsUsed(std::size_t count, const CalibrationReference& reference) {
  if (reference.IsBuiltInTable())
    return std::to_string(count) + " silicon reflections";
  return std::to_string(count) + " reflections of " + reference.material;
}

// "5.431179 angstrom" or "4.759091, c = 12.991779 angstrom (hexagonal axes)".
std::string CellText(const CalibrationReference& reference) {
  std::string text = "a = " + CifNumber(reference.a);
  if (reference.c > 0.0)
    text += ", c = " + CifNumber(reference.c) + " angstrom (hexagonal axes)";
  else
    text += " angstrom";
  return text;
}

// "Cr K-alpha1, wavelength 2.289726 angstrom", or a wavelength of the user's.
std::string RadiationText(const CalibrationReference& reference) {
  const std::string wavelength = "wavelength " + CifNumber(reference.wavelength) + " angstrom";
  if (reference.radiationLine.empty())
    return "a " + wavelength + " given by the user";
  return reference.radiationLine + ", " + wavelength;
}

// The tube's line in the CIF's Siegbahn notation: "cr" -> "Cr K\a~1~" (K-alpha1, the only
// line the references use). A wavelength of the user's names no line.
std::string RadiationType(std::string_view radiation) {
  std::string element(radiation);
  if (!element.empty() && element[0] >= 'a' && element[0] <= 'z')
    element[0] = static_cast<char>(element[0] - 'a' + 'A');
  return element + " K\\a~1~";
}

void WriteEquation(std::ostream& out, const CifCalibration& calibration) {
  const FitQuality& q = calibration.quality;
  const CalibrationCoefficients& c = calibration.coefficients;
  out << "_pd_calibration.conversion_eqn";
  CifTextField field(out);
  field.Line("2theta(actual) = a1 + a2 * x + a3 * x^2, x = 2theta(nominal), the two-theta");
  field.Line("read off the film, in degrees; evaluated as (a2 * x + a1) + (a3 * x) * x");
  const std::string model =
      std::string("model ") + (calibration.straightLine ? "straight-line" : "quadratic");
  // A record applied later was fitted elsewhere: the CIF says where it came from, not that
  // a fit was made here.
  if (calibration.recordPath.empty())
    field.Line(model + ", weighted least squares over " +
               ReflectionsUsed(q.rows.size(), calibration.reference));
  else
    field.Line(model + ", read from the calibration record " + calibration.recordPath + " (its " +
               ReflectionsUsed(q.rows.size(), calibration.reference) + " shown below)");
  if (calibration.rule != ModelRule::ChiSquare)
    field.Line(std::string("model chosen by the rule ") +
               std::string(ModelRuleName(calibration.rule)) + RuleDescription(calibration.rule));
  const bool su = q.uncertaintiesDefined;
  field.Line(Coefficient("a1", c.a1, su, q.su[0]));
  field.Line(Coefficient("a2", c.a2, su, q.su[1]));
  field.Line(calibration.straightLine ? std::string("a3 = 0 (fixed by the model)")
                                      : Coefficient("a3", c.a3, su, q.su[2]));
  if (!su)
    field.Line("su not defined: no more readings than coefficients");
  field.End();
}

void WriteResidualTable(std::ostream& out, const FitQuality& q,
                        const CalibrationReference& reference) {
  out << "_pd_calibration.special_details";
  CifTextField field(out);
  if (reference.IsBuiltInTable()) {
    field.Line("Silicon (Si) internal standard. For each reflection used: its hkl, the");
  } else {
    field.Line("Internal standard " + reference.material + " (" + reference.standard + "), " +
               CellText(reference) + ";");
    field.Line(RadiationText(reference) + ". The reference two-theta of each");
    field.Line("line is Bragg's law at that wavelength for the cell's spacing.");
    field.Line("For each reflection used: its hkl, the");
  }
  field.Line("two-theta read off the film (nominal), the reference two-theta (actual), the");
  field.Line("equation at the reading (calibrated) and actual - calibrated (residual).");
  for (const ResidualRow& r : q.rows) {
    field.Line("reflection " + std::string(r.hkl) + " nominal " + CifNumber(r.reading) +
               " actual " + CifNumber(r.actual) + " calibrated " + CifNumber(r.calibrated) +
               " residual " + CifNumber(r.residual));
  }
  field.Line("rms " + CifNumber(q.rms));
  const std::string_view largest = q.rows.empty() ? "" : q.rows[q.maxRow].hkl;
  field.Line("max " + CifNumber(q.maxAbsResidual) + " (" + std::string(largest) + ")");
  field.Line("range " + CifNumber(q.rangeLow) + " " + CifNumber(q.rangeHigh));
  field.End();
}

// The su of one reading, estimated from the scatter of the residuals about the fit:
// sqrt(sum of residual^2 / (readings - coefficients)), every reading weighing the same.
// Not a number without a degree of freedom.
double ReadingUncertainty(const FitQuality& q) {
  if (!q.uncertaintiesDefined)
    return NAN;
  double sum = 0.0;
  for (const ResidualRow& r : q.rows)
    sum += r.residual * r.residual;
  return std::sqrt(sum / static_cast<double>(q.rows.size() - q.parameterCount));
}

void WriteDataBlockHead(std::ostream& out, const CifDataBlock& block) {
  WriteBlockStart(out, block.code);
  WriteLinks(out, block.description,
             {{std::string(kCifCalibrationBlock), "the calibration that corrected its two-theta"}});
  Item(out, "_pd_calib_xcoord_overall.id", block.calibrationId);
  if (block.wavelength > 0.0)
    Item(out, "_diffrn_radiation_wavelength.value", CifNumber(block.wavelength));
}

// The standard's phase: its name, and with another reference its cell and the wavelength the
// lines were computed for.
void WriteStandardPhase(std::ostream& out, const CalibrationReference& reference) {
  if (reference.IsBuiltInTable()) {
    Item(out, "_pd_phase.id", "Si");
    Item(out, "_pd_phase.name", "silicon");
    return;
  }
  Item(out, "_pd_phase.id", reference.standard);
  Item(out, "_pd_phase.name", reference.material);
  const bool hexagonal = reference.c > 0.0;
  const std::string a = CifNumber(reference.a);
  const std::string c = hexagonal ? CifNumber(reference.c) : a;
  Item(out, "_cell.length_a", a);
  Item(out, "_cell.length_b", a);
  Item(out, "_cell.length_c", c);
  Item(out, "_cell.angle_alpha", "90");
  Item(out, "_cell.angle_beta", "90");
  Item(out, "_cell.angle_gamma", hexagonal ? "120" : "90");
  Item(out, "_diffrn_radiation_wavelength.value", CifNumber(reference.wavelength));
  if (!reference.radiation.empty())
    Item(out, "_diffrn_radiation.type", RadiationType(reference.radiation));
}

void AppendNumber(std::string& row, double value) {
  row.push_back(' ');
  row += CifNumber(value);
}

}  // namespace

std::string CifCalibrationIdOf(const CalibrationReference& reference) {
  if (reference.IsBuiltInTable())
    return std::string(kCifCalibrationId);
  return reference.standard + "_internal_standard";
}

void WriteCifCalibrationBlock(std::ostream& out, const CifCalibration& calibration,
                              const std::vector<CifLink>& others) {
  const CalibrationReference& reference = calibration.reference;
  const std::string standard = reference.IsBuiltInTable() ? "silicon" : reference.material;
  const std::string phaseId = reference.IsBuiltInTable() ? "Si" : reference.standard;
  out << kCifMagic << "# Written by Pellum: a Guinier film's two-theta calibrated against\n"
      << "# " << standard << " as internal standard, and the data converted with it.\n";
  WriteBlockStart(out, kCifCalibrationBlock);
  Item(out, "_audit.creation_method", std::string("Pellum ") + std::string(kVersion));
  Loop(out, {"_audit_conform.dict_name", "_audit_conform.dict_version"});
  out << "CIF_CORE ?\nCIF_POW 2.5.0\n";
  WriteLinks(out,
             "calibration of the film's two-theta against the " + standard + " internal standard",
             others);
  WriteStandardPhase(out, reference);
  Item(out, "_pd_calib_xcoord_overall.id", CifCalibrationIdOf(reference));
  Item(out, "_pd_calib_xcoord_overall.phase_id", phaseId);
  WriteEquation(out, calibration);
  WriteResidualTable(out, calibration.quality, reference);

  const std::string su = CifNumber(ReadingUncertainty(calibration.quality));
  Loop(out, {"_pd_calib_xcoord.nominal_2theta", "_pd_calib_xcoord.nominal_2theta_su",
             "_pd_calib_xcoord.actual_2theta"});
  for (const ResidualRow& r : calibration.quality.rows)
    out << CifNumber(r.reading) << ' ' << su << ' ' << CifNumber(r.actual) << '\n';
}

ConversionOutcome WriteCifProfileBlock(std::istream& in, std::ostream& out,
                                       const CifDataBlock& block,
                                       const CalibrationCoefficients& coefficients) {
  // The maximum comes from a first pass, exactly as the converter finds it.
  double maximum = 0.0;
  const bool headed = FindProfileMaximum(in, maximum);
  if (in.bad())
    return ConversionOutcome::ReadFailed;
  if (!headed)
    return ConversionOutcome::InvalidFormat;
  in.clear();
  in.seekg(0, std::ios::beg);
  std::string line;
  if (!ReadTextLine(in, line, kKeptLineBytes))
    return in.bad() ? ConversionOutcome::ReadFailed : ConversionOutcome::InvalidFormat;

  WriteDataBlockHead(out, block);
  out << "_diffrn.special_details";
  CifTextField field(out);
  field.Line(line);
  field.End();

  std::string rows;
  rows.reserve(kRowBlockSize + 256);
  const std::string header =
      LoopHeader({"_pd_data.point_id", "_pd_meas.2theta_scan", "_pd_proc.2theta_corrected",
                  "_pd_meas.intensity_total", "_pd_proc.intensity_norm"});
  std::uint64_t point = 0;
  std::array<std::string_view, 2> fields;
  while (ReadTextLine(in, line, kKeptLineBytes)) {
    // The rows the converter skips (fewer than two fields) are skipped here too.
    if (SplitLineTokens(line, fields) != fields.size())
      continue;
    const double reading = ParseFieldNumber(fields[0]);
    const double intensity = ParseFieldNumber(fields[1]);
    if (point == 0)
      rows += header;
    rows += std::to_string(++point);
    AppendNumber(rows, reading);
    AppendNumber(rows, CalibratedTwoTheta(coefficients, reading));
    AppendNumber(rows, intensity);
    AppendNumber(rows, intensity / maximum * 100.0);
    rows.push_back('\n');
    if (rows.size() >= kRowBlockSize && !FlushRowBlock(out, rows))
      return ConversionOutcome::WriteFailed;
  }
  if (in.bad())
    return ConversionOutcome::ReadFailed;
  return FinishRows(out, rows, point) ? ConversionOutcome::Converted
                                      : ConversionOutcome::WriteFailed;
}

ConversionOutcome WriteCifPeakBlock(std::istream& in, std::ostream& out, const CifDataBlock& block,
                                    const CalibrationCoefficients& coefficients) {
  WriteDataBlockHead(out, block);
  out << "_diffrn.special_details";
  CifTextField field(out);
  std::string line;
  std::string token;
  bool headed = false;
  while (!headed && ReadTextLine(in, line, kKeptLineBytes)) {
    field.Line(line);
    headed = ExtractToken(0, line, token) == 1 && EndsListingHeader(token);
  }
  if (!headed)
    return in.bad() ? ConversionOutcome::ReadFailed : ConversionOutcome::InvalidFormat;
  field.End();

  std::string rows;
  rows.reserve(kRowBlockSize + 256);
  const std::string header =
      LoopHeader({"_pd_peak.id", "_pd_peak.2theta_maximum", "_pd_peak.intensity"});
  std::uint64_t peak = 0;
  std::array<std::string_view, 5> fields;
  while (ReadTextLine(in, line, kKeptLineBytes)) {
    if (SplitLineTokens(line, fields) != fields.size())
      continue;
    if (peak == 0)
      rows += header;
    rows += std::to_string(++peak);
    AppendNumber(rows, CalibratedTwoTheta(coefficients, ParseFieldNumber(fields[0])));
    AppendNumber(rows, ParseFieldNumber(fields[4]));
    rows.push_back('\n');
    if (rows.size() >= kRowBlockSize && !FlushRowBlock(out, rows))
      return ConversionOutcome::WriteFailed;
  }
  if (in.bad())
    return ConversionOutcome::ReadFailed;
  return FinishRows(out, rows, peak) ? ConversionOutcome::Converted
                                     : ConversionOutcome::WriteFailed;
}

}  // namespace pellum
