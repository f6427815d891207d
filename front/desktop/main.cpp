// pellum: calibrates the two-theta scale of a Guinier film from six silicon reflections
// and converts a peak listing or an intensity profile with the calibration.
#include <QApplication>
#include <iostream>
#include <span>

#include "front/desktop/command_line.h"
#include "front/desktop/main_window.h"
#include "front/desktop/program_icon.h"
#include "io/temporary_file_cleanup.h"
#include "ui/version.h"

int main(int argc, char** argv) {
  if (pellum::AnswerInformationalArguments(std::span(argv, static_cast<std::size_t>(argc)),
                                           std::cout)) {
    return 0;
  }
  // Before Qt starts threads of its own, which would otherwise take signals unhandled.
  pellum::InstallTemporaryFileCleanup();
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Pellum"));
  QApplication::setApplicationVersion(QString::fromUtf8(pellum::kVersion.data()));
  QGuiApplication::setDesktopFileName(QStringLiteral("pellum"));
  QApplication::setWindowIcon(pellum::ProgramIcon());

  pellum::MainWindow window;
  window.show();
  return QApplication::exec();
}
