#include "front/cli/cli_run.h"
#include "front/cli/chart_output.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
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
      {"28.4,abc", "Warning!: 2 theta value must be a number.\n"},
      {"28.4,,47.3", "Warning!: 2 theta value must be a number.\n"},
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
  EXPECT_EQ(err_.str(), "Cannot open a file!: " + (folder_ / "notes.doc").string() + "\n" +
                            (folder_ / "film.pid").string() +
                            ": 1 line skipped (empty, or fewer fields than a data line needs)\n" +
                            (folder_ / "film.pid").string() +
                            ": 1 line outside the calibrated range, converted by extrapolation\n");
  EXPECT_TRUE(fs::exists(dat));
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
  EXPECT_NE(written.find("model quadratic, weighted least squares over 3 silicon"),
            std::string::npos);
  EXPECT_EQ(written.find("data_film.pid"), std::string::npos);
}

const std::string kExampleProfile = PELLUM_SOURCE_DIR "/examples/film-profile.txt";

// The model and coefficient lines of a calibration's output.
std::string Calibration(const std::string& out) {
  return out.substr(out.find("model "));
}

TEST_F(RunCalibrationTest, FindSiliconPrintsEachReflectionAndTheReadings) {
  EXPECT_EQ(Run({"--find-silicon", kExampleProfile}), kExitDone);
  EXPECT_EQ(out_.str(),
            "peak 111 28.3650 3139.3 0.1435 165.8\n"
            "peak 220 47.2097 1597.0 0.1549 91.2\n"
            "peak 311 56.0205 959.3 0.1767 83.7\n"
            "peak 400 69.0206 208.7 0.1964 29.2\n"
            "peak 331 76.2573 323.9 0.1962 41.7\n"
            "peak 422 87.9037 395.6 0.2135 44.7\n"
            "two-theta 28.3650,47.2097,56.0205,69.0206,76.2573,87.9037\n");
  EXPECT_EQ(err_.str(), "");
  EXPECT_FALSE(fs::exists(Report()));
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

TEST_F(RunCalibrationTest, ProfilesWithoutTwoReflectionsCalibrateNothing) {
  Write("flat.txt", "2Theta Counts\n28.0 100\n28.5 100\n47.3 100\n");
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
  fs::remove_all(folder);
}

}  // namespace
}  // namespace pellum::cli
