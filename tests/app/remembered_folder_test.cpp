// The one setting kept between runs: the open-file dialog's last folder.
#include "app/remembered_folder.h"
#include "app/reference_setting.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/window_commands.h"
#include "tests/app/scripted_platform.h"
#include "tests/support/temporary_folder.h"

namespace pellum {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedPlatform;

class RememberedFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = "/tmp/pellum_folder_XXXXXX";
    ASSERT_TRUE(testing::MakeTemporaryFolder(pattern));
    folder_ = pattern;
    setting_ = folder_ + "/config/Pellum/last-folder";
  }
  void TearDown() override {
    fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(folder_);
  }
  void WriteSetting(const std::string& text) const {
    fs::create_directories(fs::path(setting_).parent_path());
    std::ofstream(setting_, std::ios::binary) << text;
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
  }

  std::string folder_;
  std::string setting_;
};

// Whatever lies in the setting's place, only a line naming a folder that exists is used;
// anything else is passed over without a word.
TEST_F(RememberedFolderTest, OnlyAnExistingFolderOnOneLineIsUsed) {
  fs::create_directories(folder_ + "/films");
  struct Case {
    const char* name;
    std::string text;  // the setting's content; "<none>" for no file
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"kept with its line end", folder_ + "/films\n", folder_ + "/films"},
      {"kept without a line end", folder_ + "/films", folder_ + "/films"},
      {"no setting", "<none>", ""},
      {"empty", "", ""},
      {"a folder since removed", folder_ + "/gone\n", ""},
      {"a file, not a folder", setting_ + "\n", ""},
      {"relative", "films\n", ""},
      {"two lines", folder_ + "/films\n" + folder_ + "/films\n", ""},
      {"a line end inside", folder_ + "\n/films", ""},
      {"longer than any path", "/" + std::string(5000, 'a') + "\n", ""},
      {"binary", std::string("\0\xff\n", 3), ""},
  };
  for (const Case& c : cases) {
    fs::remove_all(fs::path(setting_).parent_path());
    if (c.text != "<none>")
      WriteSetting(c.text);
    EXPECT_EQ(ReadRememberedFolder(setting_), c.expected) << c.name;
  }
  // A folder where the file should be cannot be read as one, and no path keeps nothing.
  fs::remove_all(fs::path(setting_).parent_path());
  fs::create_directories(setting_);
  EXPECT_EQ(ReadRememberedFolder(setting_), "");
  EXPECT_EQ(ReadRememberedFolder(""), "");
}

TEST_F(RememberedFolderTest, WritingMakesTheFoldersAndKeepsOneLine) {
  EXPECT_TRUE(WriteRememberedFolder(setting_, folder_));
  EXPECT_EQ(Read(setting_), folder_ + "\n");
  EXPECT_EQ(ReadRememberedFolder(setting_), folder_);
  // Names that one line cannot hold are not written, and the earlier setting stays.
  for (const std::string& folder : {std::string("films"), std::string(""), folder_ + "/a\nb"}) {
    EXPECT_TRUE(WriteRememberedFolder(setting_, folder)) << folder;
    EXPECT_EQ(Read(setting_), folder_ + "\n") << folder;
  }
  EXPECT_FALSE(WriteRememberedFolder("/dev/null/Pellum/last-folder", folder_));
}

// The shell's road: a chosen file's folder is where the next dialog starts, in this run
// and the next; the setting is written only when the folder changes, and a setting that
// cannot be written is said once a run.
TEST_F(RememberedFolderTest, TheChosenFilesFolderIsKeptForTheNextRun) {
  fs::create_directories(folder_ + "/films");
  std::ofstream(folder_ + "/films/film.pid") << "2-Theta\n28.45 1 1 1 100\n";
  const ScriptedPlatform::Readings six = {"28.45", "47.31", "56.13", "69.14", "76.39", "88.04"};

  AppState first;
  first.reportPath = folder_ + "/fitdata.txt";
  first.folderSettingPath = setting_;
  ScriptedPlatform platform;
  HandleCreate(first, platform);
  EXPECT_EQ(first.openFileSettings.initialFolder, "");
  platform.readings = {six, six};
  platform.files = {{false, ""}, {true, folder_ + "/films/gone.pid"}};
  HandleCommand(first, platform, IDM_OPEN, std::cout);
  EXPECT_FALSE(fs::exists(setting_)) << "a cancelled dialog chose no folder";
  HandleCommand(first, platform, IDM_OPEN, std::cout);
  EXPECT_EQ(Read(setting_), folder_ + "/films\n") << "kept even though the file was not converted";
  EXPECT_EQ(first.inputPath, "");
  EXPECT_EQ(platform.lastSettings.initialFolder, "");

  // The next run starts its dialog there, with no file named.
  AppState second;
  second.reportPath = first.reportPath;
  second.folderSettingPath = setting_;
  HandleCreate(second, platform);
  platform.readings = {six};
  platform.files = {{false, ""}};
  HandleCommand(second, platform, IDM_OPEN, std::cout);
  EXPECT_EQ(platform.lastSettings.initialFolder, folder_ + "/films");

  // A setting that cannot be written: one warning with its path, the folder still used.
  AppState third;
  third.reportPath = first.reportPath;
  third.folderSettingPath = "/dev/null/Pellum/last-folder";
  platform.folder = folder_;
  platform.log.clear();
  HandleCreate(third, platform);
  platform.readings = {six, six};
  platform.files = {{true, folder_ + "/films/film.pid"}, {true, folder_ + "/fitdata.txt"}};
  HandleCommand(third, platform, IDM_OPEN, std::cout);
  HandleCommand(third, platform, IDM_OPEN, std::cout);
  int warnings = 0;
  for (const std::string& line : platform.log) {
    warnings += line == "message Cannot remember the folder!|/dev/null/Pellum/last-folder|warning";
  }
  EXPECT_EQ(warnings, 1);
  EXPECT_EQ(third.openFileSettings.initialFolder, folder_);
}

// The reference chosen in the Calibration Data dialog is kept as the folder is: only a line
// naming a reference the dialog offers is used.
TEST_F(RememberedFolderTest, OnlyAnOfferedReferenceIsTakenFromItsSetting) {
  struct Case {
    const char* name;
    std::string text;      // the setting's content; "<none>" for no file
    std::string expected;  // the choice afterwards
  };
  const std::vector<Case> cases = {
      {"kept", "lab6-660c cr\n", "lab6-660c cr"},
      {"kept without a line end", "al2o3-676a mo", "al2o3-676a mo"},
      {"the built-in table", "si cu\n", "si cu"},
      {"no setting", "<none>", "si cu"},
      {"empty", "", "si cu"},
      {"the built-in table with another tube", "si cr\n", "si cu"},
      {"an unknown standard", "quartz cu\n", "si cu"},
      {"an unknown radiation", "si-640e w\n", "si cu"},
      {"no radiation", "si-640e\n", "si cu"},
      {"two spaces", "si-640e  cr\n", "si cu"},
      {"two lines", "si-640e cr\nsi-640e cr\n", "si cu"},
      {"longer than a setting", "si-640e " + std::string(5000, 'c') + "\n", "si cu"},
  };
  for (const Case& c : cases) {
    fs::remove_all(fs::path(setting_).parent_path());
    if (c.text != "<none>")
      WriteSetting(c.text);
    ReferenceEntries entries;
    ReadReferenceSetting(setting_, entries);
    EXPECT_EQ(entries.Key(), c.expected) << c.name;
  }
  ReferenceEntries chosen;
  chosen.standard = "ceo2-674b";
  chosen.radiation = "fe";
  EXPECT_TRUE(WriteReferenceSetting(setting_, chosen));
  EXPECT_EQ(Read(setting_), "ceo2-674b fe\n");
  EXPECT_TRUE(WriteReferenceSetting("", chosen)) << "no path keeps nothing";
  EXPECT_FALSE(WriteReferenceSetting("/dev/null/Pellum/reference", chosen));
}

// The shell's road: a choice made in the dialog is written when it changes, the next run's
// dialog opens on it, and a setting that cannot be written is said once a run.
TEST_F(RememberedFolderTest, TheChosenReferenceIsKeptForTheNextRun) {
  const std::string reference = folder_ + "/config/Pellum/reference";
  const ScriptedPlatform::ReferenceAnswer none = {"lab6-660c", "cr", {"-1"}};
  AppState first;
  first.reportPath = folder_ + "/fitdata.txt";
  first.referenceSettingPath = reference;
  ScriptedPlatform platform;
  HandleCreate(first, platform);
  EXPECT_EQ(first.reference.Key(), "si cu");
  platform.referenceReadings = {none};
  HandleCommand(first, platform, IDM_OPEN, std::cout);
  EXPECT_EQ(Read(reference), "lab6-660c cr\n");

  AppState second;
  second.referenceSettingPath = reference;
  HandleCreate(second, platform);
  platform.log.clear();
  platform.referenceReadings = {none};
  HandleCommand(second, platform, IDM_OPEN, std::cout);
  EXPECT_EQ(platform.log, std::vector<std::string>{"entry lab6-660c cr:"});

  AppState third;
  third.referenceSettingPath = "/dev/null/Pellum/reference";
  HandleCreate(third, platform);
  platform.log.clear();
  platform.referenceReadings = {none, {"si-640e", "cr", {"-1"}}};
  HandleCommand(third, platform, IDM_OPEN, std::cout);
  HandleCommand(third, platform, IDM_OPEN, std::cout);
  EXPECT_EQ(platform.log,
            (std::vector<std::string>{
                "entry -1|-1|-1|-1|-1|-1",
                "message Cannot remember the reference!|/dev/null/Pellum/reference|warning",
                "entry lab6-660c cr: -1|-1|-1|-1|-1|-1"}));
  EXPECT_EQ(third.reference.Key(), "si-640e cr") << "the choice is used all the same";
}

}  // namespace
}  // namespace pellum
