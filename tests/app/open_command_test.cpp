// The Open command from the menu to the title, against a scripted desktop: entries,
// refusals, the fit, the open-file dialog, the converters' messages and the title.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/calibration_record_commands.h"
#include "app/window_commands.h"
#include "calib/calibration_record.h"
#include "tests/app/scripted_platform.h"
#include "tests/support/temporary_folder.h"

namespace pellum {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedPlatform;
using Readings = ScriptedPlatform::Readings;

const Readings kNone = {"-1", "-1", "-1", "-1", "-1", "-1"};
const Readings kSix = {"28.45", "47.31", "56.13", "69.14", "76.39", "88.04"};
const std::string kNoneShown = "entry -1|-1|-1|-1|-1|-1";
const std::string kSixShown = "entry 28.45|47.31|56.13|69.14|76.39|88.04";
const std::string kFreshDialog = "file start= filter=0 ext=pid flags=0x1004";

// A listing as a diffractometer's peak search writes it: a title, the column heading
// whose first token is "2-Theta", then one peak per line.
const char* const kListing =
    "Peak search of film 7\n"
    "2-Theta d(A) BG Height I% Area\n"
    "28.45 3.1347 12 500 100.0 41\n"
    "47.31 1.9198 10 310 62.0 25\n";

// A folder of its own for each test, without a '.' anywhere in its path, since the
// output files are named from the input path up to its first '.'.
class OpenCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = "/tmp/pellum_app_XXXXXX";
    ASSERT_TRUE(testing::MakeTemporaryFolder(pattern));
    folder_ = pattern;
    platform_.folder = folder_;
    state_.reportPath = folder_ + "/fitdata.txt";
    HandleCreate(state_, platform_);
    platform_.log.clear();
  }
  void TearDown() override { fs::remove_all(folder_); }

  void WriteFile(const std::string& name, const std::string& text) {
    std::ofstream(folder_ + "/" + name) << text;
  }
  std::string InFolder(const std::string& name) const { return folder_ + "/" + name; }

  // File > Open with the six readings on the example listing film.pid, converted.
  void OpenTheListing() {
    WriteFile("film.pid", kListing);
    platform_.readings = {kSix};
    platform_.files = {{true, InFolder("film.pid")}};
    HandleCommand(state_, platform_, IDM_OPEN, std::cout);
  }

  std::string folder_;
  AppState state_;
  ScriptedPlatform platform_;
};

struct OpenCase {
  const char* name;
  std::string oldTitle;                      // a file converted before, in the test folder; or none
  std::vector<Readings> readings;            // the entry dialog's answers, in order
  std::map<std::string, std::string> files;  // made in the test folder first
  std::vector<std::string> chosen;           // the file dialog's answers: a name, or "" to cancel
  std::vector<std::string> expectedLog;
  std::string expectedTitle;  // AppState's input title afterwards
  bool fitted;                // fitdata.txt written
};

const std::vector<OpenCase>& OpenCases() {
  static const std::vector<OpenCase> cases = {
      {"AllNegativeEndsQuietly", "", {kNone}, {}, {}, {kNoneShown}, "", false},
      {"AllNegativeKeepsTheOldTitle", "old.pid", {kNone}, {}, {}, {kNoneShown}, "old.pid", false},
      {"TooLargeWarnsOnceAndReopensWithTheText",
       "",
       {{"150", "47.31", "160", "-1", "-1", "-1"}, {"28.45", "47.31", "-1", "-1", "-1", "-1"}},
       {},
       {""},
       {kNoneShown, "message Warning!|2 theta value must be below 100.|warning",
        "entry 150|47.31|160|-1|-1|-1", "repaint", kFreshDialog, "title Pellum - (untitled)"},
       "",
       true},
      {"NotANumberIsRefused",
       "",
       {{"28,44", "47.31", "-1", "-1", "-1", "-1"}, {"28.44", "47.31", "-1", "-1", "-1", "-1"}},
       {},
       {""},
       {kNoneShown,
        "message Warning!|2 theta value must be a number: reading 1 (1 1 1), \"28,44\", has a "
        "decimal comma: use a point.|warning",
        "entry 28,44|47.31|-1|-1|-1|-1", "repaint", kFreshDialog, "title Pellum - (untitled)"},
       "",
       true},
      {"OneReflectionIsRefusedThenLeftByAllNegative",
       "",
       {{"28.45", "-1", "-1", "-1", "-1", "-1"}, kNone},
       {},
       {},
       {kNoneShown,
        "message Warning!|At least two reflections with different 2 theta values are "
        "needed.|warning",
        "entry 28.45|-1|-1|-1|-1|-1"},
       "",
       false},
      {"CancelShowsTheOldTitleAgain",
       "old.pid",
       {kSix},
       {},
       {""},
       {kNoneShown, "repaint", "file start=<dir>/old.pid filter=0 ext=pid flags=0x1004",
        "title Pellum - old.pid"},
       "old.pid",
       true},
      {"ListingIsConverted",
       "",
       {kSix},
       {{"film.pid", kListing}},
       {"film.pid"},
       {kNoneShown, "repaint", kFreshDialog,
        "message Info|Output file is saved as <dir>/film.dat\nFit report is saved as "
        "<dir>/fitdata.txt|information",
        "title Pellum - film.pid"},
       "film.pid",
       true},
      {"CapitalExtensionIsAListingToo",
       "",
       {kSix},
       {{"FILM.PID", kListing}},
       {"FILM.PID"},
       {kNoneShown, "repaint", kFreshDialog,
        "message Info|Output file is saved as <dir>/FILM.dat\nFit report is saved as "
        "<dir>/fitdata.txt|information",
        "title Pellum - FILM.PID"},
       "FILM.PID",
       true},
      {"InvalidListingShowsBothMessagesAndForgetsTheFile",
       "old.pid",
       {kSix},
       {{"film.pid", ""}},
       {"film.pid"},
       {kNoneShown, "repaint", "file start=<dir>/old.pid filter=0 ext=pid flags=0x1004",
        "message Invalid file format!|<dir>/film.pid|error",
        "message Cannot open a file!|<dir>/film.pid|error", "title Pellum - (untitled)"},
       "",
       true},
      {"UnknownExtensionIsNotConverted",
       "",
       {kSix},
       {{"film.dat", kListing}},
       {"film.dat"},
       {kNoneShown, "repaint", kFreshDialog, "message Cannot open a file!|<dir>/film.dat|error",
        "title Pellum - (untitled)"},
       "",
       true},
      {"VanishedFileIsNotConverted",
       "",
       {kSix},
       {},
       {"gone.pid"},
       {kNoneShown, "repaint", kFreshDialog, "message Cannot open a file!|<dir>/gone.pid|error",
        "title Pellum - (untitled)"},
       "",
       true},
  };
  return cases;
}

class OpenCaseTest : public OpenCommandTest, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(OpenCaseTest, FollowsTheOpenRoad) {
  const OpenCase& c = GetParam();
  if (!c.oldTitle.empty()) {
    state_.inputPath = InFolder(c.oldTitle);
    state_.inputTitle = c.oldTitle;
  }
  for (const auto& [name, text] : c.files) {
    WriteFile(name, text);
  }
  platform_.readings.assign(c.readings.begin(), c.readings.end());
  for (const std::string& name : c.chosen) {
    platform_.files.push_back({!name.empty(), name.empty() ? "" : InFolder(name)});
  }

  HandleCommand(state_, platform_, IDM_OPEN, std::cout);

  EXPECT_EQ(platform_.log, c.expectedLog);
  EXPECT_TRUE(platform_.readings.empty()) << "entry answers left over";
  EXPECT_TRUE(platform_.files.empty()) << "file answers left over";
  EXPECT_EQ(state_.inputTitle, c.expectedTitle);
  EXPECT_EQ(state_.inputPath, c.expectedTitle.empty() ? "" : InFolder(c.expectedTitle));
  EXPECT_EQ(fs::exists(state_.reportPath), c.fitted);
  EXPECT_EQ(state_.pointCount, static_cast<int>(state_.points.size()));
  EXPECT_EQ(state_.coefficients.a2 != 0.0, c.fitted) << "coefficients only change with a fit";
}

INSTANTIATE_TEST_SUITE_P(App, OpenCaseTest, ::testing::ValuesIn(OpenCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(OpenCommandTest, ConvertedListingHoldsCalibratedRowsBesideTheInput) {
  OpenTheListing();

  std::ifstream in(InFolder("film.dat"));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    lines.push_back(line);
  }
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines.front(), InFolder("film.dat"));
  EXPECT_EQ(lines.back(), "0 0 0");
  // Readings just above the reference values pull the peak at 28.45 down toward 28.442.
  EXPECT_EQ(lines[1].substr(0, 7), "0 0 0  ");
  const double calibrated = std::stod(lines[1].substr(7, 10));
  EXPECT_NEAR(calibrated, 28.442, 0.005);
  EXPECT_EQ(lines[1].substr(17), "     100.0") << "token 4, the relative intensity";
}

// The second Open starts where the first one left off: the dialog holds the readings
// just used and the file dialog starts on the converted file.
TEST_F(OpenCommandTest, SecondOpenStartsFromTheFirstOnesEntriesAndFile) {
  WriteFile("film.pid", kListing);
  platform_.readings = {kSix, kSix};
  platform_.files = {{true, InFolder("film.pid")}, {false, ""}};
  HandleCommand(state_, platform_, IDM_OPEN, std::cout);
  platform_.log.clear();

  HandleCommand(state_, platform_, IDM_OPEN, std::cout);
  EXPECT_EQ(platform_.log,
            (std::vector<std::string>{kSixShown, "repaint",
                                      "file start=<dir>/film.pid filter=0 ext=pid flags=0x1004",
                                      "title Pellum - film.pid"}));
}

// Readings taken from a profile: the file dialog that follows starts on that profile, and a
// cancel leaves the title with the last converted file.
TEST_F(OpenCommandTest, ReadingsFromAProfileStartTheFileDialogThere) {
  state_.inputPath = InFolder("old.pid");
  state_.inputTitle = "old.pid";
  platform_.readings = {kSix};
  platform_.profileTaken = InFolder("film.txt");
  platform_.files = {{false, ""}};
  HandleCommand(state_, platform_, IDM_OPEN, std::cout);
  EXPECT_EQ(platform_.log,
            (std::vector<std::string>{kNoneShown, "profile <dir>/film.txt", "repaint",
                                      "file start=<dir>/film.txt filter=0 ext=pid flags=0x1004",
                                      "title Pellum - old.pid"}));
}

TEST_F(OpenCommandTest, AfterAFailureTheNextDialogStartsEmpty) {
  WriteFile("film.pid", kListing);
  WriteFile("bad.pid", "no heading here\n");
  platform_.readings = {kSix, kSix, kSix};
  platform_.files = {{true, InFolder("film.pid")}, {true, InFolder("bad.pid")}, {false, ""}};
  HandleCommand(state_, platform_, IDM_OPEN, std::cout);
  HandleCommand(state_, platform_, IDM_OPEN, std::cout);
  platform_.log.clear();

  HandleCommand(state_, platform_, IDM_OPEN, std::cout);
  EXPECT_EQ(platform_.log, (std::vector<std::string>{kSixShown, "repaint", kFreshDialog,
                                                     "title Pellum - (untitled)"}));
}

// A later Open whose entries are all negative empties the points but keeps the last
// fit's coefficients and report: nothing is refitted from nothing.
TEST_F(OpenCommandTest, AllNegativeAfterAFitKeepsTheCoefficients) {
  platform_.readings = {kSix, kNone};
  platform_.files = {{false, ""}};
  HandleCommand(state_, platform_, IDM_OPEN, std::cout);
  const CalibrationCoefficients fitted = state_.coefficients;
  fs::remove(state_.reportPath);

  HandleCommand(state_, platform_, IDM_OPEN, std::cout);
  EXPECT_EQ(state_.pointCount, 0);
  EXPECT_TRUE(state_.points.empty());
  EXPECT_EQ(state_.coefficients.a1, fitted.a1);
  EXPECT_EQ(state_.coefficients.a2, fitted.a2);
  EXPECT_FALSE(fs::exists(state_.reportPath));
}

// A report that cannot be written still prints its console line, and the user is also told,
// before the file dialog, that the calibration stands without it.
TEST_F(OpenCommandTest, AnUnwritableReportIsSaidBeforeTheFileDialog) {
  state_.reportPath = folder_ + "/missing/fitdata.txt";
  platform_.readings = {kSix};
  platform_.files = {{false, ""}};
  std::ostringstream console;
  HandleCommand(state_, platform_, IDM_OPEN, console);
  EXPECT_EQ(console.str(), "ERROE: Cannot open an output file!\n");
  EXPECT_EQ(platform_.log,
            (std::vector<std::string>{
                "entry -1|-1|-1|-1|-1|-1", "repaint",
                "message Cannot write the fit report!|<dir>/missing/fitdata.txt|warning",
                kFreshDialog, "title Pellum - (untitled)"}));
}

// Readings far from their reflections are asked about before the fit, and readings that
// determine nothing are refused after it; either way nothing is written until the user
// gives a set that calibrates. Each row: the entry answers, the question's answers, what
// the shell asked, and whether the second set was fitted.
TEST_F(OpenCommandTest, DoubtfulReadingsAreAskedAboutAndUndeterminedOnesRefused) {
  const Readings swapped = {"28.45", "47.31", "65.021", "-1", "-1", "-1"};
  const std::string question =
      "question Check the readings|Readings more than 1 degree from the actual 2 theta of "
      "their reflection:\n3 1 1: reading 65.021, actual 56.122, difference +8.899|Use "
      "anyway|Edit";
  const std::string tinyQuestion =
      "question Check the readings|Readings more than 1 degree from the actual 2 theta of "
      "their reflection:\n1 1 1: reading 0, actual 28.442, difference -28.442\n2 2 0: reading "
      "1e-320, actual 47.303, difference -47.303|Use anyway|Edit";
  const std::string refused =
      "message Warning!|The readings do not determine a calibration.|warning";
  struct Case {
    const char* name;
    std::vector<Readings> readings;
    std::vector<bool> answers;
    std::vector<std::string> log;
    bool fitted;
  };
  const std::vector<Case> cases = {
      {"Edit reopens the dialog as left",
       {swapped, kNone},
       {false},
       {kNoneShown, question, "entry 28.45|47.31|65.021|-1|-1|-1"},
       false},
      {"Use anyway fits",
       {swapped},
       {true},
       {kNoneShown, question, "repaint", kFreshDialog, "title Pellum - (untitled)"},
       true},
      {"no calibration from 0 and 1e-320",
       {{"0", "1e-320", "-1", "-1", "-1", "-1"}, kNone},
       {true},
       {kNoneShown, tinyQuestion, refused, "entry 0|1e-320|-1|-1|-1|-1"},
       false},
  };
  for (const Case& c : cases) {
    AppState state;
    state.reportPath = state_.reportPath;
    fs::remove(state.reportPath);
    HandleCreate(state, platform_);
    platform_.log.clear();
    platform_.readings.assign(c.readings.begin(), c.readings.end());
    platform_.answers.assign(c.answers.begin(), c.answers.end());
    platform_.files = {{false, ""}};
    if (!c.fitted)
      platform_.files.clear();
    HandleCommand(state, platform_, IDM_OPEN, std::cout);
    EXPECT_EQ(platform_.log, c.log) << c.name;
    EXPECT_TRUE(platform_.answers.empty()) << c.name;
    EXPECT_EQ(fs::exists(state.reportPath), c.fitted) << c.name;
    EXPECT_EQ(state.calibrated, c.fitted) << c.name;
    EXPECT_EQ(std::isfinite(state.coefficients.a1), true) << c.name;
  }
}

// A refused set leaves the last calibration whole: its points, coefficients and report.
TEST_F(OpenCommandTest, ARefusedSetKeepsTheLastCalibration) {
  platform_.readings = {kSix, {"28.45", "28.450000000000003", "-1", "-1", "-1", "-1"}, kNone};
  platform_.answers = {true};
  platform_.files = {{false, ""}};
  HandleCommand(state_, platform_, IDM_OPEN, std::cout);
  const CalibrationCoefficients fitted = state_.coefficients;
  std::ifstream report(state_.reportPath);
  const std::string before((std::istreambuf_iterator<char>(report)), {});

  HandleCommand(state_, platform_, IDM_OPEN, std::cout);
  EXPECT_EQ(state_.coefficients.a1, fitted.a1);
  EXPECT_TRUE(state_.calibrated);
  EXPECT_EQ(state_.fittedPoints.size(), 6u);
  std::ifstream after(state_.reportPath);
  EXPECT_EQ(std::string((std::istreambuf_iterator<char>(after)), {}), before);
}

// What the window's panel shows is the calibration the chart shows from the moment of the
// fit: at the repaint the fit asks for, and through the file dialog that follows, where the
// user judges it. A refused set changes neither.
TEST_F(OpenCommandTest, ThePanelFollowsTheFitAtOnce) {
  std::vector<std::string> atRepaint, atFileDialog;
  platform_.onCalibrationChanged = [&] { atRepaint.push_back(CalibrationSummary(state_)); };
  platform_.onOpenFileDialog = [&] { atFileDialog.push_back(CalibrationSummary(state_)); };
  platform_.readings = {kSix,
                        {"28.45", "47.30", "-1", "-1", "-1", "-1"},
                        {"28.45", "28.450000000000003", "-1", "-1", "-1", "-1"},
                        kNone};
  platform_.answers = {true};
  platform_.files = {{false, ""}, {false, ""}};
  HandleCommand(state_, platform_, IDM_OPEN, std::cout);
  const std::string six = CalibrationSummary(state_);
  HandleCommand(state_, platform_, IDM_OPEN, std::cout);
  const std::string two = CalibrationSummary(state_);
  EXPECT_NE(six, two);
  EXPECT_EQ(atRepaint, (std::vector<std::string>{six, two}));
  EXPECT_EQ(atFileDialog, (std::vector<std::string>{six, two}));
  // Refused (no calibration), then left with every reading "-1": the two-reading one stays.
  HandleCommand(state_, platform_, IDM_OPEN, std::cout);
  EXPECT_EQ(atRepaint.size(), 2u);
  EXPECT_EQ(CalibrationSummary(state_), two);
}

// The Info after converting a profile counts its rows outside the calibrated range, and the
// correction chart notes them.
TEST_F(OpenCommandTest, TheInfoCountsExtrapolatedRows) {
  WriteFile("scan.txt", "2Theta Counts\n20.0 5\n30.0 50\n90.0 7\n95.0 9\n");
  platform_.readings = {kSix};
  platform_.files = {{true, InFolder("scan.txt")}};
  HandleCommand(state_, platform_, IDM_OPEN, std::cout);
  EXPECT_EQ(state_.rowsOutsideRange, 3u);
  const std::string expected =
      "message Info|Output file is saved as <dir>/scan.pro\n3 rows lie outside the calibrated "
      "range, 28.45 to 88.04 degrees: converted by extrapolation.\nFit report is saved as "
      "<dir>/fitdata.txt|information";
  EXPECT_NE(std::find(platform_.log.begin(), platform_.log.end(), expected), platform_.log.end())
      << ::testing::PrintToString(platform_.log);
}

// The window's model rule applies from the next calibration and is kept between runs; the
// calibration shown keeps the rule that chose it, and the record and CIF name it.
TEST_F(OpenCommandTest, TheModelSettingIsKeptAndAppliesToTheNextFit) {
  state_.modelSettingPath = InFolder("config/Pellum/model");
  platform_.readings = {kSix, kSix};
  platform_.files = {{false, ""}, {false, ""}};
  HandleCommand(state_, platform_, IDM_OPEN, std::cout);
  EXPECT_FALSE(state_.quality.straightLine) << "the report's rule keeps the quadratic";
  HandleCommand(state_, platform_, MenuCommand::ModelSignificant, std::cout);
  EXPECT_EQ(state_.modelRule, ModelRule::Significant);
  EXPECT_FALSE(state_.quality.straightLine) << "the calibration shown stays as it was";
  EXPECT_EQ(state_.calibrationRule, ModelRule::ChiSquare);
  HandleCommand(state_, platform_, IDM_OPEN, std::cout);
  EXPECT_TRUE(state_.quality.straightLine) << "a3 is not significant: the straight line";
  EXPECT_EQ(state_.coefficients.a3, 0.0);
  EXPECT_EQ(state_.calibrationRule, ModelRule::Significant);
  EXPECT_TRUE(state_.quadraticTerm.defined);
  EXPECT_FALSE(state_.quadraticTerm.significant);

  AppState next;
  next.modelSettingPath = state_.modelSettingPath;
  HandleCreate(next, platform_);
  EXPECT_EQ(next.modelRule, ModelRule::Significant);

  platform_.saves = {{true, InFolder("film.cal")}};
  HandleCommand(state_, platform_, MenuCommand::SaveCalibration, std::cout);
  std::ifstream record(InFolder("film.cal"));
  const std::string text((std::istreambuf_iterator<char>(record)), {});
  EXPECT_NE(text.find("model straight-line\nrule significant\n"), std::string::npos) << text;

  // A setting that cannot be written is said once a run.
  platform_.log.clear();
  state_.modelSettingPath = InFolder("film.cal/model");
  HandleCommand(state_, platform_, MenuCommand::ModelLine, std::cout);
  HandleCommand(state_, platform_, MenuCommand::ModelQuadratic, std::cout);
  EXPECT_EQ(platform_.log, (std::vector<std::string>{
                               "message Cannot remember the model!|<dir>/film.cal/model|warning"}));
  EXPECT_EQ(state_.modelRule, ModelRule::Quadratic);
}

// Save Calibration and Copy Calibration: nothing before a calibration, then the record in
// the chosen file (or the failure with its path) and the summary on the clipboard.
TEST_F(OpenCommandTest, TheCalibrationIsSavedAndCopied) {
  HandleCommand(state_, platform_, MenuCommand::SaveCalibration, std::cout);
  HandleCommand(state_, platform_, MenuCommand::CopyCalibration, std::cout);
  EXPECT_TRUE(platform_.log.empty());

  OpenTheListing();
  platform_.log.clear();
  platform_.saves = {{true, InFolder("film.cal")}, {true, InFolder("missing/film.cal")}};
  HandleCommand(state_, platform_, MenuCommand::SaveCalibration, std::cout);
  HandleCommand(state_, platform_, MenuCommand::SaveCalibration, std::cout);
  HandleCommand(state_, platform_, MenuCommand::CopyCalibration, std::cout);
  EXPECT_EQ(platform_.log,
            (std::vector<std::string>{
                "save title=Save Calibration filter=*.cal start=<dir>/film.cal",
                "message Info|Calibration is saved as <dir>/film.cal|information",
                "save title=Save Calibration filter=*.cal start=<dir>/film.cal",
                "message Cannot write the calibration file!|<dir>/missing/film.cal|error",
                "clipboard Model: quadratic"}));
  std::ifstream record(InFolder("film.cal"));
  CalibrationRecord back;
  std::string error;
  ASSERT_TRUE(ReadCalibrationRecord(record, back, error)) << error;
  EXPECT_EQ(back.coefficients.a3, state_.coefficients.a3);
  EXPECT_EQ(back.points.size(), 6u);
  EXPECT_NE(platform_.clipboard.find("3 3 1"), std::string::npos);
}

// Export CIF: nothing before a calibration; then the calibration with the file the last Open
// converted, refused over that file or its output, refused once the file changed, and the
// calibration alone after an Open that converted nothing.
TEST_F(OpenCommandTest, TheCifHoldsTheCalibrationAndTheLastConversion) {
  HandleCommand(state_, platform_, MenuCommand::ExportCif, std::cout);
  EXPECT_TRUE(platform_.log.empty());

  OpenTheListing();
  platform_.log.clear();
  platform_.saves = {{true, InFolder("film.cif")}, {true, InFolder("film.dat")}};
  HandleCommand(state_, platform_, MenuCommand::ExportCif, std::cout);
  HandleCommand(state_, platform_, MenuCommand::ExportCif, std::cout);
  const std::string save = "save title=Export CIF filter=*.cif start=<dir>/film.cif";
  EXPECT_EQ(platform_.log,
            (std::vector<std::string>{
                save, "message Info|CIF is saved as <dir>/film.cif|information", save,
                "message The CIF would replace a file it is made from!|<dir>/film.dat|error"}));
  std::ifstream in(InFolder("film.cif"));
  const std::string cif((std::istreambuf_iterator<char>(in)), {});
  EXPECT_NE(
      cif.find("peak listing " + InFolder("film.pid") + ", converted to " + InFolder("film.dat")),
      std::string::npos);
  EXPECT_NE(cif.find("\n2 47.30"), std::string::npos) << cif;

  WriteFile("film.pid", std::string(kListing) + "56.13 1.6 9 200 40.0 16\n");
  platform_.log.clear();
  platform_.saves = {{true, InFolder("film.cif")}};
  HandleCommand(state_, platform_, MenuCommand::ExportCif, std::cout);
  EXPECT_EQ(platform_.log.back(),
            "message The input file has changed since it was converted!|<dir>/film.pid|error");

  platform_.readings = {kSix};
  platform_.files = {{false, ""}};
  HandleCommand(state_, platform_, IDM_OPEN, std::cout);
  platform_.log.clear();
  platform_.saves = {{true, InFolder("alone.cif")}};
  HandleCommand(state_, platform_, MenuCommand::ExportCif, std::cout);
  EXPECT_EQ(platform_.log.front(),
            "save title=Export CIF filter=*.cif start=<dir>/film.cif");
  std::ifstream alone(InFolder("alone.cif"));
  const std::string calibrationOnly((std::istreambuf_iterator<char>(alone)), {});
  EXPECT_NE(calibrationOnly.find("data_calibration"), std::string::npos);
  EXPECT_EQ(calibrationOnly.find("film.pid"), std::string::npos);
}

}  // namespace
}  // namespace pellum
