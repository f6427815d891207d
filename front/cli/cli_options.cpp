#include "front/cli/cli_options.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>

namespace pellum::cli {
namespace {

// The six things pellum-cli can be asked to do; each option states the ones it goes with.
enum ModeBit : unsigned {
  kTwoTheta = 1u,      // --two-theta LIST
  kTwoThetaFrom = 2u,  // --two-theta-from PROFILE
  kApply = 4u,         // --calibration PATH
  kFind = 8u,          // --find-silicon PROFILE
  kList = 16u,         // --list-lines
  kFindLines = 32u,    // --find-lines PROFILE
};
constexpr unsigned kFinds = kFind | kFindLines | kTwoThetaFrom;
constexpr unsigned kReferenced = kList | kTwoTheta | kTwoThetaFrom | kFindLines;
constexpr unsigned kFits = kTwoTheta | kTwoThetaFrom;
constexpr unsigned kCalibrates = kFits | kApply;

struct OptionRule {
  std::string_view name;
  bool takesValue;
  unsigned modes;    // the modes it goes with
  unsigned selects;  // the mode it chooses, 0 for the others
};

// One row an option. An option given with a mode it does not go with would be ignored, so it
// is refused instead; so is an option given twice, whose first value would be lost.
constexpr std::array<OptionRule, 21> kRules = {{
    {"--two-theta", true, kTwoTheta, kTwoTheta},
    {"--two-theta-from", true, kTwoThetaFrom, kTwoThetaFrom},
    {"--calibration", true, kApply, kApply},
    {"--find-silicon", true, kFind, kFind},
    {"--list-lines", false, kList, kList},
    {"--find-lines", true, kFindLines, kFindLines},
    // How the finder reads a profile.
    {"--max-scale", true, kFinds, 0},
    {"--radiation-lines", true, kFinds, 0},
    // The reference: the built-in silicon table for Cu K-alpha1 when none is given.
    {"--standard", true, kReferenced, 0},
    {"--lattice", true, kReferenced, 0},
    {"--radiation", true, kReferenced, 0},
    {"--wavelength", true, kReferenced, 0},
    // Applying a record checks its readings as typed readings are checked.
    {"--max-offset", true, kCalibrates, 0},
    {"--model", true, kFits, 0},   // applying a record keeps the record's model
    {"--report", true, kFits, 0},  // applying a record fits nothing and writes no report
    {"--calibration-out", true, kFits, 0},
    {"--cif", true, kCalibrates, 0},
    {"--chart", true, kCalibrates, 0},
    {"--correction-chart", true, kCalibrates, 0},
    {"--size", true, kCalibrates, 0},  // and only with a chart or --trace, which draw at it
    {"--trace", false, kCalibrates, 0},
}};

const OptionRule* RuleOf(std::string_view name) {
  const auto* rule = std::find_if(kRules.begin(), kRules.end(),
                                  [name](const OptionRule& r) { return r.name == name; });
  return rule == kRules.end() ? nullptr : rule;
}

std::string_view ModeName(unsigned mode) {
  for (const OptionRule& rule : kRules)
    if (rule.selects == mode)
      return rule.name;
  return "";
}

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

// An option as given: its rule and its value.
struct GivenOption {
  const OptionRule* rule;
  std::string value;
};

// Splits the arguments into options and files; the first option not understood, an option
// without its value or an option given twice is the error.
std::string Collect(const std::vector<std::string>& arguments, std::vector<GivenOption>& given,
                    CliOptions& o) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& arg = arguments[i];
    if (arg == "--") {
      o.files.insert(o.files.end(), arguments.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                     arguments.end());
      break;
    }
    if (arg == "-h" || arg == "--help") {
      o.showHelp = true;
      continue;
    }
    if (arg == "--version") {
      o.showVersion = true;
      continue;
    }
    if (arg.size() <= 1 || arg[0] != '-') {
      o.files.push_back(arg);
      continue;
    }
    const OptionRule* rule = RuleOf(arg);
    if (rule == nullptr)
      return "unknown option " + arg;
    for (const GivenOption& earlier : given)
      if (earlier.rule == rule)
        return arg + " is given twice: give it once";
    if (rule->takesValue && i + 1 >= arguments.size())
      return arg + " needs a value";
    given.push_back({rule, rule->takesValue ? arguments[++i] : ""});
  }
  return "";
}

// The one mode the options choose.
std::string ChooseMode(const std::vector<GivenOption>& given, unsigned& mode) {
  mode = 0;
  for (const GivenOption& option : given) {
    if (option.rule->selects == 0)
      continue;
    if (mode != 0)
      return std::string(ModeName(mode)) + " and " + std::string(option.rule->name) +
             " exclude each other: give one of them";
    mode = option.rule->selects;
  }
  return mode == 0 ? "--two-theta, --two-theta-from, --calibration, --find-silicon, --find-lines "
                     "or --list-lines is required"
                   : "";
}

// Stores each value where the run reads it; the first that is not understood is the error.
std::string Store(const GivenOption& option, CliOptions& o) {
  const std::string_view name = option.rule->name;
  const std::string& v = option.value;
  if (name == "--two-theta") {
    if (v.empty())
      return "--two-theta is empty: give the readings, such as 28.45,47.31,-1,69.14";
    o.twoThetaList = v;
  } else if (name == "--two-theta-from") {
    o.twoThetaFromProfile = v;
  } else if (name == "--calibration") {
    o.calibrationPath = v;
  } else if (name == "--find-silicon") {
    o.findSiliconProfile = v;
  } else if (name == "--find-lines") {
    o.findLinesProfile = v;
  } else if (name == "--max-offset") {
    if (!ParseDegrees(v, o.maxOffset))
      return "--max-offset takes a positive number of degrees, such as 1.5";
  } else if (name == "--max-scale") {
    double percent = 0.0;
    const char* end = v.data() + v.size();
    const auto [after, e] = std::from_chars(v.data(), end, percent);
    if (e != std::errc() || after != end || !(percent >= 0.0 && percent <= 5.0))
      return "--max-scale takes a per cent from 0 to 5, such as 0.5";
    o.maxScalePercent = percent;
  } else if (name == "--radiation-lines") {
    if (v != "ka1" && v != "ka12" && v != "auto")
      return "--radiation-lines takes ka1, ka12 or auto";
    o.radiationLines = v;
  } else if (name == "--model") {
    const std::optional<ModelRule> rule = ParseModelRule(v);
    if (!rule)
      return "--model takes chi-square, line, quadratic or significant";
    o.modelRule = *rule;
    o.modelGiven = true;
  } else if (name == "--report") {
    o.reportPath = v;
  } else if (name == "--calibration-out") {
    o.calibrationOutPath = v;
  } else if (name == "--cif") {
    o.cifPath = v;
  } else if (name == "--chart") {
    o.chartPath = v;
  } else if (name == "--correction-chart") {
    o.correctionChartPath = v;
  } else if (name == "--size") {
    if (!ParseSize(v, o.chartWidth, o.chartHeight))
      return "--size takes WIDTHxHEIGHT in pixels, such as 800x600";
  } else if (name == "--trace") {
    o.trace = true;
  } else if (name == "--list-lines") {
    o.listLines = true;
  } else if (name == "--standard") {
    o.standard = v;
  } else if (name == "--lattice") {
    o.lattice = v;
  } else if (name == "--radiation") {
    o.radiation = v;
  } else if (name == "--wavelength") {
    o.wavelength = v;
  }
  return "";
}

std::string CheckModeOptions(unsigned mode, const std::vector<GivenOption>& given,
                             const CliOptions& o) {
  const std::string modeName(ModeName(mode));
  for (const GivenOption& option : given)
    if ((option.rule->modes & mode) == 0)
      return std::string(option.rule->name) + " does not go with " + modeName;
  if (!o.files.empty() && (mode & kCalibrates) == 0)
    return modeName + " takes no FILE: " + o.files.front();
  const bool sized = std::any_of(given.begin(), given.end(),
                                 [](const GivenOption& g) { return g.rule->name == "--size"; });
  if (sized && !o.chartPath && !o.correctionChartPath && !o.trace)
    return "--size goes with --chart, --correction-chart or --trace, which draw at that size";
  // Another reference has as many readings as lines: counted once its lines are known.
  const bool builtInTable = !o.standard && !o.lattice && !o.radiation && !o.wavelength;
  if (o.twoThetaList && builtInTable && SplitTwoThetaList(*o.twoThetaList).size() > 6)
    return "--two-theta takes at most six readings";
  return "";
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  ParsedCommandLine parsed;
  CliOptions& o = parsed.options;
  std::vector<GivenOption> given;
  parsed.error = Collect(arguments, given, o);
  if (!parsed.error.empty() || o.showHelp || o.showVersion)
    return parsed;
  unsigned mode = 0;
  parsed.error = ChooseMode(given, mode);
  for (std::size_t i = 0; i < given.size() && parsed.error.empty(); ++i)
    parsed.error = Store(given[i], o);
  if (parsed.error.empty())
    parsed.error = CheckModeOptions(mode, given, o);
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
  or:  pellum-cli --calibration PATH [--max-offset DEG] [OUTPUT-OPTION...] [FILE...]
  or:  pellum-cli --find-silicon PROFILE [--max-scale PERCENT] [--radiation-lines LINES]
  or:  pellum-cli --find-lines PROFILE [REFERENCE-OPTION...] [--max-scale PERCENT]
                  [--radiation-lines LINES]
  or:  pellum-cli --list-lines [REFERENCE-OPTION...]

Calibrates the two-theta scale of a Guinier film from the silicon reflections read off it,
writes the fit report, and converts peak listings (.pid -> .dat) and intensity profiles
(.txt -> .pro) with the new calibration. Each option is given at most once, and only with
the forms above that name it (or its group); anything else is refused before anything is
written.

What to calibrate from:
  --two-theta LIST  experimental two-theta of Si 1 1 1, 2 2 0, 3 1 1, 4 0 0, 3 3 1, 4 2 2,
                    comma-separated, in that order; a negative value (or a missing
                    trailing value) marks a reflection that could not be read
  --two-theta-from PROFILE
                    finds the six reflections in the film's profile (.txt), or the lines
                    of the reference the reference options name, and calibrates from
                    them as from --two-theta
  --calibration PATH
                    applies the calibration kept in PATH instead of fitting readings,
                    once its readings pass the checks typed ones pass and its
                    coefficients and covariance follow from them; no report is written
  --find-silicon PROFILE
                    only prints the reflections found in the profile and the readings
  --find-lines PROFILE
                    only prints the lines of the reference found in the profile: "peak H
                    K L POSITION HEIGHT FWHM SNR SU" or "peak H K L not-found" each, then
                    "two-theta LIST" as --two-theta takes it with the same reference
                    options; without them, --find-silicon's search in this form
  --max-scale PERCENT
                    with --find-silicon, --find-lines or --two-theta-from: the largest
                    scale error of the film the finder allows (default 0.3); lines that
                    need more are another phase's
  --radiation-lines ka1|ka12|auto
                    with --find-silicon, --find-lines or --two-theta-from: the profile
                    shows the tube's K-alpha1 alone, or K-alpha1 and K-alpha2 (fitted as
                    doublets, the K-alpha1 positions reported; ka12 needs --radiation);
                    auto (the default) takes whichever fits
  --list-lines      only prints the reference's lines below 100 degrees: "standard NAME A
                    [C]", "wavelength LAMBDA", then "line H K L D TWO_THETA INTENSITY" each,
                    in order of two-theta (intensity relative to the strongest, 100)

Reference options (with --list-lines, --two-theta, --two-theta-from or --find-lines):
  --standard NAME   si (the built-in silicon table for Cu K-alpha1, the default), si-640c,
                    si-640d, si-640e, lab6-660a, lab6-660c, ceo2-674b or al2o3-676a
  --lattice A[,C]   the standard's cell in angstrom instead of the certified one (A,C for
                    the hexagonal al2o3-676a)
  --radiation NAME  K-alpha1 of cu (default), co, fe, cr, mo or ag
  --wavelength L    a wavelength of your own, in angstrom, instead of --radiation

Fit options:
  --max-offset DEG  refuses a reading further than DEG degrees from its reflection's
                    actual two-theta, almost always a typing slip (default 1); also
                    checks the readings of a --calibration record
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
  --size WxH        the charts' size in pixels (default 800x600); with a chart or
                    --trace
  --trace           writes the chart's label trace lines to standard output

Other options:
  --help            prints this text
  --version         prints the program's name and version

Each FILE is converted beside itself: film.pid gives film.dat, scan.txt gives scan.pro.
With a reference other than the built-in table, --two-theta's LIST holds one reading per
line of the reference, in the order --list-lines prints them.
After the model and coefficients, the quality of the fit: one "residual HKL READING ACTUAL
CALIBRATED RESIDUAL" line per reflection used, then rms, max, su_a1 su_a2 su_a3 (when
there are more readings than coefficients), "a3_significant yes|no T" (with more than
three readings: T = |a3| / su(a3) of the quadratic against Student's t at 95 %) and the
calibrated range. Rows converted outside that range are counted on standard error.

Exit status: 0 done, 1 a file could not be written or converted, 2 refused readings,
calibration or usage. --find-silicon and --find-lines exit 0 when they found two lines or
more whose set may calibrate the film, 2 otherwise.

Example:
  pellum-cli --two-theta 28.45,47.31,56.13,69.14,76.39,88.04 --chart chart.png film.pid
)";
}

}  // namespace pellum::cli
