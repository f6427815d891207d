#include "front/cli/cli_options.h"

#include <charconv>

#include "front/cli/find_silicon.h"

namespace pellum::cli {
namespace {

// "1000x600" -> 1000, 600. Sizes are client areas in pixels: at least one, at most what a
// raster image can reasonably hold.
bool ParseSize(const std::string& text, int& width, int& height) {
  const std::size_t x = text.find('x');
  if (x == std::string::npos)
    return false;
  const char* begin = text.data();
  const char* end = text.data() + text.size();
  auto [afterWidth, e1] = std::from_chars(begin, begin + x, width);
  auto [afterHeight, e2] = std::from_chars(begin + x + 1, end, height);
  constexpr int kLargest = 20000;
  return e1 == std::errc() && e2 == std::errc() && afterWidth == begin + x && afterHeight == end &&
         width > 0 && height > 0 && width <= kLargest && height <= kLargest;
}

// A positive, finite number of degrees, all of the text.
bool ParseDegrees(const std::string& text, double& degrees) {
  const char* end = text.data() + text.size();
  auto [after, error] = std::from_chars(text.data(), end, degrees);
  return error == std::errc() && after == end && degrees > 0.0 && degrees < 1e300;
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  ParsedCommandLine parsed;
  CliOptions& o = parsed.options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& arg = arguments[i];
    auto value = [&](const char* name) -> const std::string* {
      if (i + 1 >= arguments.size()) {
        parsed.error = std::string(name) + " needs a value";
        return nullptr;
      }
      return &arguments[++i];
    };
    if (arg == "--help" || arg == "-h") {
      o.showHelp = true;
    } else if (arg == "--version") {
      o.showVersion = true;
    } else if (arg == "--two-theta") {
      if (const std::string* v = value("--two-theta"))
        o.twoThetaList = *v;
    } else if (arg == "--two-theta-from") {
      if (const std::string* v = value("--two-theta-from"))
        o.twoThetaFromProfile = *v;
    } else if (arg == "--find-silicon") {
      if (const std::string* v = value("--find-silicon"))
        o.findSiliconProfile = *v;
    } else if (arg == "--max-offset") {
      if (const std::string* v = value("--max-offset");
          v != nullptr && !ParseDegrees(*v, o.maxOffset)) {
        parsed.error = "--max-offset takes a positive number of degrees, such as 1.5";
      }
    } else if (arg == "--model") {  // with --two-theta and --two-theta-from
      if (const std::string* v = value("--model")) {
        const std::optional<ModelRule> rule = ParseModelRule(*v);
        if (!rule)
          parsed.error = "--model takes chi-square, line, quadratic or significant";
        o.modelRule = rule.value_or(ModelRule::ChiSquare);
        o.modelGiven = true;
      }
    } else if (arg == "--calibration") {
      if (const std::string* v = value("--calibration"))
        o.calibrationPath = *v;
    } else if (arg == "--calibration-out") {
      if (const std::string* v = value("--calibration-out"))
        o.calibrationOutPath = *v;
    } else if (arg == "--cif") {
      if (const std::string* v = value("--cif"))
        o.cifPath = *v;
    } else if (arg == "--report") {
      if (const std::string* v = value("--report"))
        o.reportPath = *v;
    } else if (arg == "--chart") {
      if (const std::string* v = value("--chart"))
        o.chartPath = *v;
    } else if (arg == "--correction-chart") {  // with --two-theta, --two-theta-from, --calibration
      if (const std::string* v = value("--correction-chart"))
        o.correctionChartPath = *v;
    } else if (arg == "--size") {
      if (const std::string* v = value("--size");
          v != nullptr && !ParseSize(*v, o.chartWidth, o.chartHeight)) {
        parsed.error = "--size takes WIDTHxHEIGHT in pixels, such as 800x600";
      }
    } else if (arg == "--trace") {
      o.trace = true;
    } else if (arg == "--") {
      o.files.insert(o.files.end(), arguments.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                     arguments.end());
      break;
    } else if (arg.size() > 1 && arg[0] == '-') {
      parsed.error = "unknown option " + arg;
    } else {
      o.files.push_back(arg);
    }
    if (!parsed.error.empty())
      return parsed;
  }
  if (o.showHelp || o.showVersion)
    return parsed;
  if (const std::string profileError = ProfileOptionsError(o); !profileError.empty()) {
    parsed.error = profileError;
  } else if (o.findSiliconProfile) {
    return parsed;
  } else if (!o.twoThetaList && !o.calibrationPath && !o.twoThetaFromProfile) {
    parsed.error = "--two-theta or --calibration is required";
  } else if (o.twoThetaList && o.calibrationPath) {
    parsed.error = "--two-theta and --calibration exclude each other";
  } else if (o.modelGiven && o.calibrationPath) {
    parsed.error = "--model chooses the model of a fit: --calibration applies a kept one";
  } else if (o.twoThetaList && SplitTwoThetaList(*o.twoThetaList).size() > 6) {
    parsed.error = "--two-theta takes at most six readings";
  }
  return parsed;
}

std::vector<std::string> SplitTwoThetaList(const std::string& list) {
  std::vector<std::string> texts;
  if (list.empty())
    return texts;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = list.find(',', start);
    texts.push_back(list.substr(start, comma - start));
    if (comma == std::string::npos)
      break;
    start = comma + 1;
  }
  return texts;
}

std::string UsageText() {
  // One line a form, the others after "or:", and the options under headings: the form
  // help2man reads into the manual page's SYNOPSIS and its subsections.
  return R"(Usage: pellum-cli --two-theta LIST [FIT-OPTION...] [OUTPUT-OPTION...] [FILE...]
  or:  pellum-cli --two-theta-from PROFILE [FIT-OPTION...] [OUTPUT-OPTION...] [FILE...]
  or:  pellum-cli --calibration PATH [OUTPUT-OPTION...] [FILE...]
  or:  pellum-cli --find-silicon PROFILE

Calibrates the two-theta scale of a Guinier film from the silicon reflections read off it,
writes the fit report, and converts peak listings (.pid -> .dat) and intensity profiles
(.txt -> .pro) with the new calibration.

What to calibrate from:
  --two-theta LIST  experimental two-theta of Si 1 1 1, 2 2 0, 3 1 1, 4 0 0, 3 3 1, 4 2 2,
                    comma-separated, in that order; a negative value (or a missing
                    trailing value) marks a reflection that could not be read
  --two-theta-from PROFILE
                    finds the six reflections in the film's profile (.txt) and
                    calibrates from them as from --two-theta
  --calibration PATH
                    applies the calibration kept in PATH instead of fitting readings;
                    no report is written
  --find-silicon PROFILE
                    only prints the reflections found in the profile and the readings

Fit options:
  --max-offset DEG  refuses a reading further than DEG degrees from its reflection's
                    actual two-theta, almost always a typing slip (default 1)
  --model RULE      which model the fit keeps: chi-square (the report's rule: the
                    straight line only when its chi-square is smaller; the default),
                    line, quadratic, or significant (the quadratic only when its a3 is
                    significant at the 95 % level, by the F-test of the two fits)
  --report PATH     where the fit report goes (default: fitdata.txt in this folder)
  --calibration-out PATH
                    also keeps the calibration at full precision in PATH: coefficients,
                    their covariance, the readings and the reference values

Output options:
  --cif PATH        also writes the calibration, and each file converted, as a powder
                    CIF (pdCIF) in PATH
  --chart PATH      draws the calibration chart to PATH: .svg, .png or .pdf
  --correction-chart PATH
                    draws the correction chart to PATH (.svg, .png or .pdf): actual -
                    experimental two-theta against experimental two-theta, the fitted
                    correction with its +-1 su band, each reading labelled with its hkl
                    and its residual, the calibrated range marked
  --size WxH        the charts' size in pixels (default 800x600)
  --trace           writes the chart's label trace lines to standard output

Other options:
  --help            prints this text
  --version         prints the program's name and version

Each FILE is converted beside itself: film.pid gives film.dat, scan.txt gives scan.pro.
After the model and coefficients, the quality of the fit: one "residual HKL READING ACTUAL
CALIBRATED RESIDUAL" line per reflection used, then rms, max, su_a1 su_a2 su_a3 (when
there are more readings than coefficients), "a3_significant yes|no T" (with more than
three readings: T = |a3| / su(a3) of the quadratic against Student's t at 95 %) and the
calibrated range. Rows converted outside that range are counted on standard error.

Exit status: 0 done, 1 a file could not be written or converted, 2 refused readings,
calibration or usage. --find-silicon exits 0 when it found two reflections or more, 2
otherwise.

Example:
  pellum-cli --two-theta 28.45,47.31,56.13,69.14,76.39,88.04 --chart chart.png film.pid
)";
}

}  // namespace pellum::cli
