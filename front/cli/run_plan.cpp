#include "front/cli/run_plan.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>

#include "calib/entry_texts.h"
#include "convert/input_dispatch.h"
#include "convert/output_naming.h"
#include "front/cli/chart_output.h"
#include "ui/user_texts.h"

namespace pellum::cli {
namespace {

namespace fs = std::filesystem;

// Says nothing: a name the converter refuses is refused again, with its message, when the
// conversion runs.
class SilentMessages : public MessageSink {
 public:
  void ShowMessage(std::string_view, std::string_view, MessageKind) override {}
};

// The listing's first line names the output by its full path, as the desktop program's
// dialog gives it: a relative argument is made absolute first.
std::string AbsolutePath(const std::string& path) {
  std::error_code error;
  const fs::path absolute = fs::absolute(path, error);
  return error ? path : absolute.string();
}

// The file a path names once every link on the way is followed, so that two spellings of
// one file, or a link and its target, compare equal.
std::string ResolvedFile(const std::string& path) {
  std::error_code error;
  const fs::path resolved = fs::weakly_canonical(fs::absolute(path, error), error);
  return error ? AbsolutePath(path) : resolved.string();
}

std::string OutputOf(const std::string& inputPath) {
  std::string extension = TakeExtension(inputPath);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  const char* outputExtension = extension == ".pid" ? ".dat" : extension == ".txt" ? ".pro" : "";
  SilentMessages quiet;
  std::string baseName;
  if (*outputExtension == '\0' || MakeBaseName(inputPath, baseName, quiet) == 0)
    return "";
  return MakeOutputPath(baseName, outputExtension);
}

std::string LowerCaseExtension(const std::string& path) {
  const std::string name = fs::path(path).filename().string();
  const std::size_t dot = name.rfind('.');
  std::string extension = dot == std::string::npos ? "" : name.substr(dot);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

std::string CheckReadings(const CliOptions& options) {
  for (const std::string& reading : SplitTwoThetaList(options.twoThetaList.value_or(""))) {
    // An entry holds 18 characters; cutting "2.8365000000000e+01" to "2.8365000000000e+"
    // would calibrate from another number than the one typed.
    if (reading.size() > EntryTexts::kMaxSlotLength)
      return "the reading \"" + reading + "\" is longer than the 18 characters a reading holds";
  }
  return "";
}

std::string CheckChart(const std::optional<std::string>& path) {
  if (!path)
    return "";
  const std::string& chart = *path;
  const std::string extension = LowerCaseExtension(chart);
  if (extension != ".svg" && extension != ".png" && extension != ".pdf")
    return "the chart's file name must end in .svg, .png or .pdf: " + chart;
  std::error_code error;
  const fs::path folder = fs::absolute(chart, error).parent_path();
  if (error || !fs::is_directory(folder, error))
    return "the chart's folder does not exist: " + folder.string();
  return "";
}

}  // namespace

RunPlan PlanRun(const CliOptions& options) {
  RunPlan plan;
  plan.usageError = CheckReadings(options);
  if (plan.usageError.empty())
    plan.usageError = CheckChart(options.chartPath);
  if (plan.usageError.empty())
    plan.usageError = CheckChart(options.correctionChartPath);

  std::map<std::string, std::string> inputs;  // resolved file -> the argument's path
  for (const std::string& file : options.files) {
    InputPlan input{AbsolutePath(file), "", ""};
    input.outputPath = OutputOf(input.inputPath);
    inputs.emplace(ResolvedFile(input.inputPath), input.inputPath);
    plan.inputs.push_back(std::move(input));
  }
  // The profile the readings are found in is read like an input and kept like one.
  if (options.twoThetaFromProfile)
    inputs.emplace(ResolvedFile(*options.twoThetaFromProfile), *options.twoThetaFromProfile);
  // The calibration record is read like an input: no output may replace it.
  if (options.calibrationPath)
    inputs.emplace(ResolvedFile(*options.calibrationPath), *options.calibrationPath);

  std::map<std::string, std::size_t> outputs;  // resolved output -> the input that gives it
  for (std::size_t i = 0; i < plan.inputs.size(); ++i) {
    InputPlan& input = plan.inputs[i];
    if (input.outputPath.empty())
      continue;
    const std::string output = ResolvedFile(input.outputPath);
    if (inputs.count(output) != 0) {
      input.refusal = texts::kOutputWouldReplaceInput;
    } else if (!outputs.emplace(output, i).second) {
      input.refusal = texts::kTwoInputsSameOutput;
    }
  }

  const auto clash = [&](const std::string& path, const char* what) -> std::string {
    const std::string resolved = ResolvedFile(path);
    if (inputs.count(resolved) != 0)
      return std::string(what) + " would replace the input file " + inputs[resolved];
    if (outputs.count(resolved) != 0)
      return std::string(what) + " would be the output " +
             plan.inputs[outputs[resolved]].outputPath;
    return "";
  };
  // Every file the command writes besides the conversions, and what it is called: none may
  // be an input, an output or another of them. Applying a record writes no report.
  std::vector<std::pair<std::string, std::string>> written;
  if (!options.calibrationPath)
    written.emplace_back(options.reportPath, "the report");
  if (options.calibrationOutPath)
    written.emplace_back(*options.calibrationOutPath, "the calibration record");
  if (options.chartPath)
    written.emplace_back(*options.chartPath, "the chart");
  if (options.correctionChartPath)
    written.emplace_back(*options.correctionChartPath, "the correction chart");
  if (options.cifPath)
    written.emplace_back(*options.cifPath, "the CIF");
  for (std::size_t i = 0; i < written.size() && plan.usageError.empty(); ++i) {
    plan.usageError = clash(written[i].first, written[i].second.c_str());
    for (std::size_t j = 0; j < i && plan.usageError.empty(); ++j) {
      if (ResolvedFile(written[i].first) == ResolvedFile(written[j].first))
        plan.usageError =
            written[i].second + " would replace " + written[j].second + " " + written[j].first;
    }
  }
  // What the names say comes first; then whether this build can draw a chart at all.
  if (plan.usageError.empty() && (options.chartPath || options.correctionChartPath) &&
      !ChartDrawingBuilt())
    plan.usageError = kNoChartDrawing;
  return plan;
}

}  // namespace pellum::cli
