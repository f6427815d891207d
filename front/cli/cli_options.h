#pragma once

#include <optional>
#include <string>
#include <vector>

#include "calib/fit_model.h"
#include "ui/user_texts.h"

namespace pellum::cli {

// What the command line asked for.
//   pellum-cli --two-theta 28.45,47.31,56.13 --report out/fitdata.txt film.pid
struct CliOptions {
  bool showHelp = false;
  bool showVersion = false;
  std::optional<std::string> twoThetaList;  // comma-separated entry texts, 1 1 1 first
  // The readings found in this profile, in place of twoThetaList.
  std::optional<std::string> twoThetaFromProfile;
  // Only prints what this profile holds.
  std::optional<std::string> findSiliconProfile;
  // Only prints the lines of the reference (the reference options) this profile holds.
  std::optional<std::string> findLinesProfile;
  // A reading further than this from its reflection's actual two-theta refuses the set.
  double maxOffset = 1.0;
  // The silicon finder's largest scale error of a film, per cent (--max-scale).
  std::optional<double> maxScalePercent;
  // Which lines of the tube the finder fits: "ka1", "ka12" or "auto" (--radiation-lines).
  std::optional<std::string> radiationLines;
  // Which model the fit keeps (--model); the report's chi-square rule by default.
  ModelRule modelRule = ModelRule::ChiSquare;
  bool modelGiven = false;
  std::optional<std::string> calibrationPath;     // a record to apply instead of readings
  std::optional<std::string> calibrationOutPath;  // where to keep the calibration's record
  std::optional<std::string> cifPath;             // the powder CIF of the calibration and the files
  std::string reportPath{texts::kReportFileName};
  std::optional<std::string> chartPath;
  std::optional<std::string> correctionChartPath;  // actual - experimental, --size applies
  int chartWidth = 800;
  int chartHeight = 600;
  bool trace = false;
  // Only prints the reference's lines (--list-lines).
  bool listLines = false;
  // The reference: a standard's name, its cell ("A" or "A,C"), a radiation or a wavelength,
  // as typed; unset, the built-in silicon table for Cu K-alpha1.
  std::optional<std::string> standard;
  std::optional<std::string> lattice;
  std::optional<std::string> radiation;
  std::optional<std::string> wavelength;
  std::vector<std::string> files;
};

struct ParsedCommandLine {
  CliOptions options;
  std::string error;  // empty when the command line was understood
};

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// Splits "28.45,,47.3" into {"28.45", "", "47.3"}; an empty list gives no texts.
std::vector<std::string> SplitTwoThetaList(const std::string& list);

std::string UsageText();

}  // namespace pellum::cli
