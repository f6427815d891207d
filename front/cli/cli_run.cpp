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

// The listing's first line names the output by its full path, as the desktop program's
// dialog gives it: a relative argument is made absolute first.
std::string AbsolutePath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.string();
}

bool ConvertFiles(const std::vector<std::string>& files, const CalibrationCoefficients& c,
                  std::ostream& out, std::ostream& err) {
  ConsoleMessages messages(out, err);
  bool allConverted = true;
  for (const std::string& file : files) {
    const std::string path = AbsolutePath(file);
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
  EntryTexts entries;
  const std::vector<std::string> texts = SplitTwoThetaList(options.twoThetaList.value_or(""));
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
  WriteFitReport(fit.result, options.reportPath, out);
  const CalibrationCoefficients& coefficients = fit.coefficients;
  PrintCoefficients(fit.result, coefficients, out);

  std::ostream nowhere(nullptr);
  std::ostream& trace = options.trace ? out : nowhere;
  if (options.chartPath) {
    const ChartRequest request{
        *options.chartPath, options.chartWidth, options.chartHeight, points, coefficients, &trace};
    std::string error;
    if (!RenderChartFile(request, error)) {
      err << "pellum-cli: " << error << '\n';
      return kExitFileFailed;
    }
  } else if (options.trace) {
    TraceChart(options.chartWidth, options.chartHeight, points, coefficients, trace);
  }

  return ConvertFiles(options.files, coefficients, out, err) ? kExitDone : kExitFileFailed;
}

}  // namespace pellum::cli
