// pellum-cli: the calibration, conversion and chart of Pellum for batch work and machines
// without a display.
#include <QGuiApplication>
#include <QString>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/cli_run.h"

namespace {

// A machine without a desktop session has no XDG_RUNTIME_DIR, and Qt says so on every run;
// nothing of the chart depends on it, so that one remark is left out of batch logs.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (message.startsWith("QStandardPaths:"))
    return;
  std::cerr << message.toStdString() << '\n';
  if (type == QtFatalMsg)
    std::abort();
}

}  // namespace

int main(int argc, char** argv) {
  using namespace pellum::cli;
  const ParsedCommandLine parsed =
      ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.error.empty()) {
    std::cerr << "pellum-cli: " << parsed.error << "\n\n" << UsageText();
    return kExitRefused;
  }
  if (parsed.options.showHelp) {
    std::cout << UsageText();
    return kExitDone;
  }
  if (parsed.options.showVersion) {
    std::cout << "pellum-cli 1.03\n";
    return kExitDone;
  }
  // Drawing text needs Qt's font machinery, and so an application object; the chart is
  // drawn offscreen, display or not.
  std::unique_ptr<QGuiApplication> qt;
  if (parsed.options.chartPath) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
      setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(QuietQtMessages);
    qt = std::make_unique<QGuiApplication>(argc, argv);
  }
  return RunCalibration(parsed.options, std::cout, std::cerr);
}
