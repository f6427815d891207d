#include "app/input_file_step.h"

#include "convert/input_dispatch.h"
#include "convert/output_naming.h"
#include "ui/user_texts.h"

namespace pellum {

void InitOpenFileSettings(OpenFileSettings& settings) {
  settings.filters = {{"Listing Files (*.PID)", "*.pid"}, {"Profile Files (*.TXT)", "*.txt"}};
  settings.filterIndex = 0;
  settings.defaultExtension = "pid";
  settings.flags = 0;
  settings.caseInsensitivePatterns = true;
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
  const FileStamp stamp = StampOf(state.inputPath);
  if (ConvertInputFile(state.inputPath, state.coefficients, platform) != 0) {
    state.convertedPath = state.inputPath;
    state.convertedOutputPath = ConvertedOutputPath(state.inputPath);
    state.convertedStamp = stamp;
    return InputFileOutcome::Converted;
  }
  platform.ShowMessage(state.inputPath, texts::kCannotOpenFile, MessageKind::Error);
  state.inputPath.clear();
  state.inputTitle.clear();
  return InputFileOutcome::Failed;
}

}  // namespace pellum
