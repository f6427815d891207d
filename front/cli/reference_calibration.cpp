#include "front/cli/reference_calibration.h"

#include "calib/parse_decimal.h"
#include "calib/shortest_text.h"
#include "front/cli/console_messages.h"
#include "front/cli/list_lines.h"
#include "refs/reference_readings.h"
#include "ui/user_texts.h"

namespace pellum::cli {

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
  if (const std::string_view refusal = RefuseReferenceReadings(texts, values); !refusal.empty()) {
    warnings.ShowMessage(refusal, texts::kWarningCaption, MessageKind::Warning);
    return false;
  }
  if (const std::string far = DescribeFarReferenceReadings(reference, values, options.maxOffset);
      !far.empty()) {
    warnings.ShowMessage(far, texts::kCheckReadingsCaption, MessageKind::Warning);
    return false;
  }
  BuildReferencePoints(reference, values, data.points, data.hklTexts);
  if (data.points.empty()) {
    err << "pellum-cli: every reading is negative (not available): nothing to calibrate\n";
    return false;
  }
  data.reference = CalibrationReferenceOf(reference);
  // Fitted, and its model chosen, as the built-in table's readings are.
  return FitPoints(options.modelRule, data, err);
}

}  // namespace pellum::cli
