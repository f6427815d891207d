// The main window's handling apart from Open: creation, titles, the other commands,
// painting and destruction.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "app/input_file_step.h"
#include "app/window_commands.h"
#include "tests/app/scripted_platform.h"

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

  const OpenFileSettings& s = state.openFileSettings;
  ASSERT_EQ(s.filters.size(), 2u);
  EXPECT_EQ(s.filters[0].description, "Listing Files (*.PID)");
  EXPECT_EQ(s.filters[0].pattern, "*.pid");
  EXPECT_EQ(s.filters[1].description, "Profile Files (*.TXT)");
  EXPECT_EQ(s.filters[1].pattern, "*.txt");
  EXPECT_EQ(s.filterIndex, 0);
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

}  // namespace
}  // namespace pellum
