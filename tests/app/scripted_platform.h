#pragma once

#include <array>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/platform.h"

namespace pellum::testing {

// A desktop that answers from a script and writes down everything the shell asks of it,
// one line per request, in order:
//   "entry -1|-1|-1|-1|-1|-1"              the entry dialog opened showing these slots
//   "entry lab6-660c cr: -1|-1|..."        ... on another reference, showing its readings
//   "profile <path>"                       its readings were taken from this profile
//   "message Warning!|<text>|warning"      a message box: caption, text, kind
//   "file start=<path> filter=0 ext=pid flags=0x1004"
//   "question <caption>|<text>|<accept>|<decline>"   answered from `answers`
//   "save title=<title> filter=<pattern>,<pattern> start=<path>"   answered from `saves`
//   "picture svg 800x600"                  a picture drawn: its bytes are a line that
//                                          counts what the paint drew, "svg 800x600 texts=13
//                                          ellipses=6 lines=101\n"; none of an empty area
//   "clipboard <first line of the text>"
//   "title Pellum - film.pid", "repaint", "about", "close"
// Every occurrence of `folder` in a logged text is written as "<dir>". Status bar lines
// go to `statuses` rather than the log: they accompany what the log shows.
class ScriptedPlatform : public Platform {
 public:
  using Readings = std::array<std::string, 6>;
  // One answer to the open-file dialog: cancel, or choose the file at path.
  struct FileAnswer {
    bool choose = false;
    std::string path;
  };

  std::deque<Readings> readings;
  // One answer of the dialog on another reference: the standard and radiation chosen and
  // the readings of its lines (fewer: the rest "-1"). Used before `readings` while any is
  // left.
  struct ReferenceAnswer {
    std::string standard, radiation;
    std::vector<std::string> readings;
  };
  std::deque<ReferenceAnswer> referenceReadings;
  // The next entry dialog takes its readings from this profile ("From Profile..."), and
  // logs "profile <path>"; empty: typed.
  std::string profileTaken;
  std::deque<FileAnswer> files;
  std::deque<bool> answers;      // true: the accepting answer ("Use anyway")
  std::deque<FileAnswer> saves;  // the save-file dialog's answers
  std::string clipboard;
  std::vector<std::string> log;
  std::vector<std::string> statuses;
  std::string folder;
  OpenFileSettings lastSettings;

  void ShowEntryDialog(EntryTexts& entries, ReferenceEntries& reference,
                       std::string& inputPath) override;
  bool ShowOpenFileDialog(const OpenFileSettings& settings, std::string& inputPath,
                          std::string& inputTitle) override;
  void ShowMessage(std::string_view text, std::string_view caption, MessageKind kind) override;
  bool AskQuestion(std::string_view text, std::string_view caption, std::string_view acceptText,
                   std::string_view declineText) override;
  bool ShowSaveFileDialog(std::string_view title, std::span<const FileFilter> filters,
                          const std::string& suggestedPath, std::string& path) override;
  bool DrawChartPicture(PictureFormat format, int width, int height,
                        const std::function<void(Canvas&)>& paint, std::string& bytes) override;
  void ShowStatus(std::string_view text) override { statuses.push_back(Local(text)); }
  void SetClipboardText(std::string_view text) override;
  void ShowAboutBox() override { log.push_back("about"); }
  void SetWindowTitle(std::string_view title) override {
    log.push_back("title " + std::string(title));
  }
  void InvalidateChart() override { log.push_back("repaint"); }
  // Asks for the repaint, as InvalidateChart does, then runs onCalibrationChanged: a test
  // sees there what the window's panel would show.
  void CalibrationChanged() override {
    InvalidateChart();
    if (onCalibrationChanged)
      onCalibrationChanged();
  }
  std::function<void()> onCalibrationChanged;
  // Runs when the open-file dialog opens, before it is answered.
  std::function<void()> onOpenFileDialog;
  void CloseMainWindow() override { log.push_back("close"); }

 private:
  std::string Local(std::string_view text) const;
};

}  // namespace pellum::testing
