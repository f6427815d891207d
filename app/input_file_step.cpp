#include "app/input_file_step.h"

#include <filesystem>

#include "app/remembered_folder.h"
#include "calib/shortest_text.h"
#include "convert/input_dispatch.h"
#include "convert/output_naming.h"
#include "ui/user_texts.h"

namespace pellum {
namespace {

// A reading as the user typed it: the shortest text that reads back.
void AppendFixedNoWidth(std::string& out, double value) {
  out += ShortestText(value);
}

// Passes every message on, adding to the converter's "Info" a line that says where the fit
// report of this calibration went: the user learns both places from one box.
class ReportNoteMessages : public MessageSink {
 public:
  ReportNoteMessages(MessageSink& messages, const std::string& reportPath,
                     const ConversionStats& stats)
      : messages_(messages), reportPath_(reportPath), stats_(stats) {}

  // The converter's Info comes once its rows are written, so the rows outside the
  // calibrated range are counted by then.
  void ShowMessage(std::string_view text, std::string_view caption, MessageKind kind) override {
    if (kind != MessageKind::Information || caption != texts::kInfoCaption) {
      messages_.ShowMessage(text, caption, kind);
      return;
    }
    std::string noted(text);
    if (stats_.rowsOutsideRange > 0)
      noted.append("\n").append(ExtrapolationNote(stats_));
    if (!reportPath_.empty())
      noted.append("\n").append(texts::kReportSavedPrefix).append(reportPath_);
    messages_.ShowMessage(noted, caption, kind);
  }

 private:
  MessageSink& messages_;
  const std::string& reportPath_;
  const ConversionStats& stats_;
};

// The folder of the file just chosen is where the next dialog starts, in this run and, kept
// in the setting, after a restart. A setting that cannot be written is said once a run:
// the program works as well without it.
void RememberFolderOf(const std::string& chosenPath, AppState& state, Platform& platform) {
  const std::string folder = std::filesystem::path(chosenPath).parent_path().string();
  if (folder.empty() || folder == state.openFileSettings.initialFolder)
    return;
  state.openFileSettings.initialFolder = folder;
  if (!WriteRememberedFolder(state.folderSettingPath, folder) && !state.folderSettingFailed) {
    state.folderSettingFailed = true;
    platform.ShowMessage(state.folderSettingPath, texts::kCannotKeepFolder, MessageKind::Warning);
  }
}

}  // namespace

std::string ExtrapolationNote(const ConversionStats& stats) {
  std::string note = std::to_string(stats.rowsOutsideRange);
  note += stats.rowsOutsideRange == 1 ? " row lies" : " rows lie";
  note += " outside the calibrated range, ";
  AppendFixedNoWidth(note, stats.rangeLow);
  note += " to ";
  AppendFixedNoWidth(note, stats.rangeHigh);
  note += " degrees: converted by extrapolation.";
  return note;
}

void InitOpenFileSettings(OpenFileSettings& settings) {
  settings.title = std::string(texts::kOpenFileTitle);
  settings.filters = {{std::string(texts::kListingFilter), "*.pid"},
                      {std::string(texts::kProfileFilter), "*.txt"},
                      {std::string(texts::kListingsAndProfilesFilter), "*.pid *.txt"}};
  settings.filterIndex = 0;
  settings.defaultExtension = "pid";
  settings.flags = 0;
  settings.caseInsensitivePatterns = true;
  settings.initialFolder.clear();
}

int ChooseInputFile(Platform& platform, OpenFileSettings& settings, std::string& inputPath,
                    std::string& inputTitle) {
  settings.flags = kOpenFileHideReadOnly | kOpenFileMustExist;
  return platform.ShowOpenFileDialog(settings, inputPath, inputTitle) ? 1 : 0;
}

InputFileOutcome RunInputFileStep(AppState& state, Platform& platform) {
  if (ChooseInputFile(platform, state.openFileSettings, state.inputPath, state.inputTitle) == 0) {
    return InputFileOutcome::Cancelled;
  }
  const std::string chosen = state.inputPath;
  const FileStamp stamp = StampOf(state.inputPath);
  ConversionStats stats;
  if (state.calibrated) {
    stats.rangeLow = state.quality.rangeLow;
    stats.rangeHigh = state.quality.rangeHigh;
  }
  ReportNoteMessages messages(platform, state.reportWrittenPath, stats);
  InputFileOutcome outcome = InputFileOutcome::Converted;
  const int converted = ConvertInputFile(state.inputPath, state.coefficients, messages, &stats);
  state.rowsOutsideRange = converted != 0 ? stats.rowsOutsideRange : 0;
  if (converted != 0) {
    state.convertedPath = state.inputPath;
    state.convertedOutputPath = ConvertedOutputPath(state.inputPath);
    state.convertedStamp = stamp;
  } else {
    platform.ShowMessage(state.inputPath, texts::kCannotOpenFile, MessageKind::Error);
    state.inputPath.clear();
    state.inputTitle.clear();
    outcome = InputFileOutcome::Failed;
  }
  RememberFolderOf(chosen, state, platform);
  return outcome;
}

}  // namespace pellum
