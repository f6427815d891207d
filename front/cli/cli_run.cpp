#include "front/cli/cli_run.h"

#include <charconv>
#include <filesystem>
#include <vector>

#include "calib/calibration_points.h"
#include "calib/entry_validation.h"
#include "calib/fit.h"
#include "calib/fit_report.h"
#include "convert/input_dispatch.h"
#include "front/cli/chart_output.h"
#include "front/cli/console_messages.h"
#include "front/cli/find_silicon.h"
#include "front/cli/run_plan.h"
#include "ui/user_texts.h"

namespace pellum::cli {
namespace {

// The shortest text that reads back to the same double.
std::string Shortest(double value) {
  std::string text(32, '\0');
  const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
  text.resize(static_cast<std::size_t>(result.ptr - text.data()));
  return text;
}

void PrintCoefficients(const FitResult& fit, const CalibrationCoefficients& c, std::ostream& out) {
  out << "model " << (PrefersStraightLine(fit) ? "straight-line" : "quadratic") << '\n'
      << "a1 " << Shortest(c.a1) << '\n'
      << "a2 " << Shortest(c.a2) << '\n'
      << "a3 " << Shortest(c.a3) << '\n'
      << "delta " << Shortest(c.delta) << '\n';
}

bool ConvertFiles(const std::vector<InputPlan>& inputs, const CalibrationCoefficients& c,
                  std::ostream& out, std::ostream& err) {
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
    if (ConvertInputFile(path, c, messages, &stats) == 0) {
      messages.ShowMessage(path, texts::kCannotOpenFile, MessageKind::Error);
      allConverted = false;
    }
    if (stats.skippedLines > 0) {
      err << path << ": " << stats.skippedLines << (stats.skippedLines == 1 ? " line" : " lines")
          << " skipped (empty, or fewer fields than a data line needs)\n";
    }
  }
  return allConverted;
}

}  // namespace

int RunCalibration(const CliOptions& options, std::ostream& out, std::ostream& err) {
  if (options.findSiliconProfile)
    return RunFindSilicon(*options.findSiliconProfile, out, err);
  // Everything the command would write is checked against everything it reads first.
  const RunPlan plan = PlanRun(options);
  if (!plan.usageError.empty()) {
    err << "pellum-cli: " << plan.usageError << '\n';
    return kExitRefused;
  }
  // Found readings are the texts a user would type: from here on the road is --two-theta's.
  std::string list = options.twoThetaList.value_or("");
  if (options.twoThetaFromProfile &&
      !ReadingsFromProfile(*options.twoThetaFromProfile, out, err, list))
    return kExitRefused;
  EntryTexts entries;
  const std::vector<std::string> texts = SplitTwoThetaList(list);
  for (std::size_t i = 0; i < texts.size() && i < EntryTexts::kSlotCount; ++i) {
    entries.SetSlot(i, texts[i]);
  }
  const ParsedEntries values = ParseEntries(entries);
  ConsoleMessages warnings(err, err);
  if (!ValidateEntries(entries, values, warnings))
    return kExitRefused;

  std::vector<CalibrationPoint> points;
  if (BuildCalibrationPoints(values, points) == 0) {
    err << "pellum-cli: every reading is negative (not available): nothing to calibrate\n";
    return kExitRefused;
  }

  const CalibrationFit fit = FitCalibration(points);
  ConsoleMessages messages(out, err);
  // A calibration without its report still converts the files, but the run is not done.
  bool allWritten = WriteFitReport(fit.result, options.reportPath, err) == 0;
  if (!allWritten)
    messages.ShowMessage(options.reportPath, texts::kCannotWriteReport, MessageKind::Warning);
  const CalibrationCoefficients& coefficients = fit.coefficients;
  PrintCoefficients(fit.result, coefficients, out);

  std::ostream nowhere(nullptr);
  std::ostream& trace = options.trace ? out : nowhere;
  if (options.chartPath) {
    const ChartRequest request{
        *options.chartPath, options.chartWidth, options.chartHeight, points, coefficients, &trace};
    std::string error;
    if (!RenderChartFile(request, error)) {
      if (error != *options.chartPath)
        err << "pellum-cli: " << error << '\n';
      messages.ShowMessage(*options.chartPath, texts::kCannotWriteChart, MessageKind::Error);
      allWritten = false;
    }
  } else if (options.trace) {
    TraceChart(options.chartWidth, options.chartHeight, points, coefficients, trace);
  }

  const bool allConverted = ConvertFiles(plan.inputs, coefficients, out, err);
  return allConverted && allWritten ? kExitDone : kExitFileFailed;
}

}  // namespace pellum::cli
