// The Open command against another reference than the built-in table: the window calibrates,
// reports, keeps and exports exactly as pellum-cli does with the same readings and reference
// options, and refuses readings as it does.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/calibration_record_commands.h"
#include "app/window_commands.h"
#include "front/cli/cli_options.h"
#include "front/cli/cli_run.h"
#include "tests/app/scripted_platform.h"
#include "tests/support/temporary_folder.h"

namespace pellum {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedPlatform;

const char* const kListing =
    "Peak search of film 7\n"
    "2-Theta d(A) BG Height I% Area\n"
    "30.40 2.9380 12 500 100.0 41\n"
    "42.86 2.1083 10 310 62.0 25\n"
    "73.21 1.2918 9 120 24.0 11\n";

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

// Paths name the folder each program ran in; the rest must be the same bytes.
std::string Local(std::string text, const std::string& folder) {
  for (std::size_t at = text.find(folder); at != std::string::npos; at = text.find(folder, at))
    text.replace(at, folder.size(), "<dir>");
  return text;
}

// The texts a chart draws, in order.
class TextCanvas : public Canvas {
 public:
  std::vector<std::string> texts;
  void Clear() override {}
  void SetIsotropicMapping(int, int, int, int, int, int) override {}
  void MoveTo(int, int) override {}
  void LineTo(int, int) override {}
  void TextOut(int, int, std::string_view text) override { texts.emplace_back(text); }
  void Ellipse(int, int, int, int) override {}
  int TextWidth(std::string_view text) const override { return 7 * static_cast<int>(text.size()); }
  int TextHeight() const override { return 14; }
  void SetZoom(double) override {}
  bool Drew(const std::string& text) const {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
  }
};

class ReferenceOpenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (std::string* folder : {&window_, &cli_}) {
      std::string pattern = "/tmp/pellum_reference_XXXXXX";
      ASSERT_TRUE(testing::MakeTemporaryFolder(pattern));
      *folder = pattern;
      std::ofstream(*folder + "/film.pid") << kListing;
    }
    platform_.folder = window_;
    state_.reportPath = window_ + "/fitdata.txt";
    HandleCreate(state_, platform_);
    platform_.log.clear();
  }
  void TearDown() override {
    fs::remove_all(window_);
    fs::remove_all(cli_);
  }

  std::string window_, cli_;
  AppState state_;
  ScriptedPlatform platform_;
};

struct ReferenceCase {
  const char* name;
  std::string standard, radiation;
  std::vector<std::string> readings;  // one per line, as typed in the dialog
  std::string cliList;                // the same for --two-theta
  std::string panelFirstLines;        // the reference and the radiation
  std::size_t points;
  std::string firstMark, firstHkl;  // the calibration chart's label of the first line and
                                    // the correction chart's of the first point
};

// Silicon SRM 640e on a chromium film (three lines below 100 degrees) and LaB6 SRM 660c on a
// copper one (fifteen, some not read): the same fit, report, record, CIF and converted file.
TEST_F(ReferenceOpenTest, CalibratesAsPellumCliDoes) {
  const std::vector<ReferenceCase> cases = {
      {"Si640eCr",
       "si-640e",
       "cr",
       {"42.861", "73.215", "88.702"},
       "42.861,73.215,88.702",
       "Reference: silicon SRM 640e\nRadiation: Cr K-alpha1 (2.289726 \u00C5)",
       3,
       "42.828",
       "111"},
      {"LaB6660cCu",
       "lab6-660c",
       "cu",
       {"21.37", "30.39", "37.452", "-1", "48.97", "-1", "63.23", "-1", "71.758", "75.856", "-1",
        "83.86", "87.804", "-1", "-1"},
       "21.37,30.39,37.452,-1,48.97,-1,63.23,-1,71.758,75.856,-1,83.86,87.804",
       "Reference: LaB6 SRM 660c\nRadiation: Cu K-alpha1 (1.540593 \u00C5)",
       9,
       "21.358",
       "100"},
  };
  for (const ReferenceCase& c : cases) {
    SCOPED_TRACE(c.name);
    platform_.referenceReadings = {{c.standard, c.radiation, c.readings}};
    platform_.files = {{true, window_ + "/film.pid"}};
    HandleCommand(state_, platform_, IDM_OPEN, std::cout);
    ASSERT_EQ(state_.pointCount, static_cast<int>(c.points));
    platform_.saves = {{true, window_ + "/film.cal"}, {true, window_ + "/film.cif"}};
    HandleCommand(state_, platform_, MenuCommand::SaveCalibration, std::cout);
    HandleCommand(state_, platform_, MenuCommand::ExportCif, std::cout);
    const std::string panel = PanelSummary(state_);
    EXPECT_EQ(panel.substr(0, c.panelFirstLines.size() + 1), c.panelFirstLines + '\n');
    EXPECT_EQ(CalibrationSummary(state_).substr(0, c.panelFirstLines.size() + 1),
              c.panelFirstLines + '\n');
    ASSERT_EQ(state_.quality.rows.size(), c.points);
    EXPECT_EQ(state_.quality.rows[0].hkl, state_.hklTexts[0]);
    EXPECT_EQ(state_.referenceMarks.size(), c.readings.size()) << "every line labels the chart";
    HandleResize(state_, 800, 600);
    std::ostringstream trace;
    TextCanvas chart, correction;
    HandlePaint(state_, chart, trace);
    EXPECT_TRUE(chart.Drew(c.firstMark)) << "the reference's lines label the axis";
    EXPECT_FALSE(chart.Drew("28.442")) << "not silicon's table";
    state_.chartView = ChartView::Correction;
    HandlePaint(state_, correction, trace);
    state_.chartView = ChartView::Calibration;
    EXPECT_TRUE(correction.Drew(c.firstHkl)) << "each reading named by its line";

    const cli::ParsedCommandLine parsed = cli::ParseCommandLine(
        {"--two-theta", c.cliList, "--standard", c.standard, "--radiation", c.radiation,
         "--calibration-out", cli_ + "/film.cal", "--cif", cli_ + "/film.cif", "--report",
         cli_ + "/fitdata.txt", cli_ + "/film.pid"});
    ASSERT_EQ(parsed.error, "");
    std::ostringstream out, err;
    ASSERT_EQ(cli::RunCalibration(parsed.options, out, err), 0) << err.str();
    for (const char* name : {"fitdata.txt", "film.cal", "film.cif", "film.dat"}) {
      const std::string ours = Local(Read(window_ + "/" + name), window_);
      EXPECT_FALSE(ours.empty()) << name;
      EXPECT_EQ(ours, Local(Read(cli_ + "/" + name), cli_)) << name;
    }
  }
}

struct RefusalCase {
  const char* name;
  std::vector<std::string> readings;  // of silicon SRM 640e's three lines with Cr K-alpha1
  std::vector<bool> answers;          // to the far-reading question
  std::vector<std::string> expectedLog;
};

// Refused as pellum-cli refuses them, one warning each, and the dialog again with the texts
// as typed; every reading negative leaves without a calibration.
TEST_F(ReferenceOpenTest, RefusesReadingsAsPellumCliDoes) {
  const std::string none = "entry si-640e cr:";  // nothing typed yet for it
  const std::vector<RefusalCase> cases = {
      {"TooLarge",
       {"142.8", "73.2", "-1"},
       {},
       {"message Warning!|2 theta value must be below 100.|warning",
        "entry si-640e cr: 142.8|73.2|-1"}},
      {"NotANumber",
       {"42.8", "73,2", "-1"},
       {},
       {"message Warning!|2 theta value must be a number.|warning",
        "entry si-640e cr: 42.8|73,2|-1"}},
      {"OneReading",
       {"42.85", "-1", "-1"},
       {},
       {"message Warning!|At least two reflections with different 2 theta values are "
        "needed.|warning",
        "entry si-640e cr: 42.85|-1|-1"}},
      {"FarReadingEdited",
       {"44", "73.2", "-1"},
       {false},
       {"question Check the readings|Readings more than 1 degree from the actual 2 theta of "
        "their reflection:\n1 1 1: reading 44, actual 42.828, difference +1.172|Use anyway|Edit",
        "entry si-640e cr: 44|73.2|-1"}},
  };
  for (const RefusalCase& c : cases) {
    SCOPED_TRACE(c.name);
    state_.reference = {};
    state_.reference.standard = "si-640e";
    state_.reference.radiation = "cr";
    platform_.log.clear();
    platform_.answers = {c.answers.begin(), c.answers.end()};
    platform_.referenceReadings = {{"si-640e", "cr", c.readings}, {"si-640e", "cr", {"-1"}}};
    HandleCommand(state_, platform_, IDM_OPEN, std::cout);
    std::vector<std::string> expected = {none};
    expected.insert(expected.end(), c.expectedLog.begin(), c.expectedLog.end());
    EXPECT_EQ(platform_.log, expected);
    EXPECT_FALSE(state_.calibrated);
    EXPECT_FALSE(fs::exists(window_ + "/fitdata.txt"));
  }
}

}  // namespace
}  // namespace pellum
