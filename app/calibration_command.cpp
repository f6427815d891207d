#include "app/calibration_command.h"

#include <filesystem>
#include <span>

#include "app/reference_setting.h"
#include "calib/calibration_points.h"
#include "calib/entry_validation.h"
#include "calib/fit.h"
#include "calib/fit_model.h"
#include "calib/fit_report.h"
#include "calib/parse_decimal.h"
#include "calib/reading_offsets.h"
#include "refs/reference_readings.h"
#include "ui/user_texts.h"

namespace pellum {
namespace {

// Readings far from their reflections are asked about before the fit; false when the user
// chose to edit them.
bool ReadingsAccepted(const ParsedEntries& values, Platform& platform) {
  const std::vector<FarReading> far = FindFarReadings(values, kDefaultMaxOffset);
  return far.empty() ||
         platform.AskQuestion(DescribeFarReadings(far, kDefaultMaxOffset),
                              texts::kCheckReadingsCaption, texts::kUseAnyway, texts::kEdit);
}

// The report's full path, as the user is shown it: the current folder's "fitdata.txt".
std::string ShownPath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path shown = std::filesystem::absolute(path, error);
  return error ? path : shown.string();
}

void WriteReport(const FitResult& result, AppState& state, Platform& platform,
                 std::ostream& console) {
  const std::string shown = ShownPath(state.reportPath);
  if (WriteFitReport(result, state.reportPath, console) == 0) {
    state.reportWrittenPath = shown;
    platform.ShowStatus(std::string(texts::kReportSavedPrefix) + shown);
    return;
  }
  // The calibration goes on without its report, but the user is told where it is not.
  state.reportWrittenPath.clear();
  platform.ShowStatus(std::string(texts::kCannotWriteReport) + " " + shown);
  platform.ShowMessage(shown, texts::kCannotWriteReport, MessageKind::Warning);
}

// What the dialog's readings came to: points to fit, none at all (every reading negative:
// the user leaves without calibrating), or a refusal already said (the dialog comes back).
enum class Readings { Points, None, Refused };

// The six readings of the built-in table, checked and paired with its reflections.
Readings DefaultReadings(AppState& state, Platform& platform,
                         std::vector<CalibrationPoint>& points) {
  const ParsedEntries values = ParseEntries(state.entries);
  if (!ValidateEntries(state.entries, values, platform) || !ReadingsAccepted(values, platform))
    return Readings::Refused;
  return BuildCalibrationPoints(values, points) == 0 ? Readings::None : Readings::Points;
}

// The fitted points of another reference: their lines' names and the chart's marks.
struct ReferenceFit {
  CalibrationReference reference;
  std::vector<std::string> hklTexts;
  std::vector<ReferenceMark> marks;
};

// The readings of another reference, one per line, checked as pellum-cli checks them with
// a reference (and the far ones asked about, as the built-in table's are).
Readings OtherReadings(AppState& state, Platform& platform, std::vector<CalibrationPoint>& points,
                       ReferenceFit& fit) {
  Reference reference;
  std::string error;
  if (!ChooseReference(RequestOf(state.reference), reference, error)) {
    platform.ShowMessage(error, texts::kWarningCaption, MessageKind::Warning);
    return Readings::Refused;
  }
  const std::vector<std::string>& texts = state.reference.ReadingsOf(reference.lines.size());
  std::vector<double> values;
  for (const std::string& text : texts)
    values.push_back(ParseDecimal(text));
  if (const std::string_view refusal = RefuseReferenceReadings(texts, values); !refusal.empty()) {
    platform.ShowMessage(refusal, texts::kWarningCaption, MessageKind::Warning);
    return Readings::Refused;
  }
  const std::string far = DescribeFarReferenceReadings(reference, values, kDefaultMaxOffset);
  if (!far.empty() &&
      !platform.AskQuestion(far, texts::kCheckReadingsCaption, texts::kUseAnyway, texts::kEdit))
    return Readings::Refused;
  if (BuildReferencePoints(reference, values, points, fit.hklTexts) == 0)
    return Readings::None;
  fit.reference = CalibrationReferenceOf(reference);
  for (const ReferenceLine& line : reference.lines)
    fit.marks.push_back({line.twoTheta, line.intensity});
  return Readings::Points;
}

// A new choice of reference is kept for the next run; a setting that cannot be written is
// said once a run, as the program works as well without it.
void KeepReferenceChoice(AppState& state, Platform& platform, const std::string& before) {
  if (state.reference.Key() == before)
    return;
  if (!WriteReferenceSetting(state.referenceSettingPath, state.reference) &&
      !state.referenceSettingFailed) {
    state.referenceSettingFailed = true;
    platform.ShowMessage(state.referenceSettingPath, texts::kCannotKeepReference,
                         MessageKind::Warning);
  }
}

}  // namespace

int RunCalibrationCommand(AppState& state, Platform& platform, std::ostream& console) {
  while (true) {
    const std::string chosenBefore = state.reference.Key();
    platform.ShowEntryDialog(state.entries, state.reference, state.inputPath);
    KeepReferenceChoice(state, platform, chosenBefore);
    std::vector<CalibrationPoint> points;
    ReferenceFit other;
    const Readings readings = state.reference.IsDefault()
                                  ? DefaultReadings(state, platform, points)
                                  : OtherReadings(state, platform, points, other);
    if (readings == Readings::Refused)
      continue;
    if (readings == Readings::None) {
      // Every reading "-1": the user leaves without calibrating; the coefficients stay.
      state.points.clear();
      state.pointCount = 0;
      return 0;
    }
    const CalibrationFit fit = FitCalibration(points);
    const QuadraticTermTest term = TestQuadraticTerm(points, fit.result);
    const bool straightLine = RuleChoosesStraightLine(state.modelRule, fit.result, term);
    const CalibrationCoefficients coefficients = ModelCoefficients(fit.result, straightLine);
    if (!IsCalibration(coefficients)) {
      // Refused before anything is written or changed: the last calibration stays whole.
      platform.ShowMessage(texts::kNoCalibration, texts::kWarningCaption, MessageKind::Warning);
      continue;
    }

    state.points = points;
    state.pointCount = static_cast<int>(points.size());
    state.coefficients = coefficients;
    state.calibrated = true;
    state.quality = AssessFit(points, coefficients, straightLine);
    state.calibrationReference = std::move(other.reference);
    state.hklTexts = std::move(other.hklTexts);
    state.referenceMarks = std::move(other.marks);
    // The residual rows name another reference's lines; the state keeps the names.
    for (std::size_t i = 0; i < state.hklTexts.size() && i < state.quality.rows.size(); ++i)
      state.quality.rows[i].hkl = state.hklTexts[i];
    state.calibrationRule = state.modelRule;
    state.quadraticTerm = term;
    state.fittedPoints = std::move(points);
    // The chart, the panel and the commands show the new calibration from here on, through
    // the report's warning and the file dialog that follow.
    platform.CalibrationChanged();
    // The report is written before the file dialog, so it exists even when the user then
    // cancels it.
    WriteReport(fit.result, state, platform, console);
    return state.pointCount;
  }
}

}  // namespace pellum
