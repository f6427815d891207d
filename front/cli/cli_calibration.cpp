#include "front/cli/cli_calibration.h"

#include "calib/calibration_points.h"
#include "calib/calibration_record.h"
#include "calib/calibration_record_check.h"
#include "calib/entry_validation.h"
#include "calib/reading_offsets.h"
#include "calib/shortest_text.h"
#include "front/cli/console_messages.h"
#include "front/cli/reference_calibration.h"
#include "io/input_file.h"
#include "ui/user_texts.h"

namespace pellum::cli {
namespace {

bool RefuseNonCalibration(const CalibrationCoefficients& c, std::ostream& err) {
  if (IsCalibration(c))
    return true;
  ConsoleMessages(err, err).ShowMessage(texts::kNoCalibration, texts::kWarningCaption,
                                        MessageKind::Warning);
  return false;
}

bool FitReadings(const CliOptions& options, RunCalibrationData& data, std::ostream& err) {
  EntryTexts entries;
  const std::vector<std::string> texts = SplitTwoThetaList(options.twoThetaList.value_or(""));
  for (std::size_t i = 0; i < texts.size() && i < EntryTexts::kSlotCount; ++i)
    entries.SetSlot(i, texts[i]);
  const ParsedEntries values = ParseEntries(entries);
  ConsoleMessages warnings(err, err);
  if (!ValidateEntries(entries, values, warnings))
    return false;
  // Before the fit, as the desktop program asks: a batch job cannot be asked, so it stops.
  const std::vector<FarReading> far = FindFarReadings(values, options.maxOffset);
  if (!far.empty()) {
    warnings.ShowMessage(DescribeFarReadings(far, options.maxOffset), texts::kCheckReadingsCaption,
                         MessageKind::Warning);
    return false;
  }
  if (BuildCalibrationPoints(values, data.points) == 0) {
    err << "pellum-cli: every reading is negative (not available): nothing to calibrate\n";
    return false;
  }
  return FitPoints(options.modelRule, data, err);
}

bool ReadRecord(const std::string& path, double maxOffset, RunCalibrationData& data,
                std::ostream& err) {
  InputFile file;
  CalibrationRecord record;
  std::string why = "cannot be opened";
  const bool read = file.Open(path) && ReadCalibrationRecord(file.Stream(), record, why);
  if (read && record.reference.IsBuiltInTable()) {
    why = CheckCalibrationRecord(record, maxOffset);
  } else if (read) {
    // Another standard's lines are computed again from the record's cell and wavelength:
    // an edited cell, wavelength or position no longer meets its points.
    std::vector<RecordReferenceLine> lines;
    if (RecomputeRecordLines(record.reference, lines, why))
      why = CheckCalibrationRecord(record, maxOffset, lines);
  }
  if (!read || !why.empty()) {
    err << "pellum-cli: cannot use the calibration " << path << ": " << why << '\n';
    return false;
  }
  data.straightLine = record.straightLine;
  data.rule = record.rule;
  data.coefficients = record.coefficients;
  data.points = record.points;
  data.hklTexts = record.hkls;
  data.reference = record.reference;
  data.recordPath = path;
  // The kept readings say, as a fit's do, whether they support the quadratic term.
  data.quadraticTerm = TestQuadraticTerm(data.points, FitCalibration(data.points).result);
  return RefuseNonCalibration(data.coefficients, err);
}

}  // namespace

bool FitPoints(ModelRule rule, RunCalibrationData& data, std::ostream& err) {
  const CalibrationFit fit = FitCalibration(data.points);
  data.fitted = true;
  data.result = fit.result;
  data.rule = rule;
  data.quadraticTerm = TestQuadraticTerm(data.points, fit.result);
  data.straightLine = RuleChoosesStraightLine(data.rule, fit.result, data.quadraticTerm);
  data.coefficients = ModelCoefficients(fit.result, data.straightLine);
  return RefuseNonCalibration(data.coefficients, err);
}

bool ObtainCalibration(const CliOptions& options, RunCalibrationData& data, std::ostream& err) {
  const bool obtained = options.calibrationPath
                            ? ReadRecord(*options.calibrationPath, options.maxOffset, data, err)
                            : FitReadings(options, data, err);
  if (obtained)
    AssessCalibration(data);
  return obtained;
}

void AssessCalibration(RunCalibrationData& data) {
  data.quality = AssessFit(data.points, data.coefficients, data.straightLine);
  for (std::size_t i = 0; i < data.hklTexts.size() && i < data.quality.rows.size(); ++i)
    data.quality.rows[i].hkl = data.hklTexts[i];
}

CalibrationRecord RecordOf(const RunCalibrationData& data) {
  return {data.straightLine,       data.coefficients, data.quality.uncertaintiesDefined,
          data.quality.covariance, data.points,       data.rule,
          data.reference,          data.hklTexts};
}

void PrintCalibration(const RunCalibrationData& data, std::ostream& out) {
  const CalibrationCoefficients& c = data.coefficients;
  out << "model " << (data.straightLine ? "straight-line" : "quadratic") << '\n';
  if (data.rule != ModelRule::ChiSquare)
    out << "rule " << ModelRuleName(data.rule) << '\n';
  out << "a1 " << ShortestText(c.a1) << '\n'
      << "a2 " << ShortestText(c.a2) << '\n'
      << "a3 " << ShortestText(c.a3) << '\n'
      << "delta " << ShortestText(c.delta) << '\n';
  const FitQuality& q = data.quality;
  for (const ResidualRow& r : q.rows) {
    std::string hkl(r.hkl);
    // "3 1 1" -> "311"; "1 0 10" stays, as it would read otherwise as 1 0 1 0.
    const bool oneDigitEach = hkl.size() == 5 && hkl[1] == ' ' && hkl[3] == ' ';
    if (oneDigitEach)
      std::erase(hkl, ' ');
    out << "residual " << hkl << ' ' << ShortestText(r.reading) << ' ' << ShortestText(r.actual)
        << ' ' << ShortestText(r.calibrated) << ' ' << ShortestText(r.residual) << '\n';
  }
  out << "rms " << ShortestText(q.rms) << '\n' << "max " << ShortestText(q.maxAbsResidual) << '\n';
  if (q.uncertaintiesDefined) {
    for (int i = 0; i < q.parameterCount; ++i)
      out << "su_a" << i + 1 << ' ' << ShortestText(q.su[static_cast<std::size_t>(i)]) << '\n';
  }
  if (data.quadraticTerm.defined) {
    out << "a3_significant " << (data.quadraticTerm.significant ? "yes " : "no ")
        << ShortestText(data.quadraticTerm.t) << '\n';
  }
  out << "range " << ShortestText(q.rangeLow) << ' ' << ShortestText(q.rangeHigh) << '\n';
}

}  // namespace pellum::cli
