#include "front/desktop/command_line.h"

#include <string_view>

#include "ui/version.h"

namespace pellum {

bool AnswerInformationalArguments(std::span<char* const> arguments, std::ostream& out) {
  // The first argument is the program's own name.
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    if (argument == "--help" || argument == "-h") {
      out << DesktopUsageText();
      return true;
    }
    if (argument == "--version") {
      out << "pellum " << kVersion << "\n";
      return true;
    }
  }
  return false;
}

std::string_view DesktopUsageText() {
  return R"(Usage: pellum [QT-OPTION...]

Opens the Pellum window: calibrates the two-theta scale of a Guinier film from the silicon
reflections read off it, draws the calibration chart, writes the fit report fitdata.txt in
the current folder, and converts a peak listing (.pid -> .dat) or an intensity profile
(.txt -> .pro) beside itself with the new calibration.

In the window: File > Open (Ctrl+O) asks for the experimental two-theta of Si 1 1 1, 2 2 0,
3 1 1, 4 0 0, 3 3 1 and 4 2 2 (a negative number for one that could not be read, or From
Profile... to find them in the film's profile), then for the listing or profile to convert.
File > Save Chart As... (Ctrl+S), Save Calibration... and Export CIF... keep the results.

The options of Qt programs are accepted, among them -platform NAME and -display DISPLAY.

Options:
  --help            prints this text
  --version         prints the program's name and version

For batch work and machines without a display, see pellum-cli.
)";
}

}  // namespace pellum
