#include "tests/platform/qt_test_support.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QDialog>
#include <QElapsedTimer>
#include <filesystem>
#include <fstream>

#include "platform/qt/entry_dialog.h"

namespace pellum::testing {

QApplication& TestApplication() {
  static QApplication* application = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
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

void ModalAnswers::Poll() {
  QWidget* modal = QApplication::activeModalWidget();
  // A window answered before needs a new answer when the user is back at it, after a
  // nested one (a "File not found" over the file dialog) has gone.
  const bool cameBack = modal != last_.data();
  last_ = modal;
  if (modal == nullptr || !modal->isVisible() ||
      (modal->property("pellumAnswered").toBool() && !cameBack)) {
    return;
  }
  modal->setProperty("pellumAnswered", true);
  QPointer<QWidget> target(modal);
  if (answers_.empty()) {
    ADD_FAILURE() << "an unscripted modal window opened: " << modal->windowTitle().toStdString()
                  << " (" << modal->objectName().toStdString() << ")";
    QTimer::singleShot(0, [target] {
      if (auto* entry = dynamic_cast<EntryDialog*>(target.data())) {
        for (std::size_t row = 0; row < 6; ++row) {
          entry->Field(row)->setText(QStringLiteral("-1"));
        }
        entry->accept();
      } else if (auto* dialog = dynamic_cast<QDialog*>(target.data())) {
        dialog->done(QDialog::Rejected);
      }
    });
    return;
  }
  Answer answer = std::move(answers_.front());
  answers_.pop_front();
  QTimer::singleShot(0, [target, answer] {
    if (target) {
      answer(target.data());
    }
  });
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
