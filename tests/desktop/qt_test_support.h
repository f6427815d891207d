#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <functional>
#include <string>

namespace pellum::testing {

// Answers the program's modal dialogs the way a user would, one after the other: each
// time a modal window that has not been answered yet is up, the next answer is run on it.
// A window is answered again when it is the active modal window once more after another
// one was. Answers run from the event loop, never inside the poll, so an answer may itself open a
// nested modal window (a file dialog's "File not found") that the next answer takes.
// A modal window that nobody scripted fails the test and is closed, and so does one that is
// still up long after its answer (an answer the dialog ignored), so a test cannot hang.
class ModalAnswers {
 public:
  using Answer = std::function<void(QWidget*)>;

  ModalAnswers();
  ~ModalAnswers();

  void Then(Answer answer) { answers_.push_back({std::move(answer), nullptr}); }
  // Waits for a modal window of that class: the window below comes back for a moment
  // between a dialog that closes and a message box that its answer opens.
  void ThenOn(const char* className, Answer answer) {
    answers_.push_back({std::move(answer), className});
  }
  bool AllUsed() const { return answers_.empty(); }

 private:
  void Poll();
  void Refuse(QWidget* modal, const char* why);

  struct Step {
    Answer answer;
    const char* className;
  };
  std::deque<Step> answers_;
  QPointer<QWidget> last_;
  QTimer timer_;
  QElapsedTimer sinceAnswer_;
};

// Types a name into the file dialog's name field and presses Return, as a user does; the
// dialog then checks the name itself (a name set by selectFile() skips the focused field).
void TypeFileName(QFileDialog& dialog, const QString& name);

// Sets QT_QPA_PLATFORM=offscreen and XDG_CONFIG_HOME to a temporary folder (so that no
// test reads or writes the user's settings) and makes the one QApplication of the test
// program.
QApplication& TestApplication();

// Processes events until done() is true or timeoutMs has passed; returns done().
bool WaitFor(const std::function<bool()>& done, int timeoutMs = 5000);

// A folder of its own under /tmp, with no '.' in its path, removed at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  void Write(const std::string& name, const std::string& text) const;

 private:
  std::string path_;
};

}  // namespace pellum::testing
