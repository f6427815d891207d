#include "tests/desktop/qt_test_support.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "front/desktop/entry_dialog.h"

namespace pellum::testing {

QApplication& TestApplication() {
  static QApplication* application = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings go to a folder of the test program's own, never to the user's: a window
    // made with the default setting path keeps its folder there.
    static TempFolder config;
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config.Path()));
    static int argc = 1;
    static char name[] = "pellum_desktop_tests";
    static char* argv[] = {name, nullptr};
    return new QApplication(argc, argv);
  }();
  return *application;
}

ModalAnswers::ModalAnswers() {
  timer_.setInterval(20);
  QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
  timer_.start();
}

ModalAnswers::~ModalAnswers() {
  timer_.stop();
}

// An answered window still up after this long was not moved by its answer.
constexpr qint64 kStallMs = 10000;

void ModalAnswers::Poll() {
  QWidget* modal = QApplication::activeModalWidget();
  // A window answered before needs a new answer when the user is back at it, after a
  // nested one (a "File not found" over the file dialog) has gone.
  const bool cameBack = modal != last_.data();
  last_ = modal;
  if (modal == nullptr || !modal->isVisible()) {
    return;
  }
  if (modal->property("pellumAnswered").toBool() && !cameBack) {
    if (sinceAnswer_.isValid() && sinceAnswer_.elapsed() > kStallMs) {
      Refuse(modal, "a modal window ignored its answer");
    }
    return;
  }
  if (!answers_.empty() && answers_.front().className != nullptr &&
      !modal->inherits(answers_.front().className)) {
    return;
  }
  modal->setProperty("pellumAnswered", true);
  sinceAnswer_.start();
  if (answers_.empty()) {
    Refuse(modal, "an unscripted modal window opened");
    return;
  }
  QPointer<QWidget> target(modal);
  Answer answer = std::move(answers_.front().answer);
  answers_.pop_front();
  QTimer::singleShot(0, [target, answer] {
    if (target) {
      answer(target.data());
    }
  });
}

void ModalAnswers::Refuse(QWidget* modal, const char* why) {
  ADD_FAILURE() << why << ": " << modal->windowTitle().toStdString() << " ("
                << modal->objectName().toStdString() << ")";
  sinceAnswer_.start();
  QPointer<QWidget> target(modal);
  QTimer::singleShot(0, [target] {
    if (auto* entry = dynamic_cast<EntryDialog*>(target.data())) {
      // OK is the only way out; readings all negative end the command quietly.
      for (std::size_t row = 0; row < 6; ++row) {
        entry->Field(row)->setText(QStringLiteral("-1"));
      }
      entry->accept();
    } else if (auto* dialog = dynamic_cast<QDialog*>(target.data())) {
      dialog->done(QDialog::Rejected);
    }
  });
}

void TypeFileName(QFileDialog& dialog, const QString& name) {
  auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  if (field == nullptr) {
    ADD_FAILURE() << "the file dialog has no name field";
    return;
  }
  field->setFocus();
  field->setText(name);
  QTest::keyClick(field, Qt::Key_Return);
}

bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < timeoutMs) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return done();
}

TempFolder::TempFolder() {
  std::string pattern = "/tmp/pellum_qt_XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) {
    ADD_FAILURE() << "cannot make a temporary folder";
  }
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::filesystem::remove_all(path_);
}

void TempFolder::Write(const std::string& name, const std::string& text) const {
  std::ofstream(File(name)) << text;
}

}  // namespace pellum::testing
