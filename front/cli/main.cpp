// pellum-cli: the calibration, conversion and chart of Pellum for batch work and machines
// without a display.
#include <iostream>
#include <string>
#include <vector>

#include "front/cli/cli_options.h"
#include "front/cli/cli_run.h"
#include "io/temporary_file_cleanup.h"
#include "ui/version.h"

int main(int argc, char** argv) {
  using namespace pellum::cli;
  pellum::InstallTemporaryFileCleanup();
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
    std::cout << "pellum-cli " << pellum::kVersion << "\n";
    return kExitDone;
  }
  return RunCalibration(parsed.options, std::cout, std::cerr);
}
