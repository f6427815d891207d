#include "front/cli/reference_calibration.h"

#include <algorithm>
#include <cmath>

#include "calib/calibration_points.h"
#include "calib/fixed_notation.h"
#include "calib/parse_decimal.h"
#include "calib/shortest_text.h"
#include "front/cli/console_messages.h"
#include "front/cli/list_lines.h"
#include "refs/radiation.h"
#include "ui/user_texts.h"

namespace pellum::cli {
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

// The built-in table's refusals, in its order: too large, not a number, fewer than two
// different readings.
std::string_view RefusalOf(const std::vector<std::string>& texts,
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

// "Readings more than 1 degree from the actual 2 theta of their reflection:" and one line
// per far reading, as for the built-in table; empty when none is far.
std::string FarReadingsText(const Reference& reference, const std::vector<double>& values,
                            double maxOffset) {
  std::string lines;
  for (std::size_t i = 0; i < values.size(); ++i) {
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

}  // namespace

bool HasReferenceOptions(const CliOptions& o) {
  return o.standard || o.lattice || o.radiation || o.wavelength;
}

bool ChooseReferenceForReadings(const CliOptions& options, std::optional<Reference>& reference,
                                std::string& error) {
  Reference chosen;
  if (!ChooseReference(ReferenceRequestOf(options), chosen, error))
    return false;
  if (chosen.IsBuiltInTable()) {
    if (SplitTwoThetaList(options.twoThetaList.value_or("")).size() > chosen.lines.size()) {
      error = "--two-theta takes at most six readings";
      return false;
    }
    return true;
  }
  reference = std::move(chosen);
  return true;
}

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

bool ReferenceOfRecord(const CalibrationReference& named, Reference& reference,
                       std::string& error) {
  // Asked for as a user would, in the shortest texts that read back to the record's doubles.
  ReferenceRequest request;
  request.standard = named.standard;
  request.lattice = ShortestText(named.a);
  if (named.c > 0.0)
    *request.lattice += ',' + ShortestText(named.c);
  if (named.radiation.empty())
    request.wavelength = ShortestText(named.wavelength);
  else
    request.radiation = named.radiation;
  if (!ChooseReference(request, reference, error))
    return false;
  if (reference.wavelength != named.wavelength) {
    error = "the wavelength " + ShortestText(named.wavelength) + " is not that of " +
            named.radiation + ", " + ShortestText(reference.wavelength);
    return false;
  }
  return true;
}

bool RecomputeRecordLines(CalibrationReference& named, std::vector<RecordReferenceLine>& lines,
                          std::string& error) {
  Reference reference;
  if (!ReferenceOfRecord(named, reference, error))
    return false;
  named = CalibrationReferenceOf(reference);
  lines.clear();
  for (const ReferenceLine& line : reference.lines)
    lines.push_back({HklText(line), line.twoTheta});
  return true;
}

bool ObtainReferenceCalibration(const CliOptions& options, const Reference& reference,
                                RunCalibrationData& data, std::ostream& err) {
  std::vector<std::string> texts = SplitTwoThetaList(options.twoThetaList.value_or(""));
  if (texts.size() > reference.lines.size()) {
    err << "pellum-cli: --two-theta takes at most " << reference.lines.size() << " readings for "
        << reference.standard << ", one per line below 100 degrees\n";
    return false;
  }
  std::vector<double> values;
  for (const std::string& text : texts)
    values.push_back(ParseDecimal(text));
  values.resize(reference.lines.size(), -1.0);  // lines after the last reading: not read
  ConsoleMessages warnings(err, err);
  if (const std::string_view refusal = RefusalOf(texts, values); !refusal.empty()) {
    warnings.ShowMessage(refusal, texts::kWarningCaption, MessageKind::Warning);
    return false;
  }
  if (const std::string far = FarReadingsText(reference, values, options.maxOffset); !far.empty()) {
    warnings.ShowMessage(far, texts::kCheckReadingsCaption, MessageKind::Warning);
    return false;
  }
  data.points.clear();
  data.hklTexts.clear();
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (values[i] >= 0.0) {
      data.points.push_back({values[i], reference.lines[i].twoTheta, kPointSigma});
      data.hklTexts.push_back(HklText(reference.lines[i]));
    }
  }
  if (data.points.empty()) {
    err << "pellum-cli: every reading is negative (not available): nothing to calibrate\n";
    return false;
  }
  data.reference = CalibrationReferenceOf(reference);
  // Fitted, and its model chosen, as the built-in table's readings are.
  return FitPoints(options.modelRule, data, err);
}

}  // namespace pellum::cli
