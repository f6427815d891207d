#include "front/cli/cli_run.h"

#include <filesystem>
#include <optional>
#include <vector>

#include "calib/calibration_record.h"
#include "calib/fit_report.h"
#include "convert/cif_export.h"
#include "convert/input_dispatch.h"
#include "front/cli/chart_output.h"
#include "front/cli/cli_calibration.h"
#include "front/cli/console_messages.h"
#include "front/cli/find_lines.h"
#include "front/cli/find_silicon.h"
#include "front/cli/list_lines.h"
#include "front/cli/reference_calibration.h"
#include "front/cli/run_plan.h"
#include "refs/reference_readings.h"
#include "ui/user_texts.h"

namespace pellum::cli {
namespace {

void SayLines(std::ostream& err, const std::string& path, std::uint64_t count, const char* what) {
  err << path << ": " << count << (count == 1 ? " line " : " lines ") << what << '\n';
}

// Why an input gave nothing where its converter said nothing: a name neither converter
// takes, or a file that is not there to be read. Empty when the converter said why itself.
std::string WhyNotConverted(const InputPlan& input) {
  if (input.outputPath.empty() && ConvertedOutputPath(input.inputPath).empty())
    return "not a listing (.pid) or profile (.txt)";
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(input.inputPath, error);
  if (status.type() == std::filesystem::file_type::not_found)
    return "no such file";
  if (status.type() == std::filesystem::file_type::directory)
    return "a folder, not a file";
  if (!error && status.type() != std::filesystem::file_type::regular)
    return "not a regular file";
  return "";
}

// Converts every input that may be; each one converted is added to converted, for the CIF.
bool ConvertFiles(const std::vector<InputPlan>& inputs, const CalibrationCoefficients& c,
                  const FitQuality& quality, std::vector<CifSource>& converted,
                  std::uint64_t& rowsOutside, std::ostream& out, std::ostream& err) {
  ConsoleMessages messages(out, err);
  bool allConverted = true;
  for (const InputPlan& input : inputs) {
    const std::string& path = input.inputPath;
    if (!input.refusal.empty()) {
      messages.ShowMessage(input.outputPath, input.refusal, MessageKind::Error);
      allConverted = false;
      continue;
    }
    ConversionStats stats;
    stats.rangeLow = quality.rangeLow;
    stats.rangeHigh = quality.rangeHigh;
    const FileStamp stamp = StampOf(path);
    if (ConvertInputFile(path, c, messages, &stats) == 0) {
      const std::string why = WhyNotConverted(input);
      messages.ShowMessage(why.empty() ? path : path + " (" + why + ")", texts::kCannotOpenFile,
                           MessageKind::Error);
      allConverted = false;
    } else {
      converted.push_back({path, input.outputPath, stamp});
    }
    if (stats.skippedLines > 0)
      SayLines(err, path, stats.skippedLines,
               "skipped (empty, or fewer fields than a data line needs)");
    rowsOutside += stats.rowsOutsideRange;
    if (stats.rowsOutsideRange > 0)
      SayLines(err, path, stats.rowsOutsideRange,
               "outside the calibrated range, converted by extrapolation");
  }
  return allConverted;
}

// The lines of a reference other than the built-in table, for the chart's labels; none for
// the table, whose six labels the chart knows.
std::vector<ReferenceMark> ReferenceMarksOf(const std::optional<Reference>& reference) {
  std::vector<ReferenceMark> marks;
  if (reference) {
    for (const ReferenceLine& line : reference->lines)
      marks.push_back({line.twoTheta, line.intensity});
  }
  return marks;
}

// Draws one chart file; a failure is said with its path.
bool DrawChartFile(const ChartRequest& request, MessageSink& messages, std::ostream& err) {
  std::string error;
  if (RenderChartFile(request, error))
    return true;
  if (error != request.path)
    err << "pellum-cli: " << error << '\n';
  messages.ShowMessage(request.path, texts::kCannotWriteChart, MessageKind::Error);
  return false;
}

}  // namespace

int RunCalibration(const CliOptions& options, std::ostream& out, std::ostream& err) {
  if (options.findSiliconProfile)
    return RunFindSilicon(options, out, err);
  if (options.findLinesProfile)
    return RunFindLines(options, out, err);
  if (options.listLines)
    return RunListLines(options, out, err);
  std::optional<Reference> reference;
  if (HasReferenceOptions(options)) {
    std::string error;
    if (!ChooseReferenceForReadings(options, reference, error)) {
      err << "pellum-cli: " << error << '\n';
      return kExitRefused;
    }
  }
  // Everything the command would write is checked against everything it reads first.
  const RunPlan plan = PlanRun(options);
  if (!plan.usageError.empty()) {
    err << "pellum-cli: " << plan.usageError << '\n';
    return kExitRefused;
  }
  // Found readings are the texts a user would type: from here on the road is --two-theta's.
  CliOptions readings = options;
  if (options.twoThetaFromProfile) {
    std::string list;
    const bool found = reference ? ReadingsFromProfileOf(options, *reference, out, err, list)
                                 : ReadingsFromProfile(options, out, err, list);
    if (!found)
      return kExitRefused;
    readings.twoThetaList = list;
  }
  RunCalibrationData data;
  if (reference) {
    if (!ObtainReferenceCalibration(readings, *reference, data, err))
      return kExitRefused;
    AssessCalibration(data);
  } else if (!ObtainCalibration(readings, data, err)) {
    return kExitRefused;
  }
  // A record of another reference draws its charts with that reference's lines.
  if (!reference && !data.reference.IsBuiltInTable()) {
    std::string error;
    reference.emplace();
    if (!ReferenceOfRecord(data.reference, *reference, error)) {
      err << "pellum-cli: " << error << '\n';
      return kExitRefused;
    }
  }

  ConsoleMessages messages(out, err);
  bool allWritten = true;
  if (data.fitted) {
    // A calibration without its report still converts the files, but the run is not done.
    allWritten = WriteFitReport(data.result, options.reportPath, err) == 0;
    if (!allWritten)
      messages.ShowMessage(options.reportPath, texts::kCannotWriteReport, MessageKind::Warning);
  }
  PrintCalibration(data, out);
  if (options.calibrationOutPath &&
      !WriteCalibrationRecordFile(*options.calibrationOutPath, RecordOf(data))) {
    messages.ShowMessage(*options.calibrationOutPath, texts::kCannotWriteRecord,
                         MessageKind::Error);
    allWritten = false;
  }

  const CalibrationCoefficients& coefficients = data.coefficients;
  std::ostream nowhere(nullptr);
  std::ostream& trace = options.trace ? out : nowhere;
  const std::vector<ReferenceMark> marks = ReferenceMarksOf(reference);
  const std::vector<std::string> title = ReferenceTitleLines(data.reference);
  if (options.chartPath) {
    ChartRequest request{*options.chartPath, options.chartWidth, options.chartHeight,
                         data.points,        coefficients,       &trace};
    request.referenceMarks = marks;
    request.referenceTitle = title;
    if (!DrawChartFile(request, messages, err))
      allWritten = false;
  } else if (options.trace) {
    TraceChart(options.chartWidth, options.chartHeight, data.points, coefficients, marks, trace);
  }

  std::vector<CifSource> converted;
  std::uint64_t rowsOutside = 0;
  const bool allConverted =
      ConvertFiles(plan.inputs, coefficients, data.quality, converted, rowsOutside, out, err);
  // Drawn after the conversions: it notes the rows they converted by extrapolation.
  if (options.correctionChartPath) {
    ChartRequest request{*options.correctionChartPath,
                         options.chartWidth,
                         options.chartHeight,
                         data.points,
                         coefficients,
                         &trace};
    request.correction = true;
    request.quality = &data.quality;
    request.rowsOutsideRange = rowsOutside;
    request.hklTexts = data.hklTexts;
    request.referenceTitle = title;
    if (!DrawChartFile(request, messages, err))
      allWritten = false;
  }
  // The CIF holds what was converted: a file that failed has no block in it.
  if (options.cifPath && !WriteCifFile(*options.cifPath,
                                       {data.straightLine, coefficients, data.quality, data.rule,
                                        data.recordPath, data.reference},
                                       converted, messages))
    allWritten = false;
  return allConverted && allWritten ? kExitDone : kExitFileFailed;
}

}  // namespace pellum::cli
