#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "app/open_file_settings.h"
#include "app/reference_entries.h"
#include "calib/entry_texts.h"
#include "ui/canvas.h"
#include "ui/message_sink.h"
#include "ui/picture_format.h"

namespace pellum {

// Everything the application shell asks of the desktop: its dialogs, its message boxes
// and its one main window. The Qt program implements it with widgets; the shell's tests
// implement it with a script. Every dialog here is modal: it returns only when the user
// has answered, and the main window takes no commands meanwhile.
class Platform : public MessageSink {
 public:
  // Shows the calibration-entry dialog on entries and returns when the user presses OK,
  // the only way out, with the six fields' texts stored back into the slots. Its Reference
  // row starts on reference's choice; OK stores the choice back, and the readings of a
  // reference other than the built-in table into reference.readings, one per line. Its
  // "From Profile..." file dialog starts on inputPath; when the user took the readings
  // found in a profile, inputPath becomes that profile, so that the open-file dialog that
  // follows starts there. Otherwise inputPath is left as it is.
  virtual void ShowEntryDialog(EntryTexts& entries, ReferenceEntries& reference,
                               std::string& inputPath) = 0;

  // Lets the user choose an input file. The dialog starts on inputPath when it is not
  // empty. Returns true with the chosen file's full path and its name without folders
  // ("/data/film.pid", "film.pid") stored in the two strings; returns false and leaves
  // both untouched when the user cancels.
  virtual bool ShowOpenFileDialog(const OpenFileSettings& settings, std::string& inputPath,
                                  std::string& inputTitle) = 0;

  // Asks a question with two answers, such as "Use anyway" and "Edit". The declining
  // answer is the default one, chosen also by Escape or by closing the box: a question
  // dismissed without thought must not let a doubtful calibration through. True when the
  // user chose acceptText.
  virtual bool AskQuestion(std::string_view text, std::string_view caption,
                           std::string_view acceptText, std::string_view declineText) = 0;

  // Lets the user name a file to write, starting on suggestedPath, with the type filters in
  // their order ({"Calibration Files (*.cal)", "*.cal"}); the dialog starts on the filter
  // whose pattern matches suggestedPath, else the first, and adds the chosen filter's
  // extension to a name typed without one. Replacing a file that exists is confirmed in
  // the dialog. Returns true with the chosen path in path; false, path untouched, when the
  // user cancels. The caller writes the file.
  virtual bool ShowSaveFileDialog(std::string_view title, std::span<const FileFilter> filters,
                                  const std::string& suggestedPath, std::string& path) = 0;

  // Draws a picture of width by height pixels in format, in memory: paint draws the chart
  // onto it with the same canvas that draws the window, so the picture is what the window
  // shows. False, bytes untouched, when the toolkit cannot draw it (an empty area).
  virtual bool DrawChartPicture(PictureFormat format, int width, int height,
                                const std::function<void(Canvas&)>& paint, std::string& bytes) = 0;

  // One line at the foot of the main window, until the next one: where the report went.
  virtual void ShowStatus(std::string_view text) = 0;

  // Puts text on the clipboard, for pasting into a lab notebook.
  virtual void SetClipboardText(std::string_view text) = 0;

  virtual void ShowAboutBox() = 0;

  // The main window's caption, e.g. "Pellum - film.pid".
  virtual void SetWindowTitle(std::string_view title) = 0;

  // Asks for the chart to be painted again once the program next waits for the user;
  // the paint itself comes later, from the state as it then is.
  virtual void InvalidateChart() = 0;

  // A fit has just replaced the calibration in the state: the chart is painted again and
  // everything else that shows the calibration (the window's panel, its commands) follows
  // it now, while the user judges the fit in the dialogs that come next.
  virtual void CalibrationChanged() { InvalidateChart(); }

  // Closes the main window, as its close button does; the program ends after it.
  virtual void CloseMainWindow() = 0;
};

}  // namespace pellum
