#include "front/cli/cli_run.h"
#include "front/cli/chart_output.h"

#include <gtest/gtest.h>

#include <cmath>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>

namespace pellum::cli {
namespace {

namespace fs = std::filesystem;

class RunCalibrationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("pellum-cli-" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  int Run(std::vector<std::string> arguments, std::string report = "") {
    const ParsedCommandLine parsed = ParseCommandLine(arguments);
    EXPECT_EQ(parsed.error, "");
    CliOptions options = parsed.options;
    options.reportPath = report.empty() ? Report().string() : report;
    out_.str("");
    err_.str("");
    return RunCalibration(options, out_, err_);
  }
  fs::path Report() const { return folder_ / "fitdata.txt"; }
  void Write(const std::string& name, const std::string& text) {
    std::ofstream(folder_ / name, std::ios::binary) << text;
  }

  fs::path folder_;
  std::ostringstream out_;
  std::ostringstream err_;
};

TEST_F(RunCalibrationTest, PrintsTheChosenModelAndExactCoefficients) {
  EXPECT_EQ(Run({"--two-theta", "28.45,47.31,56.13,69.14,76.39,88.04"}), kExitDone);
  EXPECT_EQ(out_.str(),
            "model quadratic\n"
            "a1 -0.006215050010224119\n"
            "a2 0.9999774605577304\n"
            "a3 -4.6702307825325454e-07\n"
            "delta 1.098727098032948e+34\n"
            "residual 111 28.45 28.442 28.44276569321011 -0.0007656932101092195\n"
            "residual 220 47.31 47.303 47.30167330106272 0.0013266989372766602\n"
            "residual 311 56.13 56.122 56.12104841897307 0.0009515810269320468\n"
            "residual 400 69.14 69.13 69.12999404403617 5.9559638287964844e-06\n"
            "residual 331 76.39 76.376 76.37933788053252 -0.003337880532512827\n"
            "residual 422 88.04 88.03 88.02818066218467 0.0018193378153341655\n"
            "rms 0.001717721097953796\n"
            "max 0.003337880532512827\n"
            "su_a1 0.008776385051821883\n"
            "su_a2 0.0003211248721083867\n"
            "su_a3 2.725339742558965e-06\n"
            "a3_significant no 0.1713632509592151\n"
            "range 28.45 88.04\n");
  EXPECT_EQ(err_.str(), "");
  EXPECT_TRUE(fs::exists(Report()));
}

// Each --model as defined; the report is the same whichever is kept, and the record and the
// CIF name a rule other than the report's.
TEST_F(RunCalibrationTest, TheModelOptionChoosesTheModel) {
  const std::string six = "28.45,47.31,56.13,69.14,76.39,88.04";
  const std::string at = folder_.string() + "/";
  const auto read = [&](const std::string& name) {
    std::ifstream in(folder_ / name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
  };
  ASSERT_EQ(Run({"--two-theta", six, "--calibration-out", at + "default.cal"}), kExitDone);
  const std::string defaultOut = out_.str();
  const std::string report = read("fitdata.txt");
  EXPECT_EQ(read("default.cal").find("rule"), std::string::npos);
  const struct {
    const char* rule;
    const char* model;
    const char* a3;
  } cases[] = {
      {"chi-square", "model quadratic\n", "a3 -4.6702307825325454e-07\n"},
      {"quadratic", "model quadratic\nrule quadratic\n", "a3 -4.6702307825325454e-07\n"},
      {"line", "model straight-line\nrule line\n", "a3 0\n"},
      // a3 = -4.7e-07 with su 2.7e-06: t = 0.17, far below Student's 3.18 for 3 degrees.
      {"significant", "model straight-line\nrule significant\n", "a3 0\n"},
  };
  for (const auto& c : cases) {
    const std::string cal = at + c.rule + ".cal";
    ASSERT_EQ(Run({"--two-theta", six, "--model", c.rule, "--calibration-out", cal, "--cif",
                   at + c.rule + ".cif"}),
              kExitDone)
        << err_.str();
    EXPECT_TRUE(out_.str().starts_with(c.model)) << out_.str();
    EXPECT_NE(out_.str().find(c.a3), std::string::npos) << c.rule;
    EXPECT_NE(out_.str().find("\na3_significant no 0.1713632509592151\nrange "), std::string::npos);
    EXPECT_EQ(read("fitdata.txt"), report) << "the report is the fit's, whatever is kept";
    const bool named = std::string(c.rule) != "chi-square";
    EXPECT_EQ(read(std::string(c.rule) + ".cal").find(std::string("\nrule ") + c.rule + "\n") !=
                  std::string::npos,
              named);
    EXPECT_EQ(
        read(std::string(c.rule) + ".cif").find(std::string("chosen by the rule ") + c.rule) !=
            std::string::npos,
        named);
    if (!named) {
      EXPECT_EQ(out_.str(), defaultOut);
    }
  }
  // A kept record says its rule again when applied.
  ASSERT_EQ(Run({"--calibration", at + "significant.cal"}), kExitDone) << err_.str();
  EXPECT_TRUE(out_.str().starts_with("model straight-line\nrule significant\n"));
}

TEST_F(RunCalibrationTest, TwoReadingsTakeTheStraightLine) {
  EXPECT_EQ(Run({"--two-theta", "28.45,-1,-1,-1,-1,88.04"}), kExitDone);
  EXPECT_EQ(out_.str().substr(0, 20), "model straight-line\n");
  EXPECT_NE(out_.str().find("\na3 0\n"), std::string::npos);
  // Two points leave no degree of freedom: no uncertainty can be estimated.
  EXPECT_EQ(out_.str().find("su_a"), std::string::npos);
  EXPECT_NE(out_.str().find("\nrange 28.45 88.04\n"), std::string::npos);
}

TEST_F(RunCalibrationTest, RefusalsGoToStandardErrorWithStatusTwo) {
  struct Case {
    const char* list;
    const char* err;
  };
  const Case cases[] = {
      {"150,28", "Warning!: 2 theta value must be below 100.\n"},
      {"28,28", "Warning!: At least two reflections with different 2 theta values are needed.\n"},
      {"28.4,abc",
       "Warning!: 2 theta value must be a number: reading 2 (2 2 0), \"abc\", is not a number.\n"},
      {"28.4,,47.3", "Warning!: 2 theta value must be a number: reading 2 (2 2 0) is empty.\n"},
      {"28.45,47.31,,,,",
       "Warning!: 2 theta value must be a number: reading 3 (3 1 1) is empty.\n"},
      {"28.4", "Warning!: At least two reflections with different 2 theta values are needed.\n"},
      {"-1,-2,-3", "pellum-cli: every reading is negative (not available): nothing to calibrate\n"},
      // A digit typed the wrong way round, and a decimal-comma list read as six readings.
      {"28.45,47.31,65.021",
       "Check the readings: Readings more than 1 degree from the actual 2 theta of their "
       "reflection:\n3 1 1: reading 65.021, actual 56.122, difference +8.899\n"},
      {"28,45,47,31,56,13",
       "Check the readings: Readings more than 1 degree from the actual 2 theta of their "
       "reflection:\n2 2 0: reading 45, actual 47.303, difference -2.303\n"
       "3 1 1: reading 47, actual 56.122, difference -9.122\n"
       "4 0 0: reading 31, actual 69.130, difference -38.130\n"
       "3 3 1: reading 56, actual 76.376, difference -20.376\n"
       "4 2 2: reading 13, actual 88.030, difference -75.030\n"},
      // Readings that pass validation yet determine nothing, once the offset is allowed.
      {"0,1e-320 --max-offset 100", "Warning!: The readings do not determine a calibration.\n"},
      {"28.365,28.365000000000002 --max-offset 100",
       "Warning!: The readings do not determine a calibration.\n"},
  };
  for (const Case& c : cases) {
    fs::remove(Report());
    Write("film.txt", "header\n30.0 100\n");
    std::vector<std::string> arguments = {"--two-theta"};
    std::istringstream words(c.list);
    for (std::string word; words >> word;)
      arguments.push_back(word);
    arguments.push_back((folder_ / "film.txt").string());
    EXPECT_EQ(Run(arguments), kExitRefused) << c.list;
    EXPECT_FALSE(fs::exists(folder_ / "film.pro")) << c.list;
    EXPECT_EQ(err_.str(), c.err) << c.list;
    EXPECT_EQ(out_.str(), "") << c.list;
    EXPECT_FALSE(fs::exists(Report())) << c.list;
  }
}

TEST_F(RunCalibrationTest, ReadingsLongerThanAnEntryAreRefusedNotCut) {
  // 28.400000000000000 is 18 characters and is taken; one more would be cut away unseen.
  EXPECT_EQ(Run({"--two-theta", "28.400000000000000,47.3"}), kExitDone);
  EXPECT_EQ(Run({"--two-theta", "28.400000000000000abc,47.3"}), kExitRefused);
}

TEST_F(RunCalibrationTest, ConvertsEachFileAndGoesOnAfterAFailure) {
  Write("film.pid", "Title\n2-Theta d I1 I2 Int\n30.0 2.9 1 2 500\n31.0 2.8\n");
  Write("notes.doc", "x\n");
  EXPECT_EQ(Run({"--two-theta", "28.45,47.31,56.13,69.14,76.39,88.04",
                 (folder_ / "notes.doc").string(), (folder_ / "film.pid").string()}),
            kExitFileFailed);
  const std::string dat = (folder_ / "film.dat").string();
  EXPECT_NE(out_.str().find("Info: Output file is saved as " + dat + "\n"), std::string::npos);
  EXPECT_EQ(err_.str(), "Cannot open a file!: " + (folder_ / "notes.doc").string() +
                            " (not a listing (.pid) or profile (.txt))\n" +
                            (folder_ / "film.pid").string() +
                            ": 1 line skipped (empty, or fewer fields than a data line needs)\n" +
                            (folder_ / "film.pid").string() +
                            ": 1 line outside the calibrated range, converted by extrapolation\n");
  EXPECT_TRUE(fs::exists(dat));

  // Each file that is not converted says why.
  Write("a.dat", "x\n");
  Write("noext", "x\n");
  Write("film.pid.bak", "x\n");
  fs::create_directory(folder_ / "folder.pid");
  const std::pair<std::string, std::string> why[] = {
      {"a.dat", "not a listing (.pid) or profile (.txt)"},
      {"noext", "not a listing (.pid) or profile (.txt)"},
      {"film.pid.bak", "not a listing (.pid) or profile (.txt)"},
      {"missing.pid", "no such file"},
      {"missing.txt", "no such file"},
      {"folder.pid", "a folder, not a file"},
  };
  for (const auto& [name, reason] : why) {
    const std::string path = (folder_ / name).string();
    EXPECT_EQ(Run({"--two-theta", "28.45,47.31", path}), kExitFileFailed) << name;
    EXPECT_EQ(err_.str(), "Cannot open a file!: " + path + " (" + reason + ")\n") << name;
  }
}

TEST_F(RunCalibrationTest, RelativeFileNamesBecomeAbsoluteInTheListingsFirstLine) {
  Write("film.pid", "2-Theta d I1 I2 Int\n30.0 2.9 1 2 500\n");
  const fs::path previous = fs::current_path();
  fs::current_path(folder_);
  const int status = Run({"--two-theta", "28.45,47.31", "film.pid"});
  fs::current_path(previous);
  EXPECT_EQ(status, kExitDone);
  std::ifstream dat(folder_ / "film.dat");
  std::string firstLine;
  std::getline(dat, firstLine);
  EXPECT_EQ(firstLine, (folder_ / "film.dat").string());
}

// Each row a way a command could destroy what the user has; "@" stands for the folder.
TEST_F(RunCalibrationTest, NothingTheUserHasIsLost) {
  const std::string listing = "2-Theta d I1 I2 Int\n30.0 2.9 1 2 500\n";
  const std::string profile = "header\n30.0 100\n30.1 200\n";
  struct Case {
    const char* name;
    std::vector<std::string> files;  // made before the run (listing for .pid, else profile)
    std::vector<std::string> links;  // "link>target"
    std::vector<std::string> arguments;
    std::string report;  // "" for fitdata.txt in the folder
    int status;
    std::vector<std::string> said;  // on standard error
  };
  const std::string tt = "28.45,47.31,56.13,69.14,76.39,88.04";
  const std::vector<Case> cases = {
      {"same base name",
       {"film.2024-01-05.txt", "film.2024-01-06.txt"},
       {},
       {"--two-theta", tt, "@/film.2024-01-05.txt", "@/film.2024-01-06.txt"},
       "",
       kExitFileFailed,
       {"Two inputs give the same output!: @/film.pro"}},
      {"report names an input",
       {"film.pid"},
       {},
       {"--two-theta", tt, "@/film.pid"},
       "@/film.pid",
       kExitRefused,
       {"the report would replace the input file"}},
      {"report is the run's own input",
       {"fitdata.txt"},
       {},
       {"--two-theta", tt, "@/fitdata.txt"},
       "",
       kExitRefused,
       {"the report would replace the input file"}},
      {"report is an output",
       {"film.pid"},
       {},
       {"--two-theta", tt, "@/film.pid"},
       "@/film.dat",
       kExitRefused,
       {"the report would be the output"}},
      {"output links to its input",
       {"film.pid"},
       {"film.dat>film.pid"},
       {"--two-theta", tt, "@/film.pid"},
       "",
       kExitFileFailed,
       {"The output would replace an input file!: @/film.dat"}},
      {"output is another input",
       {"a.pid", "a.txt"},
       {"a.pro>a.pid"},
       {"--two-theta", tt, "@/a.txt", "@/a.pid"},
       "",
       kExitFileFailed,
       {"The output would replace an input file!: @/a.pro"}},
      {"reading too long",
       {"film.pid"},
       {},
       {"--two-theta", "2.8365000000000e+01,47.31", "@/film.pid"},
       "",
       kExitRefused,
       {"\"2.8365000000000e+01\" is longer than the 18"}},
      {"unknown chart kind",
       {"film.pid"},
       {},
       {"--two-theta", tt, "--chart", "@/c.gif", "@/film.pid"},
       "",
       kExitRefused,
       {"must end in .svg, .png or .pdf"}},
      {"chart folder missing",
       {"film.pid"},
       {},
       {"--two-theta", tt, "--chart", "@/no/c.svg", "@/film.pid"},
       "",
       kExitRefused,
       {"the chart's folder does not exist"}},
      {"correction chart of an unknown kind",
       {"film.pid"},
       {},
       {"--two-theta", tt, "--correction-chart", "@/k.gif", "@/film.pid"},
       "",
       kExitRefused,
       {"must end in .svg, .png or .pdf"}},
      {"correction chart over the chart",
       {"film.pid"},
       {},
       {"--two-theta", tt, "--chart", "@/c.svg", "--correction-chart", "@/c.svg", "@/film.pid"},
       "",
       kExitRefused,
       {"the correction chart would replace the chart"}},
      {"correction chart over an input",
       {"film.pid"},
       {},
       {"--two-theta", tt, "--correction-chart", "@/film.pid", "@/film.pid"},
       "",
       kExitRefused,
       {"must end in .svg"}},
      {"calibration record names an input",
       {"film.pid"},
       {},
       {"--two-theta", tt, "--calibration-out", "@/film.pid", "@/film.pid"},
       "",
       kExitRefused,
       {"the calibration record would replace the input file"}},
      {"calibration record is the report",
       {"film.pid"},
       {},
       {"--two-theta", tt, "--calibration-out", "@/fitdata.txt", "@/film.pid"},
       "",
       kExitRefused,
       {"the calibration record would replace the report"}},
      {"a profile given as the calibration",
       {"film.pid", "film.txt"},
       {"film.dat>film.txt"},
       {"--calibration", "@/film.txt", "@/film.pid"},
       "",
       kExitRefused,
       {"cannot use the calibration @/film.txt: not a Pellum calibration record"}},
      {"CIF is an input",
       {"film.pid"},
       {},
       {"--two-theta", tt, "--cif", "@/film.pid", "@/film.pid"},
       "",
       kExitRefused,
       {"the CIF would replace the input file"}},
      {"CIF is an output",
       {"film.pid"},
       {},
       {"--two-theta", tt, "--cif", "@/film.dat", "@/film.pid"},
       "",
       kExitRefused,
       {"the CIF would be the output"}},
      {"CIF is the calibration record",
       {"film.pid"},
       {},
       {"--two-theta", tt, "--calibration-out", "@/a.cal", "--cif", "@/a.cal", "@/film.pid"},
       "",
       kExitRefused,
       {"the CIF would replace the calibration record"}},
      {"CIF cannot be written",
       {"film.pid"},
       {},
       {"--two-theta", tt, "--cif", "@/no/film.cif", "@/film.pid"},
       "",
       kExitFileFailed,
       {"Cannot write the CIF file!: @/no/film.cif"}},
      {"report cannot be written",
       {"film.pid"},
       {},
       {"--two-theta", tt, "@/film.pid"},
       "@/no/fitdata.txt",
       kExitFileFailed,
       {"ERROE: Cannot open an output file!", "Cannot write the fit report!: @/no/fitdata.txt"}},
  };
  const auto at = [&](std::string text) {
    for (std::size_t i; (i = text.find('@')) != std::string::npos;)
      text.replace(i, 1, folder_.string());
    return text;
  };
  for (const Case& c : cases) {
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    for (const std::string& f : c.files)
      Write(f, f.ends_with(".pid") ? listing : profile);
    bool linked = true;
    for (const std::string& l : c.links) {
      const std::size_t gt = l.find('>');
      std::error_code error;
      fs::create_symlink(l.substr(gt + 1), folder_ / l.substr(0, gt), error);
      linked = linked && !error;
    }
    if (!linked)
      continue;  // no symbolic links here (Wine)
    std::vector<std::string> arguments;
    for (const std::string& a : c.arguments)
      arguments.push_back(at(a));
    EXPECT_EQ(Run(arguments, at(c.report)), c.status) << c.name << "\n" << err_.str();
    for (const std::string& said : c.said)
      EXPECT_NE(err_.str().find(at(said)), std::string::npos) << c.name << "\n" << err_.str();
    for (const std::string& f : c.files) {
      std::ifstream in(folder_ / f, std::ios::binary);
      std::stringstream bytes;
      bytes << in.rdbuf();
      EXPECT_EQ(bytes.str(), f.ends_with(".pid") ? listing : profile) << c.name << ": " << f;
    }
    if (c.status == kExitRefused &&
        std::find(c.files.begin(), c.files.end(), "fitdata.txt") == c.files.end()) {
      EXPECT_FALSE(fs::exists(Report())) << c.name;
    }
    for (const auto& entry : fs::directory_iterator(folder_))
      EXPECT_NE(entry.path().filename().string()[0], '.') << c.name << ": stray file";
  }
}

// The CIF holds a block for each file converted, none for one that failed; a kept
// calibration writes one too.
TEST_F(RunCalibrationTest, TheCifHoldsWhatWasConverted) {
  const auto cif = [&] {
    std::ifstream in(folder_ / "film.cif", std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
  };
  Write("film.pid", "2-Theta d I1 I2 Int\n30.0 2.9 1 2 500\n");
  Write("scan.txt", "2Theta Counts\n30.0 50\n31.0 200\n");
  const std::string at = folder_.string() + "/";
  EXPECT_EQ(Run({"--two-theta", "28.45,47.31,56.13", "--calibration-out", at + "film.cal", "--cif",
                 at + "film.cif", at + "film.pid", at + "missing.txt", at + "scan.txt"}),
            kExitFileFailed);
  std::string written = cif();
  EXPECT_TRUE(written.starts_with("#\\#CIF_1.1\n"));
  EXPECT_NE(written.find("\ndata_film.pid\n"), std::string::npos);
  EXPECT_NE(written.find("\ndata_scan.txt\n"), std::string::npos);
  EXPECT_EQ(written.find("missing"), std::string::npos);
  EXPECT_NE(written.find("\n2 31 "), std::string::npos) << written;  // point 2 of scan.txt

  ASSERT_EQ(Run({"--calibration", at + "film.cal", "--cif", at + "film.cif"}), kExitDone)
      << err_.str();
  written = cif();
  // Applied from a record, nothing was fitted: the CIF names the record instead.
  EXPECT_NE(written.find("model quadratic, read from the calibration record " + at + "film.cal"),
            std::string::npos);
  EXPECT_EQ(written.find("weighted least squares"), std::string::npos);
  EXPECT_EQ(written.find("data_film.pid"), std::string::npos);
}

const std::string kExampleProfile = PELLUM_SOURCE_DIR "/examples/film-profile.txt";
const std::string kFluoriteProfile = PELLUM_SOURCE_DIR "/examples/fluorite-profile.txt";

// The model and coefficient lines of a calibration's output.
std::string Calibration(const std::string& out) {
  return out.substr(out.find("model "));
}

TEST_F(RunCalibrationTest, FindSiliconPrintsEachReflectionAndTheReadings) {
  EXPECT_EQ(Run({"--find-silicon", kExampleProfile}), kExitDone);
  EXPECT_EQ(out_.str(),
            "peak 111 28.3650 3139.3 0.1435 165.8 0.0004\n"
            "peak 220 47.2097 1597.0 0.1549 91.2 0.0150\n"
            "peak 311 56.0205 959.3 0.1767 83.7 0.0010\n"
            "peak 400 69.0206 208.7 0.1964 29.2 0.0021\n"
            "peak 331 76.2573 323.9 0.1962 41.7 0.0016\n"
            "peak 422 87.9037 395.6 0.2135 44.7 0.0015\n"
            "two-theta 28.3650,47.2097,56.0205,69.0206,76.2573,87.9037\n");
  EXPECT_EQ(err_.str(), "");
  EXPECT_FALSE(fs::exists(Report()));
}

TEST_F(RunCalibrationTest, ListLinesPrintsTheReference) {
  EXPECT_EQ(Run({"--list-lines"}), kExitDone);
  EXPECT_EQ(out_.str(),
            "standard si\n"
            "wavelength 1.5405929\n"
            "line 1 1 1 3.135586 28.442000 100.0\n"
            "line 2 2 0 1.920113 47.303000 64.5\n"
            "line 3 1 1 1.637496 56.122000 37.5\n"
            "line 4 0 0 1.357731 69.130000 9.7\n"
            "line 3 3 1 1.245943 76.376000 14.3\n"
            "line 4 2 2 1.108585 88.030000 19.6\n");
  EXPECT_EQ(Run({"--list-lines", "--standard", "si-640e", "--radiation", "cr"}), kExitDone);
  EXPECT_EQ(out_.str(),
            "standard si-640e 5.431179\n"
            "wavelength 2.289726\n"
            "line 1 1 1 3.135693 42.828322 100.0\n"
            "line 2 2 0 1.920212 73.198884 60.5\n"
            "line 3 1 1 1.637562 88.713925 39.2\n");
  EXPECT_EQ(Run({"--list-lines", "--standard", "al2o3-676a", "--lattice", "4.76,13"}), kExitDone);
  EXPECT_EQ(out_.str().rfind("standard al2o3-676a 4.76 13\nwavelength 1.5405929\nline 0 1 2 ", 0),
            0u);
  EXPECT_EQ(err_.str(), "");
  EXPECT_FALSE(fs::exists(Report()));
}

// The residual lines' numbers: reading, actual, calibrated, residual.
std::vector<std::array<double, 4>> ResidualsOf(const std::string& out) {
  std::vector<std::array<double, 4>> rows;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("residual ", 0) != 0)
      continue;
    std::vector<std::string> fields;
    std::istringstream words(line);
    for (std::string word; words >> word;)
      fields.push_back(word);
    std::array<double, 4> row{};
    for (std::size_t i = 0; i < 4; ++i)
      row[i] = std::stod(fields[fields.size() - 4 + i]);
    rows.push_back(row);
  }
  return rows;
}

// Readings of another reference calibrate: silicon SRM 640e on a chromium camera and LaB6 on
// a copper one. The actual values are the lines' Bragg angles, and the residuals are those of
// a least-squares quadratic: orthogonal to 1, x and x^2.
TEST_F(RunCalibrationTest, ReadingsOfAnotherReferenceCalibrate) {
  struct Case {
    std::vector<std::string> options;
    std::string readings;
    double a, wavelength;
    std::vector<int> n;  // h^2 + k^2 + l^2 of each line read
  };
  const std::vector<Case> cases = {
      {{"--standard", "si-640e", "--radiation", "cr"},
       "42.861,73.215,88.702",
       5.431179,
       2.2897260,
       {3, 8, 11}},
      {{"--standard", "lab6-660c"},
       "21.37,30.39,37.45,43.51,48.97,-1,63.23,67.55,71.76",
       4.156826,
       1.5405929,
       {1, 2, 3, 4, 5, 8, 9, 10}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> arguments = {"--two-theta", c.readings};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    ASSERT_EQ(Run(arguments), kExitDone) << err_.str();
    EXPECT_EQ(out_.str().rfind("model quadratic\n", 0), 0u);
    const auto rows = ResidualsOf(out_.str());
    ASSERT_EQ(rows.size(), c.n.size());
    double sum[3] = {0, 0, 0}, scale[3] = {0, 0, 0};
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const auto& [x, actual, calibrated, residual] = rows[i];
      const double d = c.a / std::sqrt(double(c.n[i]));
      EXPECT_NEAR(actual, 360.0 / std::numbers::pi * std::asin(c.wavelength / (2 * d)), 1e-9);
      EXPECT_NEAR(residual, actual - calibrated, 1e-12);
      for (int p = 0; p < 3; ++p) {
        sum[p] += residual * std::pow(x, p);
        scale[p] += std::pow(x, p);
      }
    }
    for (int p = 0; p < 3; ++p)
      EXPECT_NEAR(sum[p] / scale[p], 0.0, 1e-9) << p;  // rounding of the normal equations
    EXPECT_EQ(err_.str(), "");
    EXPECT_TRUE(fs::exists(Report()));
  }
}

// With --standard si the road is the default's, byte for byte; hkl with a two-digit index
// keep their spaces.
TEST_F(RunCalibrationTest, TheBuiltInTableNamedIsTheDefault) {
  const std::string readings = "28.45,47.31,56.13,69.14,76.39,88.04";
  ASSERT_EQ(Run({"--two-theta", readings}), kExitDone);
  const std::string plain = out_.str();
  ASSERT_EQ(Run({"--two-theta", readings, "--standard", "si", "--radiation", "cu"}), kExitDone);
  EXPECT_EQ(out_.str(), plain);
  std::string corundum =
      "25.58,35.15,37.78,41.68,43.35,46.18,52.55,57.50,59.74,61.13,61.30,"
      "66.52,68.21,70.42,74.30,76.88";
  ASSERT_EQ(Run({"--two-theta", corundum, "--standard", "al2o3-676a"}), kExitDone) << err_.str();
  EXPECT_NE(out_.str().find("\nresidual 012 25.58 "), std::string::npos);
  EXPECT_NE(out_.str().find("\nresidual 1 0 10 76.88 "), std::string::npos) << out_.str();
}

TEST_F(RunCalibrationTest, AnotherReferencesReadingsAreCheckedAsTheTables) {
  struct Case {
    std::vector<std::string> arguments;
    std::string said;
  };
  const std::vector<Case> cases = {
      {{"--two-theta", "42.86,73.2,88.7,1", "--standard", "si-640e", "--radiation", "cr"},
       "pellum-cli: --two-theta takes at most 3 readings for si-640e, one per line below 100 "
       "degrees\n"},
      {{"--two-theta", "42.86,73.2,100", "--standard", "si-640e", "--radiation", "cr"},
       "Warning!: 2 theta value must be below 100.\n"},
      {{"--two-theta", "42.86,7x,88.7", "--standard", "si-640e", "--radiation", "cr"},
       "Warning!: 2 theta value must be a number.\n"},
      {{"--two-theta", "42.86,-1,-1", "--standard", "si-640e", "--radiation", "cr"}, "two"},
      {{"--two-theta", "42.86,37.32", "--standard", "si-640e", "--radiation", "cr"},
       "2 2 0: reading 37.32, actual 73.199, difference -35.879"},
      {{"--two-theta", "42.86,73.2", "--standard", "si-640e", "--lattice", "5.43,5.43"},
       "cubic cell"},
      {{"--two-theta", "28.4,47.3", "--radiation", "mo"}, "si-640c, si-640d or si-640e"},
      {{"--two-theta", "1,2,3,4,5,6,7", "--standard", "si"}, "at most six"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run(c.arguments), kExitRefused) << ::testing::PrintToString(c.arguments);
    EXPECT_NE(err_.str().find(c.said), std::string::npos) << err_.str();
    EXPECT_EQ(out_.str(), "");
    EXPECT_FALSE(fs::exists(Report()));
  }
}

// --trace goes with another reference: the label trace lines of its coefficients and of one
// point per reading, as with the built-in table.
TEST_F(RunCalibrationTest, AnotherReferenceTracesItsChartsLabels) {
  const struct {
    std::vector<std::string> arguments;
    long traceLines;
  } cases[] = {
      {{"--two-theta", "42.84,73.21,88.72", "--standard", "si-640e", "--radiation", "cr"}, 4 + 3},
      {{"--two-theta", "21.37,30.4,-1,43.52", "--standard", "lab6-660c"}, 4 + 3},
      {{"--two-theta", "28.45,47.31", "--standard", "si"}, 4 + 2},
  };
  for (const auto& c : cases) {
    std::vector<std::string> arguments = c.arguments;
    arguments.push_back("--trace");
    ASSERT_EQ(Run(arguments), kExitDone) << err_.str();
    const std::string out = out_.str();
    long lines = 0;
    for (std::size_t at = out.find("source: "); at != std::string::npos;
         at = out.find("source: ", at + 1))
      ++lines;
    EXPECT_EQ(lines, c.traceLines) << ::testing::PrintToString(c.arguments);
  }
}

TEST_F(RunCalibrationTest, ListLinesRefusesAnotherRadiationWithTheBuiltInTable) {
  EXPECT_EQ(Run({"--list-lines", "--radiation", "cr"}), kExitRefused);
  EXPECT_EQ(out_.str(), "");
  EXPECT_NE(err_.str().find("si-640c, si-640d or si-640e"), std::string::npos) << err_.str();
  EXPECT_EQ(Run({"--list-lines", "--standard", "lab6-660c", "--lattice", "4.1,4.1"}), kExitRefused);
  EXPECT_EQ(err_.str(), "pellum-cli: lab6-660c has a cubic cell: give it as A in angstrom\n");
}

// The found readings go the road of typed ones: the same coefficients, bit for bit.
TEST_F(RunCalibrationTest, FoundReadingsCalibrateAsTheSameReadingsTyped) {
  ASSERT_EQ(Run({"--two-theta-from", kExampleProfile}), kExitDone);
  const std::string found = out_.str();
  EXPECT_TRUE(fs::exists(Report()));
  const std::string list =
      found.substr(found.find("two-theta ") + 10,
                   found.find('\n', found.find("two-theta ")) - found.find("two-theta ") - 10);
  ASSERT_EQ(Run({"--two-theta", list}), kExitDone);
  EXPECT_EQ(Calibration(found), out_.str());
}

// A film of the reference's lines, computed as --list-lines prints them, each at its true
// two-theta + shift, of height 4000 times its relative intensity over 100.
std::string ReferenceProfile(const std::vector<std::string>& referenceOptions, double shift) {
  std::vector<std::string> arguments = {"--list-lines"};
  arguments.insert(arguments.end(), referenceOptions.begin(), referenceOptions.end());
  CliOptions options = ParseCommandLine(arguments).options;
  std::ostringstream out, err;
  EXPECT_EQ(RunCalibration(options, out, err), kExitDone) << err.str();
  std::vector<std::pair<double, double>> lines;
  std::istringstream listed(out.str());
  for (std::string word; listed >> word;) {
    if (word == "line") {
      double h, k, l, d, twoTheta, intensity;
      listed >> h >> k >> l >> d >> twoTheta >> intensity;
      lines.emplace_back(twoTheta + shift, intensity);
    }
  }
  std::string text = "2Theta Counts\n";
  for (int i = 0; i <= 9000; ++i) {
    const double x = 10.0 + 0.01 * i;
    double y = 150.0;
    for (const auto& [at, intensity] : lines)
      y += 40.0 * intensity * std::exp(-2.772588722239781 * (x - at) * (x - at) / 0.0064);
    text += std::to_string(x) + ' ' + std::to_string(y) + '\n';
  }
  return text;
}

// The readings of "two-theta LIST" in a search's output.
std::string FoundList(const std::string& out) {
  const std::size_t at = out.find("two-theta ");
  return out.substr(at + 10, out.find('\n', at) - at - 10);
}

// Without a reference option --find-lines is --find-silicon's search, the hkl spaced.
TEST_F(RunCalibrationTest, FindLinesWithoutAReferenceIsTheSiliconSearch) {
  ASSERT_EQ(Run({"--find-silicon", kExampleProfile}), kExitDone);
  std::string silicon = out_.str();
  for (const char* hkl : {"111", "220", "311", "400", "331", "422"}) {
    const std::string spaced = {hkl[0], ' ', hkl[1], ' ', hkl[2]};
    silicon.replace(silicon.find(hkl), 3, spaced);
  }
  for (const std::vector<std::string>& options :
       {std::vector<std::string>{}, std::vector<std::string>{"--standard", "si"}}) {
    std::vector<std::string> arguments = {"--find-lines", kExampleProfile};
    arguments.insert(arguments.end(), options.begin(), options.end());
    EXPECT_EQ(Run(arguments), kExitDone);
    EXPECT_EQ(out_.str(), silicon);
    EXPECT_EQ(err_.str(), "");
  }
}

// Another reference's lines found in a profile calibrate as the same readings typed, and a
// profile of another phase calibrates nothing.
TEST_F(RunCalibrationTest, AnotherReferencesLinesFoundCalibrate) {
  struct Case {
    std::vector<std::string> reference;
    double shift;
  };
  const std::vector<Case> cases = {
      {{"--standard", "lab6-660c"}, 0.12},
      {{"--standard", "si-640e", "--radiation", "cr"}, -0.2},
      {{"--standard", "al2o3-676a"}, 0.05},
      {{"--standard", "ceo2-674b", "--wavelength", "1.5406"}, 0.3},
  };
  for (const Case& c : cases) {
    const std::string name = c.reference[1];
    Write(name + ".txt", ReferenceProfile(c.reference, c.shift));
    const std::string profile = (folder_ / (name + ".txt")).string();
    std::vector<std::string> find = {"--find-lines", profile};
    find.insert(find.end(), c.reference.begin(), c.reference.end());
    ASSERT_EQ(Run(find), kExitDone) << name << err_.str();
    const std::string searched = out_.str();
    EXPECT_EQ(searched.find("not-found"), std::string::npos) << name << searched;
    EXPECT_EQ(searched.rfind("peak ", 0), 0u) << name;
    std::vector<std::string> from = {"--two-theta-from", profile};
    from.insert(from.end(), c.reference.begin(), c.reference.end());
    ASSERT_EQ(Run(from), kExitDone) << name << err_.str();
    const std::string found = out_.str();
    EXPECT_EQ(found.substr(0, found.find("model ")), searched) << name;
    std::vector<std::string> typed = {"--two-theta", FoundList(searched)};
    typed.insert(typed.end(), c.reference.begin(), c.reference.end());
    ASSERT_EQ(Run(typed), kExitDone) << name << err_.str();
    EXPECT_EQ(Calibration(found), out_.str()) << name;
  }
  // Silicon's lines are not LaB6's, and LaB6's not corundum's: refused, nothing written.
  Write("si.txt", ReferenceProfile({"--standard", "si-640e"}, 0.1));
  Write("lab6.txt", ReferenceProfile({"--standard", "lab6-660c"}, 0.1));
  const std::string si = (folder_ / "si.txt").string();
  const std::string lab6 = (folder_ / "lab6.txt").string();
  fs::remove(Report());
  struct Refusal {
    std::vector<std::string> arguments;
    std::string said;  // how standard error begins
  };
  const std::vector<Refusal> refusals = {
      {{"--find-lines", si, "--standard", "lab6-660c"},
       "Fewer than two lines found in the profile of LaB6 SRM 660c!: " + si},
      {{"--two-theta-from", si, "--standard", "lab6-660c"},
       "Fewer than two lines found in the profile of LaB6 SRM 660c!: " + si},
      {{"--two-theta-from", si, "--standard", "ceo2-674b"},
       "The lines found are not those of CeO2 SRM 674b!: " + si},
      {{"--two-theta-from", lab6, "--standard", "al2o3-676a"},
       "Fewer than two lines found in the profile of corundum SRM 676a!: " + lab6},
      {{"--find-lines", lab6, "--standard", "lab6-660c", "--wavelength", "1.5406",
        "--radiation-lines", "ka12"},
       "pellum-cli: --radiation-lines ka12 needs --radiation"},
  };
  for (const Refusal& r : refusals) {
    EXPECT_EQ(Run(r.arguments), kExitRefused) << r.said;
    EXPECT_EQ(err_.str().rfind(r.said, 0), 0u) << err_.str();
    EXPECT_FALSE(fs::exists(Report())) << r.said;
  }
}

TEST_F(RunCalibrationTest, ProfilesWithoutTwoReflectionsCalibrateNothing) {
  Write("flat.txt", "2Theta Counts\n28.0 100\n28.5 100\n47.3 100\n");
  // Two quartz lines where the film's offset could put 3 1 1 and 4 0 0.
  std::string quartz = "2Theta Counts\n";
  for (int i = 0; i <= 6500; ++i) {
    const double x = 25.0 + 0.01 * i;
    double y = 100.0;
    for (double at : {55.281, 68.280}) {
      y += 2000.0 * std::exp(-2.772588722239781 * (x - at) * (x - at) / 0.01);
    }
    quartz += std::to_string(x) + ' ' + std::to_string(y) + '\n';
  }
  Write("quartz.txt", quartz);
  const std::string two = (folder_ / "quartz.txt").string();
  Write("empty.txt", "");
  const std::string flat = (folder_ / "flat.txt").string();
  const std::string empty = (folder_ / "empty.txt").string();
  const std::string missing = (folder_ / "missing.txt").string();
  struct Case {
    std::vector<std::string> arguments;
    std::string said;
  };
  const std::vector<Case> cases = {
      {{"--find-silicon", flat},
       "Fewer than two silicon reflections found in the profile!: " + flat + "\n"},
      {{"--two-theta-from", flat},
       "Fewer than two silicon reflections found in the profile!: " + flat + "\n"},
      {{"--two-theta-from", empty}, "Invalid file format!: " + empty + "\n"},
      {{"--find-silicon", missing}, "Cannot open a file!: " + missing + "\n"},
      {{"--two-theta-from", kFluoriteProfile},
       "The lines found are not silicon's!: " + kFluoriteProfile +
           ": lines of another phase near the silicon positions: 0.7 % scale\n"},
      {{"--two-theta-from", two},
       "The lines found are not silicon's!: " + two +
           ": only two lines, not silicon's strongest\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run(c.arguments), kExitRefused) << c.said;
    EXPECT_EQ(err_.str(), c.said);
    EXPECT_FALSE(fs::exists(Report())) << c.said;
  }
  Run({"--find-silicon", flat});
  EXPECT_NE(out_.str().find("peak 111 not-found\n"), std::string::npos);
  EXPECT_NE(out_.str().find("two-theta -1,-1,-1,-1,-1,-1\n"), std::string::npos);
}

// The profile the readings come from is an input like the files: neither the report nor
// a conversion's output may replace it.
TEST_F(RunCalibrationTest, TheReadingsProfileIsKept) {
  std::ifstream example(kExampleProfile, std::ios::binary);
  std::stringstream bytes;
  bytes << example.rdbuf();
  Write("film.dat", bytes.str());
  Write("film.pid", "2-Theta d I1 I2 Int\n30.0 2.9 1 2 500\n");
  const std::string profile = (folder_ / "film.dat").string();
  EXPECT_EQ(Run({"--two-theta-from", profile, (folder_ / "film.pid").string()}), kExitFileFailed);
  EXPECT_NE(err_.str().find("The output would replace an input file!: " + profile),
            std::string::npos);
  EXPECT_EQ(Run({"--two-theta-from", profile}, profile), kExitRefused);
  EXPECT_NE(err_.str().find("the report would replace the input file"), std::string::npos);
  std::ifstream kept(profile, std::ios::binary);
  std::stringstream keptBytes;
  keptBytes << kept.rdbuf();
  EXPECT_EQ(keptBytes.str(), bytes.str());
}

// A kept calibration applied later converts byte for byte as the fit did, and writes no
// report; a file that is not a record is refused before anything is converted.
TEST_F(RunCalibrationTest, AKeptCalibrationConvertsAsTheFitDid) {
  const std::string cal = (folder_ / "film.cal").string();
  const std::string pid = (folder_ / "film.pid").string();
  const auto dat = [&] {
    std::ifstream in(folder_ / "film.dat", std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
  };
  Write("film.pid", "2-Theta d I1 I2 Int\n30.0 2.9 1 2 500\n95.5 1.0 1 2 20\n");
  ASSERT_EQ(Run({"--two-theta", "28.45,47.31,56.13,69.14", "--calibration-out", cal, pid}),
            kExitDone);
  const std::string fitted = dat();
  const std::string printed = out_.str().substr(0, out_.str().find("Info:"));
  EXPECT_EQ(err_.str(),
            pid + ": 1 line outside the calibrated range, converted by extrapolation\n");
  fs::remove(folder_ / "film.dat");
  fs::remove(Report());

  ASSERT_EQ(Run({"--calibration", cal, pid}), kExitDone) << err_.str();
  EXPECT_EQ(dat(), fitted);
  EXPECT_EQ(out_.str().substr(0, out_.str().find("Info:")), printed);
  EXPECT_FALSE(fs::exists(Report()));

  Write("bad.cal", "pellum-calibration 1\nmodel quadratic\na1 0\na2 1\n");
  EXPECT_EQ(Run({"--calibration", (folder_ / "bad.cal").string(), pid}), kExitRefused);
  EXPECT_EQ(err_.str(), "pellum-cli: cannot use the calibration " + (folder_ / "bad.cal").string() +
                            ": no a3 line\n");
  EXPECT_EQ(dat(), fitted);

  // The record is read like an input: an output reached through a link may not replace it.
  std::ifstream kept(cal, std::ios::binary);
  const std::string record((std::istreambuf_iterator<char>(kept)), {});
  fs::remove(folder_ / "film.dat");
  std::error_code error;
  fs::create_symlink("film.cal", folder_ / "film.dat", error);
  if (error)
    GTEST_SKIP() << "no symbolic links here: " << error.message();
  EXPECT_EQ(Run({"--calibration", cal, pid}), kExitFileFailed);
  EXPECT_NE(err_.str().find("The output would replace an input file!"), std::string::npos);
  std::ifstream after(cal, std::ios::binary);
  EXPECT_EQ(std::string((std::istreambuf_iterator<char>(after)), {}), record);
}

// A record is text anyone can edit: one whose readings would be refused when typed, or
// whose numbers do not follow from them, is refused with its reason and nothing is written.
TEST_F(RunCalibrationTest, AnEditedRecordIsRefusedAndNothingIsWritten) {
  const std::string cal = (folder_ / "film.cal").string();
  const std::string pid = (folder_ / "film.pid").string();
  Write("film.pid", "2-Theta d I1 I2 Int\n30.0 2.9 1 2 500\n");
  ASSERT_EQ(Run({"--two-theta", "28.45,47.31,56.13,69.14,76.39,88.04", "--calibration-out", cal}),
            kExitDone);
  std::ifstream in(cal, std::ios::binary);
  const std::string good((std::istreambuf_iterator<char>(in)), {});
  const auto edited = [&good](const std::string& from, const std::string& to) {
    std::string text = good;
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
  };
  const std::string p111 = "point 111 28.45 28.442\n", p220 = "point 220 47.31 47.303\n";
  const std::string cov =
      good.substr(good.find("covariance"), good.find("point") - good.find("covariance"));
  struct Case {
    std::string record;
    std::string reason;
  };
  const std::vector<Case> cases = {
      {edited("a1 -0.006215050010224119", "a1 -6.215050010224119"),
       "The record's coefficients do not follow from its readings"},
      {edited("a2 0.9999774605577304", "a2 1e308"),
       "The record's coefficients do not follow from its readings"},
      {edited("point 400 69.14", "point 400 -1"), "the reading of 4 0 0 is negative"},
      {"pellum-calibration 1\nmodel straight-line\na1 0\na2 1\na3 0\npoint 111 50 28.442\n"
       "point 220 50 47.303\npoint 311 50 56.122\npoint 400 50 69.13\n",
       "At least two reflections with different 2 theta values are needed."},
      {edited(p220, p111), "the reflection 1 1 1 is given twice"},
      {edited(p111 + p220, p220 + p111), "the points are not in table order"},
      {"pellum-calibration 1\nmodel quadratic\na1 0\na2 1\na3 0\npoint 111 28.45 28.442\n"
       "point 220 47.31 47.303\n",
       "a quadratic needs three different readings"},
      {edited("point 111 28.45", "point 111 29.95"), "Readings more than 1 degree"},
      {edited(cov, "covariance -1 0 0 1 0 1\n"), "the covariance has a negative variance"},
      {edited(cov, "covariance 1 0 0 1 0 1\n"), "the covariance does not follow"},
      {edited(cov, ""), "the covariance does not follow"},
  };
  for (const Case& c : cases) {
    Write("film.cal", c.record);
    fs::remove(Report());
    EXPECT_EQ(Run({"--calibration", cal, "--cif", (folder_ / "f.cif").string(), pid}), kExitRefused)
        << c.record;
    EXPECT_NE(err_.str().find("pellum-cli: cannot use the calibration " + cal + ": " + c.reason),
              std::string::npos)
        << err_.str();
    EXPECT_FALSE(fs::exists(folder_ / "film.dat"));
    EXPECT_FALSE(fs::exists(folder_ / "f.cif"));
    EXPECT_FALSE(fs::exists(Report()));
  }
  Write("film.cal", good);
  EXPECT_EQ(Run({"--calibration", cal, pid}), kExitDone) << err_.str();
}

// A calibration against another reference is kept and applied as the default's is: the
// record names the standard, its cell and the wavelength, and applied it converts and prints
// byte for byte as the fit did; the CIF holds the wavelength and the standard.
TEST_F(RunCalibrationTest, AnotherReferenceIsKeptAndAppliedAsTheFit) {
  struct Case {
    std::vector<std::string> reference;
    std::string readings;
    std::string named;  // the record's lines naming the reference
    std::string cif;    // in the CIF
  };
  const std::vector<Case> cases = {
      {{"--standard", "si-640e", "--radiation", "cr"},
       "42.861,73.215,88.702",
       "\nstandard si-640e 5.431179\nwavelength 2.289726 cr\nmodel ",
       "\n_diffrn_radiation_wavelength.value 2.289726\n_diffrn_radiation.type 'Cr K\\a~1~'\n"},
      {{"--standard", "lab6-660c"},
       "21.37,30.39,37.45,43.51,48.97,-1,63.23,67.55,71.76",
       "\nstandard lab6-660c 4.156826\nwavelength 1.5405929 cu\nmodel ",
       "\n_pd_phase.name 'LaB6 SRM 660c'\n_cell.length_a 4.156826\n"},
      {{"--standard", "al2o3-676a", "--wavelength", "1.5406"},
       "25.58,35.15,37.78,41.68,43.35,46.18,52.55,57.50,59.74,61.13,61.30,66.52,68.21,70.42,"
       "74.30,76.88",
       "\nstandard al2o3-676a 4.759091 12.991779\nwavelength 1.5406\nmodel ",
       "\n_cell.angle_gamma 120\n_diffrn_radiation_wavelength.value 1.5406\n"},
  };
  const std::string at = folder_.string() + "/";
  const auto read = [&](const std::string& name) {
    std::ifstream in(folder_ / name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
  };
  Write("film.pid", "2-Theta d I1 I2 Int\n30.0 2.9 1 2 500\n61.2 1.5 1 2 80\n");
  for (const Case& c : cases) {
    std::vector<std::string> fit = {"--two-theta",   c.readings, "--calibration-out",
                                    at + "film.cal", "--cif",    at + "fit.cif",
                                    at + "film.pid"};
    fit.insert(fit.end(), c.reference.begin(), c.reference.end());
    ASSERT_EQ(Run(fit), kExitDone) << err_.str();
    const std::string printed = out_.str(), converted = read("film.dat");
    const std::string record = read("film.cal");
    EXPECT_NE(record.find(c.named), std::string::npos) << record;
    EXPECT_NE(read("fit.cif").find(c.cif), std::string::npos) << read("fit.cif");
    fs::remove(folder_ / "film.dat");

    ASSERT_EQ(Run({"--calibration", at + "film.cal", "--cif", at + "kept.cif", at + "film.pid"}),
              kExitDone)
        << err_.str();
    EXPECT_EQ(out_.str(), printed);
    EXPECT_EQ(read("film.dat"), converted);
    EXPECT_NE(read("kept.cif").find(c.cif), std::string::npos);
    EXPECT_NE(read("kept.cif").find("read from the calibration record"), std::string::npos);
    // A kept calibration of another reference draws its chart with that reference's lines:
    // the trace of the record is the trace of the fit.
    ASSERT_EQ(Run({"--calibration", at + "film.cal", "--trace"}), kExitDone) << err_.str();
    const std::string keptTrace = out_.str().substr(out_.str().find("source:"));
    std::vector<std::string> fitTraced = {"--two-theta", c.readings, "--trace"};
    fitTraced.insert(fitTraced.end(), c.reference.begin(), c.reference.end());
    ASSERT_EQ(Run(fitTraced), kExitDone) << err_.str();
    EXPECT_EQ(keptTrace, out_.str().substr(out_.str().find("source:")));

    // An edited reference no longer meets its points: refused, nothing converted.
    // Each edit applies to the record that holds its text; the others stay as they are.
    const auto edited = [&record](const std::string& from, const std::string& to) {
      std::string text = record;
      const std::size_t where = text.find(from);
      return where == std::string::npos ? text : text.replace(where, from.size(), to);
    };
    // The first point with its actual two-theta cut short by two digits.
    const std::size_t point = record.find("point ");
    const std::string line = record.substr(point, record.find('\n', point) + 1 - point);
    const std::string cut = line.substr(0, line.size() - 3) + "\n";
    const struct {
      std::string record, reason;
    } refusals[] = {
        {edited("wavelength 2.289726 cr", "wavelength 2.2897 cr"),
         "the wavelength 2.2897 is not that of cr, 2.289726"},
        {edited("wavelength 1.5405929 cu", "wavelength 1.54059 cu"),
         "the wavelength 1.54059 is not that of cu, 1.5405929"},
        {edited("wavelength 1.5406\n", "wavelength 1.5407\n"), "is not its line's"},
        {edited(" 5.431179\n", " 5.4312\n"), "is not its line's"},
        {edited(" 4.156826\n", " 4.1569162\n"), "is not its line's"},
        {edited(line, cut), "is not its line's"},
        {edited("standard al2o3-676a ", "standard lab6-660a "), "give it as A in angstrom"},
        {edited(std::string("standard ").append(c.reference[1]), "standard si-640f"),
         "unknown standard si-640f"},
    };
    for (const auto& r : refusals) {
      if (r.record == record)
        continue;  // the edit is for another case's reference
      Write("film.cal", r.record);
      fs::remove(folder_ / "film.dat");
      EXPECT_EQ(Run({"--calibration", at + "film.cal", at + "film.pid"}), kExitRefused);
      EXPECT_NE(err_.str().find("pellum-cli: cannot use the calibration " + at + "film.cal: "),
                std::string::npos);
      EXPECT_NE(err_.str().find(r.reason), std::string::npos) << err_.str() << r.record;
      EXPECT_FALSE(fs::exists(folder_ / "film.dat"));
    }
  }
}

// Built without the chart module (without Qt, as on Windows), --chart is a usage error
// found before anything is written.
TEST_F(RunCalibrationTest, WithoutTheChartModuleAChartIsRefusedFirst) {
  if (ChartDrawingBuilt())
    GTEST_SKIP() << "this pellum-cli draws charts";
  Write("film.pid", "2-Theta d I1 I2 Int\n30.0 2.9 1 2 500\n");
  EXPECT_EQ(Run({"--two-theta", "28.45,47.31", "--chart", (folder_ / "c.svg").string(),
                 (folder_ / "film.pid").string()}),
            kExitRefused);
  EXPECT_EQ(err_.str(), std::string("pellum-cli: ") + kNoChartDrawing + "\n");
  EXPECT_FALSE(fs::exists(Report()));
  EXPECT_FALSE(fs::exists(folder_ / "film.dat"));
  EXPECT_FALSE(fs::exists(folder_ / "c.svg"));
}

#ifndef _WIN32  // a POSIX shell runs the program here; scripts/windows-smoke does on Windows
TEST(PellumCli, BinaryReportsUsageAndVersion) {
  const std::string cli = PELLUM_CLI_PATH;
  EXPECT_EQ(std::system((cli + " --version > /dev/null").c_str()), 0);
  EXPECT_EQ(WEXITSTATUS(std::system((cli + " --bogus 2> /dev/null").c_str())), kExitRefused);
  EXPECT_EQ(WEXITSTATUS(std::system((cli + " 2> /dev/null").c_str())), kExitRefused);
}
#endif

TEST(PellumCli, DrawsChartsWithoutADisplay) {
  if (!ChartDrawingBuilt())
    GTEST_SKIP() << "built without the chart module (no Qt)";
  struct Case {
    std::string extension;
    std::vector<std::string> marks;  // what the file must hold: its signature, texts of an SVG
  };
  for (const Case& c : std::vector<Case>{{".svg", {"<svg", "Actual 2 theta", "28.442"}},
                                         {".png", {"\x89PNG\r\n\x1a\n", "IHDR"}},
                                         {".pdf", {"%PDF-", "%%EOF"}}}) {
    const fs::path chart = fs::temp_directory_path() / ("pellum-cli-chart-test" + c.extension);
    const std::string command = std::string("env -u DISPLAY ") + PELLUM_CLI_PATH +
                                " --two-theta 28.45,47.31 --report /dev/null --chart " +
                                chart.string() + " --size 1000x600 > /dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0) << c.extension;
    std::ifstream in(chart, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    EXPECT_GT(bytes.str().size(), 1000u) << c.extension;
    for (const std::string& mark : c.marks)
      EXPECT_NE(bytes.str().find(mark), std::string::npos) << c.extension << " lacks " << mark;
    fs::remove(chart);
  }
  // The correction chart: six readings labelled with their hkl, the extrapolated rows of the
  // profile converted with them noted, every text the mended labels' way.
  const fs::path folder = fs::temp_directory_path() / "pellum-cli-correction-chart-test";
  fs::remove_all(folder);
  fs::create_directories(folder);
  std::ofstream(folder / "scan.txt") << "2Theta Counts\n20.0 50\n30.0 200\n95.0 10\n";
  const std::string command =
      std::string("env -u DISPLAY ") + PELLUM_CLI_PATH +
      " --two-theta 28.45,47.31,56.13,69.14,76.39,88.04 --report /dev/null --chart " +
      (folder / "c.svg").string() + " --correction-chart " + (folder / "k.svg").string() + " " +
      (folder / "scan.txt").string() + " > /dev/null 2>&1";
  EXPECT_EQ(std::system(command.c_str()), 0);
  const auto read = [](const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
  };
  const std::string correction = read(folder / "k.svg");
  for (const char* mark : {">111<", ">220<", ">311<", ">400<", ">331<", ">422<",
                           ">2 rows converted outside it<", ">Experimental 2 theta<"})
    EXPECT_NE(correction.find(mark), std::string::npos) << mark;
  const std::string chart = read(folder / "c.svg");
  EXPECT_NE(chart.find(">47.303<"), std::string::npos);
  EXPECT_NE(chart.find(">69.130<"), std::string::npos);
  EXPECT_EQ(chart.find(">47.302<"), std::string::npos);
  // Another reference: its lines label the axis, its hkl the readings of the correction
  // chart; the built-in table's labels are not drawn.
  const std::string lab6 =
      std::string("env -u DISPLAY ") + PELLUM_CLI_PATH +
      " --two-theta 21.37,30.4,37.45,-1,48.97 --standard lab6-660c --report /dev/null --chart " +
      (folder / "l.svg").string() + " --correction-chart " + (folder / "lk.png").string() +
      " --size 1000x600 > /dev/null 2>&1";
  EXPECT_EQ(std::system(lab6.c_str()), 0);
  const std::string lab6Chart = read(folder / "l.svg");
  for (const char* mark : {">21.358<", ">30.385<", ">37.442<", ">48.958<", ">99.645<"})
    EXPECT_NE(lab6Chart.find(mark), std::string::npos) << mark;
  EXPECT_EQ(lab6Chart.find(">28.442<"), std::string::npos);
  EXPECT_EQ(read(folder / "lk.png").rfind("\x89PNG\r\n\x1a\n", 0), 0u);
  const std::string siliconChromium =
      std::string("env -u DISPLAY ") + PELLUM_CLI_PATH +
      " --two-theta 42.84,73.21,88.72 --standard si-640e --radiation cr --report /dev/null"
      " --correction-chart " +
      (folder / "sk.svg").string() + " > /dev/null 2>&1";
  EXPECT_EQ(std::system(siliconChromium.c_str()), 0);
  const std::string siliconCorrection = read(folder / "sk.svg");
  for (const char* mark : {">111<", ">220<", ">311<"})
    EXPECT_NE(siliconCorrection.find(mark), std::string::npos) << mark;
  EXPECT_EQ(siliconCorrection.find(">?<"), std::string::npos);
  fs::remove_all(folder);
}

#ifdef PELLUM_CHART_MODULE_BUILT
// A copy of pellum-cli outside the build tree loads the chart module at its own step, or
// none: never the build tree's, whose folder another user might create on another machine.
TEST(PellumCli, ACopyLoadsNoCodeFromTheBuildTree) {
  const fs::path folder = fs::temp_directory_path() / "pellum-cli-copied";
  fs::remove_all(folder);
  fs::create_directories(folder / "bin");
  fs::copy_file(PELLUM_CLI_PATH, folder / "bin/pellum-cli");
  const fs::path module = (folder / "bin" / PELLUM_CHART_MODULE_RELATIVE).lexically_normal();
  const auto run = [&] {
    const std::string command =
        "LD_DEBUG=files " + (folder / "bin/pellum-cli").string() +
        " --two-theta 28.45,47.31 --report " + (folder / "fitdata.txt").string() + " --chart " +
        (folder / "c.svg").string() + " > /dev/null 2> " + (folder / "err").string();
    const int status = WEXITSTATUS(std::system(command.c_str()));
    std::ifstream in(folder / "err");
    return std::make_pair(status, std::string((std::istreambuf_iterator<char>(in)), {}));
  };
  auto [status, err] = run();
  EXPECT_EQ(status, kExitFileFailed);
  EXPECT_NE(err.find("the chart module was not found: " + module.string()), std::string::npos)
      << err;
  EXPECT_EQ(err.find(PELLUM_CHART_MODULE_BUILT), std::string::npos) << err;

  fs::create_directories(module.parent_path());
  fs::copy_file(PELLUM_CHART_MODULE_BUILT, module);
  std::tie(status, err) = run();
  EXPECT_EQ(status, kExitDone) << err;
  EXPECT_NE(err.find(module.string()), std::string::npos);
  EXPECT_EQ(err.find(PELLUM_CHART_MODULE_BUILT), std::string::npos);
  EXPECT_TRUE(fs::exists(folder / "c.svg"));
  fs::remove_all(folder);
}
#endif

}  // namespace
}  // namespace pellum::cli
