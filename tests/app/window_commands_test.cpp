// The main window's handling apart from Open: creation, titles, the other commands,
// painting and destruction.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/input_file_step.h"
#include "app/window_commands.h"
#include "tests/app/scripted_platform.h"
#include "tests/support/temporary_folder.h"
#include "ui/picture_format.h"

namespace pellum {
namespace {

using testing::ScriptedPlatform;

// Counts what the chart draws; the chart's own tests check where.
class CountingCanvas : public Canvas {
 public:
  std::vector<std::string> ops;
  int ellipses = 0;
  void Clear() override { ops.push_back("clear"); }
  void SetIsotropicMapping(int, int, int, int, int, int) override { ops.push_back("map"); }
  void MoveTo(int, int) override {}
  void LineTo(int, int) override {}
  void TextOut(int, int, std::string_view) override {}
  void Ellipse(int, int, int, int) override { ++ellipses; }
  int TextWidth(std::string_view) const override { return 0; }
  int TextHeight() const override { return 0; }
  void SetZoom(double) override {}
};

TEST(MainTitleText, JoinsTheProgramAndTheFileName) {
  struct Case {
    std::string title, expected;
  };
  for (const Case& c : std::vector<Case>{{"", "Pellum - (untitled)"},
                                         {"film.pid", "Pellum - film.pid"},
                                         {"DATA.TXT", "Pellum - DATA.TXT"},
                                         {"run 2 film.pid", "Pellum - run 2 film.pid"}}) {
    EXPECT_EQ(MainTitleText(c.title), c.expected) << c.title;
  }
}

TEST(HandleCreate, ShowsUntitledAndSetsUpTheFileDialog) {
  AppState state;
  ScriptedPlatform platform;
  HandleCreate(state, platform);
  EXPECT_EQ(platform.log, std::vector<std::string>{"title Pellum - (untitled)"});

  // The two filters of old first, the first still selected; the one for both after them.
  const OpenFileSettings& s = state.openFileSettings;
  EXPECT_EQ(s.title, "Open Listing or Profile");
  ASSERT_EQ(s.filters.size(), 3u);
  EXPECT_EQ(s.filters[0].description, "Listing Files (*.PID)");
  EXPECT_EQ(s.filters[0].pattern, "*.pid");
  EXPECT_EQ(s.filters[1].description, "Profile Files (*.TXT)");
  EXPECT_EQ(s.filters[1].pattern, "*.txt");
  EXPECT_EQ(s.filters[2].description, "Listings and Profiles (*.pid *.txt)");
  EXPECT_EQ(s.filters[2].pattern, "*.pid *.txt");
  EXPECT_EQ(s.filterIndex, 0);
  EXPECT_EQ(s.initialFolder, "") << "no setting: the current folder";
  EXPECT_EQ(s.defaultExtension, "pid");
  EXPECT_TRUE(s.caseInsensitivePatterns);
}

// The dialog must refuse names of files that are not there: a listing that does not exist
// cannot be converted, and offering to create one only led to a failure.
TEST(ChooseInputFile, AsksForAnExistingFileAndKeepsNamesOnCancel) {
  OpenFileSettings settings;
  InitOpenFileSettings(settings);
  ScriptedPlatform platform;
  platform.files = {{false, ""}, {true, "/data/film.pid"}};
  std::string path = "/old/old.pid", title = "old.pid";

  EXPECT_EQ(ChooseInputFile(platform, settings, path, title), 0);
  EXPECT_EQ(path, "/old/old.pid");
  EXPECT_EQ(title, "old.pid");
  EXPECT_EQ(platform.lastSettings.flags & kOpenFileMustExist, kOpenFileMustExist);
  EXPECT_EQ(platform.lastSettings.flags & kOpenFileHideReadOnly, kOpenFileHideReadOnly);

  EXPECT_EQ(ChooseInputFile(platform, settings, path, title), 1);
  EXPECT_EQ(path, "/data/film.pid");
  EXPECT_EQ(title, "film.pid");
}

TEST(HandleCommand, AboutAndExitGoToTheDesktop) {
  struct Case {
    MenuCommand id;
    std::vector<std::string> log;
  };
  for (const Case& c : std::vector<Case>{{IDM_ABOUT, {"about"}}, {IDM_EXIT, {"close"}}}) {
    AppState state;
    ScriptedPlatform platform;
    HandleCommand(state, platform, c.id, std::cout);
    EXPECT_EQ(platform.log, c.log) << static_cast<int>(c.id);
  }
}

TEST(HandleCommand, OtherIdentifiersAreSwallowed) {
  for (int id : {0, 1, 2, 1003, 40000, 40002, 40003, 40006, 65535, -40004, 40004 + 65536}) {
    AppState state;
    state.inputTitle = "film.pid";
    ScriptedPlatform platform;
    HandleCommand(state, platform, static_cast<MenuCommand>(id), std::cout);
    EXPECT_TRUE(platform.log.empty()) << id;
    EXPECT_EQ(state.inputTitle, "film.pid") << id;
    EXPECT_EQ(state.pointCount, 0) << id;
  }
}

TEST(HandlePaint, DrawsTheCurrentPointsOnAClearedChart) {
  AppState state;
  ScriptedPlatform platform;
  HandleCreate(state, platform);
  HandleResize(state, 640, 480);
  EXPECT_EQ(state.clientWidth, 640);
  EXPECT_EQ(state.clientHeight, 480);

  CountingCanvas before;
  std::ostringstream beforeTrace;
  HandlePaint(state, before, beforeTrace);
  ASSERT_FALSE(before.ops.empty());
  EXPECT_EQ(before.ops.front(), "clear");
  EXPECT_EQ(before.ellipses, 0);
  EXPECT_NE(beforeTrace.str(), "") << "the coefficient labels trace at every paint";

  state.reportPath = ::testing::TempDir() + "pellum_paint_fitdata";
  platform.readings = {{"28.45", "47.31", "-1", "69.14", "-1", "88.04"}};
  platform.files = {{false, ""}};
  std::ostringstream console;
  HandleCommand(state, platform, IDM_OPEN, console);
  CountingCanvas after;
  std::ostringstream afterTrace;
  HandlePaint(state, after, afterTrace);
  EXPECT_EQ(after.ellipses, 4);
  EXPECT_GT(afterTrace.str().size(), beforeTrace.str().size()) << "point labels trace too";

  HandleDestroy(state);
  EXPECT_TRUE(state.points.empty());
  EXPECT_EQ(state.pointCount, 0);
  std::remove(state.reportPath.c_str());
}

TEST(PictureFormatOf, ReadsTheLastNamesExtensionInAnyCase) {
  struct Case {
    const char* path;
    std::optional<PictureFormat> format;
  };
  const std::vector<Case> cases = {
      {"chart.svg", PictureFormat::Svg},
      {"/lab/Film 7.PNG", PictureFormat::Png},
      {"a.Pdf", PictureFormat::Pdf},
      {"/a.b/c.d.svg", PictureFormat::Svg},
      {"chart.gif", std::nullopt},
      {"chart", std::nullopt},
      {"/lab.svg/chart", std::nullopt},
      {"/lab/.svg/", std::nullopt},
      {"chart.svgz", std::nullopt},
      {"chart.sv", std::nullopt},
      {"", std::nullopt},
      {"chart.", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PictureFormatOf(c.path), c.format) << c.path;
  }
}

// Save Chart As: one dialog with the three kinds, then the picture as the window shows it,
// at the chart's size, written whole; every refusal and failure said with the path.
class SaveChartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = "/tmp/pellum_chart_XXXXXX";
    ASSERT_TRUE(testing::MakeTemporaryFolder(pattern));
    folder_ = pattern;
    platform_.folder = folder_;
    state_.reportPath = folder_ + "/fitdata.txt";
    HandleCreate(state_, platform_);
    HandleResize(state_, 800, 600);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  static std::string Read(const std::string& path) {
    if (!std::filesystem::is_regular_file(path))
      return "";
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
  }

  std::string folder_;
  AppState state_;
  ScriptedPlatform platform_;
};

TEST_F(SaveChartTest, WritesTheKindTheNameAsksForOrSaysWhyNot) {
  const std::string dialog =
      "save title=Save Chart As filter=*.svg,*.png,*.pdf start=calibration-chart.svg";
  struct Case {
    const char* name;  // in the test folder; "" cancels
    std::vector<std::string> log;
    std::string bytes;  // the file afterwards; "" for none
  };
  const std::vector<Case> cases = {
      {"chart.svg",
       {dialog, "picture svg 800x600",
        "message Info|Chart is saved as <dir>/chart.svg|information"},
       "svg 800x600 texts=13 ellipses=0 lines=2\n"},
      {"Chart.PNG",
       {dialog, "picture png 800x600",
        "message Info|Chart is saved as <dir>/Chart.PNG|information"},
       "png 800x600 texts=13 ellipses=0 lines=2\n"},
      {"chart.pdf",
       {dialog, "picture pdf 800x600",
        "message Info|Chart is saved as <dir>/chart.pdf|information"},
       "pdf 800x600 texts=13 ellipses=0 lines=2\n"},
      {"chart.gif",
       {dialog,
        "message A chart's file name must end in .svg, .png or .pdf!|<dir>/chart.gif|error"},
       ""},
      {"missing/chart.svg",
       {dialog, "picture svg 800x600",
        "message Cannot write the chart file!|<dir>/missing/chart.svg|error"},
       ""},
      {"", {dialog}, ""},
  };
  for (const Case& c : cases) {
    platform_.log.clear();
    const std::string path = folder_ + "/" + c.name;
    platform_.saves = {{*c.name != '\0', path}};
    HandleCommand(state_, platform_, MenuCommand::SaveChart, std::cout);
    EXPECT_EQ(platform_.log, c.log) << c.name;
    EXPECT_EQ(Read(path), c.bytes) << c.name;
  }
  // Nothing else was left behind: no picture of a refused name, no temporary file.
  std::vector<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
    left.push_back(entry.path().filename().string());
  }
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"Chart.PNG", "chart.pdf", "chart.svg"}));
}

// After a calibration the picture holds its markers and curve; the dialog starts beside the
// converted file; an area not yet shown cannot be drawn and an earlier picture stays.
TEST_F(SaveChartTest, DrawsTheCurrentCalibrationAndKeepsAnEarlierFileOnFailure) {
  std::ofstream(folder_ + "/film.pid") << "2-Theta\n28.45 1 1 1 100\n";
  platform_.readings = {{"28.45", "47.31", "56.13", "69.14", "76.39", "88.04"}};
  platform_.files = {{true, folder_ + "/film.pid"}};
  HandleCommand(state_, platform_, IDM_OPEN, std::cout);
  platform_.log.clear();
  platform_.saves = {{true, folder_ + "/chart.svg"}, {true, folder_ + "/chart.svg"}};
  HandleCommand(state_, platform_, MenuCommand::SaveChart, std::cout);
  EXPECT_EQ(Read(folder_ + "/chart.svg"), "svg 800x600 texts=19 ellipses=6 lines=101\n");

  HandleResize(state_, 0, 0);
  HandleCommand(state_, platform_, MenuCommand::SaveChart, std::cout);
  EXPECT_EQ(
      platform_.log,
      (std::vector<std::string>{
          "save title=Save Chart As filter=*.svg,*.png,*.pdf start=<dir>/film-chart.svg",
          "picture svg 800x600", "message Info|Chart is saved as <dir>/chart.svg|information",
          "save title=Save Chart As filter=*.svg,*.png,*.pdf start=<dir>/film-chart.svg",
          "picture svg 0x0", "message Cannot write the chart file!|<dir>/chart.svg|error"}));
  EXPECT_EQ(Read(folder_ + "/chart.svg"), "svg 800x600 texts=19 ellipses=6 lines=101\n");

  // View > Correction Chart: the window shows it, and Save Chart As saves it.
  HandleResize(state_, 800, 600);
  platform_.log.clear();
  HandleCommand(state_, platform_, MenuCommand::ShowCorrectionChart, std::cout);
  platform_.saves = {{true, folder_ + "/correction.svg"}};
  HandleCommand(state_, platform_, MenuCommand::SaveChart, std::cout);
  EXPECT_EQ(platform_.log[0], "repaint");
  EXPECT_EQ(platform_.log[1],
            "save title=Save Chart As filter=*.svg,*.png,*.pdf start=<dir>/film-correction.svg");
  const std::string correction = Read(folder_ + "/correction.svg");
  EXPECT_NE(correction, "svg 800x600 texts=19 ellipses=6 lines=101\n");
  EXPECT_TRUE(correction.starts_with("svg 800x600 texts=")) << correction;
  EXPECT_NE(correction.find(" ellipses=6 "), std::string::npos) << correction;
  HandleCommand(state_, platform_, MenuCommand::ShowCalibrationChart, std::cout);
  EXPECT_EQ(state_.chartView, ChartView::Calibration);
}

// The status bar says where each fit's report went, and the Info after a conversion adds
// it on a line of its own; a report that could not be written is said instead, and the
// Info then stays as the converter wrote it.
TEST_F(SaveChartTest, StatusAndInfoSayWhereTheReportWent) {
  std::ofstream(folder_ + "/film.pid") << "2-Theta\n28.45 1 1 1 100\n";
  struct Case {
    std::string reportPath;
    std::string status, info;
  };
  const std::vector<Case> cases = {
      {folder_ + "/fitdata.txt", "Fit report is saved as <dir>/fitdata.txt",
       "message Info|Output file is saved as <dir>/film.dat\nFit report is saved as "
       "<dir>/fitdata.txt|information"},
      {folder_ + "/missing/fitdata.txt", "Cannot write the fit report! <dir>/missing/fitdata.txt",
       "message Info|Output file is saved as <dir>/film.dat|information"},
  };
  for (const Case& c : cases) {
    state_.reportPath = c.reportPath;
    platform_.log.clear();
    platform_.statuses.clear();
    platform_.readings = {{"28.45", "47.31", "56.13", "69.14", "76.39", "88.04"}};
    platform_.files = {{true, folder_ + "/film.pid"}};
    std::ostringstream console;
    HandleCommand(state_, platform_, IDM_OPEN, console);
    EXPECT_EQ(platform_.statuses, std::vector<std::string>{c.status}) << c.reportPath;
    EXPECT_NE(std::find(platform_.log.begin(), platform_.log.end(), c.info), platform_.log.end())
        << c.reportPath;
  }
}

}  // namespace
}  // namespace pellum
