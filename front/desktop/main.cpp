// pellum: calibrates the two-theta scale of a Guinier film from six silicon reflections
// and converts a peak listing or an intensity profile with the calibration.
#include <QApplication>

#include "front/desktop/main_window.h"
#include "front/desktop/program_icon.h"
#include "io/temporary_file_cleanup.h"
#include "ui/version.h"

int main(int argc, char** argv) {
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
