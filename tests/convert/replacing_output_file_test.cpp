// The output seam on real files: what a link, an earlier file's mode and owner, a name near
// the system's limit and a signal halfway through do to a replaced output.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "convert/listing_converter.h"
#include "io/replacing_output_file.h"
#include "io/temporary_file_cleanup.h"
#include "tests/convert/convert_test_support.h"
#include "tests/support/injected_faults.h"

namespace pellum {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TemporaryFolder;
using testing::WriteFile;

const std::string kListing = "Film\n\n2-Theta d BG H I\n30.0 2.976 1 1 500\n";
const std::string kEarlier = "an earlier output that must survive\n";

// film.dat is a link to `target` (relative to the folder); film.pid is the input.
struct LinkCase {
  const char* name;
  std::string target;
  bool replacesTheLink;  // false: a device, written in place through the link
};

class OutputLinks : public ::testing::TestWithParam<LinkCase> {};

TEST_P(OutputLinks, AreReplacedAndTheirTargetsNeverWritten) {
  TemporaryFolder folder;
  WriteFile(folder.File("film.pid"), kListing);
  WriteFile(folder.File("notes.txt"), kEarlier);
  std::error_code error;
  fs::create_symlink(GetParam().target, folder.Path() / "film.dat", error);
  if (error)
    GTEST_SKIP() << "no symbolic links here: " << error.message();
  testing::RecordingSink sink;
  ASSERT_EQ(ConvertListingFile(folder.File("film.pid"), {0.0, 0.1, 1.0, 0.0}, sink), 1);
  EXPECT_EQ(ReadFile(folder.File("film.pid")), kListing);
  EXPECT_EQ(ReadFile(folder.File("notes.txt")), kEarlier);
  EXPECT_EQ(fs::is_symlink(folder.Path() / "film.dat"), !GetParam().replacesTheLink);
  if (GetParam().replacesTheLink) {
    EXPECT_EQ(ReadFile(folder.File("film.dat")),
              folder.File("film.dat") + "\n0 0 0   30.100000     500.0\n0 0 0\n");
  }
  EXPECT_EQ(folder.Listing(), (std::vector<std::string>{"film.dat", "film.pid", "notes.txt"}));
}

INSTANTIATE_TEST_SUITE_P(Replacing, OutputLinks,
                         ::testing::Values(LinkCase{"ToAnotherFile", "notes.txt", true},
                                           LinkCase{"ToTheInput", "film.pid", true},
                                           LinkCase{"ToAMissingFile", "missing.txt", true},
                                           LinkCase{"ToTheNullDevice", "/dev/null", false}),
                         [](const auto& info) { return info.param.name; });

#ifndef _WIN32  // Windows files have no mode bits nor owner ids
// Earlier mode and owner -> the replacement's; setuid and setgid are not passed on.
struct ModeCase {
  mode_t earlier;
  mode_t replaced;
  bool ownedByNobody;
};

class ReplacedModes : public ::testing::TestWithParam<ModeCase> {};

TEST_P(ReplacedModes, KeepTheEarlierBitsAndOwner) {
  TemporaryFolder folder;
  const std::string path = folder.File("film.dat");
  WriteFile(path, kEarlier);
  if (GetParam().ownedByNobody && ::chown(path.c_str(), 65534, 65534) != 0) {
    GTEST_SKIP() << "cannot give a file away here";
  }
  ::chmod(path.c_str(), GetParam().earlier);
  struct stat before {
  }, after{};
  ::stat(path.c_str(), &before);
  ReplacingOutputFile out(path);
  ASSERT_TRUE(out.Open());
  out.Stream() << "new\n";
  ASSERT_TRUE(out.Commit());
  ASSERT_EQ(::stat(path.c_str(), &after), 0);
  EXPECT_EQ(after.st_mode & 07777, GetParam().replaced);
  EXPECT_EQ(after.st_uid, before.st_uid);
  EXPECT_EQ(after.st_gid, before.st_gid);
}

INSTANTIATE_TEST_SUITE_P(Replacing, ReplacedModes,
                         ::testing::Values(ModeCase{0640, 0640, false},
                                           ModeCase{04755, 0755, false},
                                           ModeCase{02775, 0775, true},
                                           ModeCase{01777, 01777, false},
                                           ModeCase{06750, 0750, true}, ModeCase{0600, 0600, true}),
                         [](const auto& info) {
                           std::ostringstream name;
                           name << "Mode" << std::oct << info.param.earlier;
                           return name.str() + (info.param.ownedByNobody ? "OwnedByNobody" : "");
                         });
#endif

// An existing output is replaced whole, in one step, however its path is spelled (on
// Windows a backslash separates folders too, and a rename may not replace a file: the
// replacement has to say so); nothing is left beside it.
TEST(ReplacingOutputPaths, ReplaceAnExistingOutputWhole) {
  const std::vector<std::string> spellings = {
      "film.dat",        "run.2/film.dat",         "run.2/deeper/film.dat",
#ifdef _WIN32
      "run.2\\film.dat", "run.2/deeper\\film.dat",
#endif
  };
  for (const std::string& spelling : spellings) {
    TemporaryFolder folder;
    fs::create_directories(folder.Path() / "run.2" / "deeper");
    const std::string path = folder.Path().string() + "/" + spelling;
    WriteFile(path, kEarlier);
    for (const std::string& text : {std::string(200000, 'n'), std::string("short\n")}) {
      ReplacingOutputFile out(path);
      ASSERT_TRUE(out.Open()) << spelling;
      out.Stream() << text;
      ASSERT_TRUE(out.Commit()) << spelling;
      EXPECT_EQ(ReadFile(path), text) << spelling;
    }
    const fs::path shown = fs::path(path).parent_path();
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(shown))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::vector<std::string> expected = {"film.dat"};
    if (spelling == "film.dat")
      expected = {"film.dat", "run.2"};
    else if (fs::path(spelling).parent_path().filename() == "run.2")
      expected = {"deeper", "film.dat"};
    EXPECT_EQ(names, expected) << spelling;
  }
}

// An output another program holds open for reading: on POSIX the rename replaces it and the
// reader keeps what it opened; on Windows the file cannot be replaced while it is open without
// leave to delete it, and the failure is said. Either way no half file and no temporary file.
TEST(ReplacingOutputPaths, AnOutputHeldOpenIsReplacedWholeOrNotAtAll) {
  TemporaryFolder folder;
  const std::string path = folder.File("film.dat");
  WriteFile(path, kEarlier);
  std::ifstream reader(path, std::ios::binary);
  ASSERT_TRUE(reader.is_open());
  ReplacingOutputFile out(path);
  ASSERT_TRUE(out.Open());
  out.Stream() << "new\n";
  const bool committed = out.Commit();
  std::string held;
  std::getline(reader, held);
  EXPECT_EQ(held + "\n", kEarlier);
  reader.close();
#ifdef _WIN32
  EXPECT_FALSE(committed);
  EXPECT_EQ(ReadFile(path), kEarlier);
#else
  EXPECT_TRUE(committed);
  EXPECT_EQ(ReadFile(path), "new\n");
#endif
  EXPECT_EQ(folder.Listing(), std::vector<std::string>{"film.dat"});
}

// Names up to the limit of 255 bytes; the multi-byte one is cut between characters.
TEST(ReplacingOutputNames, NamesNearTheLimitAreReplaced) {
  std::string accented;
  for (int i = 0; i < 127; ++i) {
    accented += "\xC3\xA9";
  }
  std::vector<std::string> names = {std::string(248, 'a'), std::string(250, 'b') + ".dat",
                                    std::string(255, 'c')};
#ifndef _WIN32
  // Windows counts names in UTF-16 units and its narrow names are in a one-byte code page
  // (under Wine, moreover, a name of 255 such characters is longer than Linux allows).
  names.push_back(accented + "d");
#endif
  for (const std::string& name : names) {
    TemporaryFolder folder;
    WriteFile(folder.File(name), kEarlier);
    ReplacingOutputFile out(folder.File(name));
    ASSERT_TRUE(out.Open()) << name.size() << " bytes";
    out.Stream() << "new\n";
    EXPECT_TRUE(out.Commit());
    EXPECT_EQ(ReadFile(folder.File(name)), "new\n");
    EXPECT_EQ(folder.Listing(), std::vector<std::string>{name});
  }
}

#ifndef _WIN32  // the console's interrupt is handled on a thread of its own there
// A signal halfway through two outputs: both temporary files go, the earlier output stays,
// and the process ends by the signal (status 128 + the signal to a shell). A signal ignored
// before start-up stays ignored, and the outputs complete.
struct SignalCase {
  int signal;
  bool ignoredBefore;
};

class InterruptedOutputs : public ::testing::TestWithParam<SignalCase> {};

TEST_P(InterruptedOutputs, LeaveNoTemporaryFileAndEndByTheSignal) {
  TemporaryFolder folder;
  WriteFile(folder.File("film.dat"), kEarlier);
  const testing::ChildReport report = testing::RunInChild([&]() -> std::string {
    if (GetParam().ignoredBefore) {
      std::signal(GetParam().signal, SIG_IGN);
    }
    InstallTemporaryFileCleanup();
    ReplacingOutputFile output(folder.File("film.dat"));
    ReplacingOutputFile report(folder.File("fitdata.txt"));
    if (!output.Open() || !report.Open()) {
      return "not opened";
    }
    output.Stream() << std::string(100000, 'x');
    report.Stream() << "half a report";
    ::raise(GetParam().signal);
    return output.Commit() && report.Commit() ? "" : "not committed";
  });
  const bool ignored = GetParam().ignoredBefore;
  EXPECT_EQ(report.finished, ignored);
  EXPECT_EQ(report.signal, ignored ? 0 : GetParam().signal);
  EXPECT_EQ(report.text, "");
  EXPECT_EQ(ReadFile(folder.File("film.dat")), ignored ? std::string(100000, 'x') : kEarlier);
  const std::vector<std::string> left = ignored
                                            ? std::vector<std::string>{"film.dat", "fitdata.txt"}
                                            : std::vector<std::string>{"film.dat"};
  EXPECT_EQ(folder.Listing(), left);
}

INSTANTIATE_TEST_SUITE_P(Replacing, InterruptedOutputs,
                         ::testing::Values(SignalCase{SIGINT, false}, SignalCase{SIGTERM, false},
                                           SignalCase{SIGHUP, false}, SignalCase{SIGHUP, true}),
                         [](const auto& info) {
                           return std::string(sigabbrev_np(info.param.signal)) +
                                  (info.param.ignoredBefore ? "IgnoredBefore" : "");
                         });
#endif

}  // namespace
}  // namespace pellum
