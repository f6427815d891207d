#include "tests/app/scripted_platform.h"

#include <gtest/gtest.h>

#include <sstream>

namespace pellum::testing {

std::string ScriptedPlatform::Local(std::string_view text) const {
  std::string out(text);
  if (folder.empty()) {
    return out;
  }
  for (std::size_t at = out.find(folder); at != std::string::npos; at = out.find(folder, at)) {
    out.replace(at, folder.size(), "<dir>");
  }
#ifdef _WIN32
  // A path joined to the folder on Windows has a backslash after it: the same path.
  for (std::size_t at = out.find("<dir>\\"); at != std::string::npos; at = out.find("<dir>\\", at))
    out[at + 5] = '/';
#endif
  return out;
}

void ScriptedPlatform::ShowEntryDialog(EntryTexts& entries, ReferenceEntries& reference,
                                       std::string& inputPath) {
  std::string shown = "entry ";
  if (reference.IsDefault()) {
    for (std::size_t i = 0; i < EntryTexts::kSlotCount; ++i) {
      shown += (i == 0 ? "" : "|") + entries.Slot(i);
    }
  } else {
    shown += reference.Key() + ":";
    const std::vector<std::string>& texts = reference.readings[reference.Key()];
    for (std::size_t i = 0; i < texts.size(); ++i)
      shown += (i == 0 ? " " : "|") + texts[i];
  }
  log.push_back(shown);
  if (!referenceReadings.empty()) {
    const ReferenceAnswer answer = referenceReadings.front();
    referenceReadings.pop_front();
    reference.standard = answer.standard;
    reference.radiation = answer.radiation;
    reference.readings[reference.Key()] = answer.readings;
    return;
  }
  if (readings.empty()) {
    // Back to the built-in table too, whose six "-1" end the command.
    reference.standard = kBuiltInTableName;
    reference.radiation = kDefaultRadiation;
    // A script that ran out would loop forever on a refused entry: leave the dialog the
    // user's way, with every reflection marked not available.
    ADD_FAILURE() << "the entry dialog opened more often than scripted";
    for (std::size_t i = 0; i < EntryTexts::kSlotCount; ++i) {
      entries.SetSlot(i, "-1");
    }
    return;
  }
  // A scripted six goes with the built-in table, as a dialog left on it.
  reference.standard = kBuiltInTableName;
  reference.radiation = kDefaultRadiation;
  for (std::size_t i = 0; i < EntryTexts::kSlotCount; ++i) {
    entries.SetSlot(i, readings.front()[i]);
  }
  readings.pop_front();
  if (!profileTaken.empty()) {
    log.push_back("profile " + Local(profileTaken));
    inputPath = profileTaken;
    profileTaken.clear();
  }
}

bool ScriptedPlatform::ShowOpenFileDialog(const OpenFileSettings& settings, std::string& inputPath,
                                          std::string& inputTitle) {
  if (onOpenFileDialog)
    onOpenFileDialog();
  std::ostringstream flags;
  flags << "0x" << std::hex << settings.flags;
  log.push_back("file start=" + Local(inputPath) +
                " filter=" + std::to_string(settings.filterIndex) +
                " ext=" + settings.defaultExtension + " flags=" + flags.str());
  lastSettings = settings;
  if (files.empty()) {
    ADD_FAILURE() << "the open-file dialog opened more often than scripted";
    return false;
  }
  FileAnswer answer = files.front();
  files.pop_front();
  if (!answer.choose) {
    return false;
  }
  inputPath = answer.path;
  inputTitle = answer.path.substr(answer.path.find_last_of('/') + 1);
  return true;
}

void ScriptedPlatform::ShowMessage(std::string_view text, std::string_view caption,
                                   MessageKind kind) {
  const char* kindName = kind == MessageKind::Error     ? "error"
                         : kind == MessageKind::Warning ? "warning"
                                                        : "information";
  log.push_back("message " + std::string(caption) + "|" + Local(text) + "|" + kindName);
}

bool ScriptedPlatform::AskQuestion(std::string_view text, std::string_view caption,
                                   std::string_view acceptText, std::string_view declineText) {
  log.push_back("question " + std::string(caption) + "|" + Local(text) + "|" +
                std::string(acceptText) + "|" + std::string(declineText));
  if (answers.empty()) {
    ADD_FAILURE() << "a question was asked more often than scripted";
    return false;
  }
  const bool accepted = answers.front();
  answers.pop_front();
  return accepted;
}

bool ScriptedPlatform::ShowSaveFileDialog(std::string_view title,
                                          std::span<const FileFilter> filters,
                                          const std::string& suggestedPath, std::string& path) {
  std::string patterns;
  for (const FileFilter& filter : filters) {
    patterns += (patterns.empty() ? "" : ",") + filter.pattern;
  }
  log.push_back("save title=" + std::string(title) + " filter=" + patterns +
                " start=" + Local(suggestedPath));
  if (saves.empty()) {
    ADD_FAILURE() << "the save-file dialog opened more often than scripted";
    return false;
  }
  const FileAnswer answer = saves.front();
  saves.pop_front();
  if (answer.choose)
    path = answer.path;
  return answer.choose;
}

void ScriptedPlatform::SetClipboardText(std::string_view text) {
  clipboard = std::string(text);
  log.push_back("clipboard " + clipboard.substr(0, clipboard.find('\n')));
}

}  // namespace pellum::testing

namespace pellum::testing {
namespace {

// Counts what a paint draws.
class CountingCanvas : public Canvas {
 public:
  int texts = 0, ellipses = 0, lines = 0;
  void Clear() override {}
  void SetIsotropicMapping(int, int, int, int, int, int) override {}
  void MoveTo(int, int) override {}
  void LineTo(int, int) override { ++lines; }
  void TextOut(int, int, std::string_view) override { ++texts; }
  void Ellipse(int, int, int, int) override { ++ellipses; }
  int TextWidth(std::string_view) const override { return 0; }
  int TextHeight() const override { return 0; }
  void SetZoom(double) override {}
};

}  // namespace

bool ScriptedPlatform::DrawChartPicture(PictureFormat format, int width, int height,
                                        const std::function<void(Canvas&)>& paint,
                                        std::string& bytes) {
  const char* name = format == PictureFormat::Svg   ? "svg"
                     : format == PictureFormat::Png ? "png"
                                                    : "pdf";
  const std::string size = std::to_string(width) + "x" + std::to_string(height);
  log.push_back(std::string("picture ") + name + " " + size);
  if (width <= 0 || height <= 0)
    return false;
  CountingCanvas canvas;
  paint(canvas);
  bytes = std::string(name) + " " + size + " texts=" + std::to_string(canvas.texts) +
          " ellipses=" + std::to_string(canvas.ellipses) +
          " lines=" + std::to_string(canvas.lines) + "\n";
  return true;
}

}  // namespace pellum::testing
