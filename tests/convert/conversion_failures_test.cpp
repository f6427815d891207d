// The converters on real files: where outputs go, what the user is told, and that a
// failed conversion never costs an earlier output.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <csignal>
#include <filesystem>
#include <functional>

#include "convert/input_dispatch.h"
#include "convert/listing_converter.h"
#include "convert/profile_converter.h"
#include "tests/convert/convert_test_support.h"

namespace pellum {
namespace {

using testing::ReadFile;
using testing::RecordedMessage;
using testing::RecordingSink;
using testing::TemporaryFolder;
using testing::WriteFile;
using Messages = std::vector<RecordedMessage>;

const CalibrationCoefficients kShift{0.0, 0.1, 1.0, 0.0};
const std::string kListing = "Film\n\n2-Theta d BG H I\n30.0 2.976 1 1 500\n";
const std::string kProfile = "2Theta Counts\n20.0 50\n21.0 200\n";
const std::string kEarlier = "an earlier output that must survive\n";

RecordedMessage Saved(const std::string& outputPath) {
  return {"Output file is saved as " + outputPath, "Info", MessageKind::Information};
}

TEST(FileConversion, WritesBesideTheInputAndSaysWhere) {
  TemporaryFolder folder;
  std::filesystem::create_directory(folder.Path() / "run.2");
  const std::string listing = folder.File("run.2/film.old.pid");
  const std::string profile = folder.File("run.2/scan.txt");
  WriteFile(listing, kListing + "\n");
  WriteFile(profile, kProfile + "22\n");
  RecordingSink sink;
  ConversionStats stats;

  EXPECT_EQ(ConvertInputFile(listing, kShift, sink, &stats), 1);
  EXPECT_EQ(stats.skippedLines, 1u);
  EXPECT_EQ(ConvertInputFile(profile, kShift, sink, &stats), 1);
  EXPECT_EQ(stats.skippedLines, 1u);

  const std::string dat = folder.File("run.2/film.dat");
  const std::string pro = folder.File("run.2/scan.pro");
  EXPECT_EQ(ReadFile(dat), dat + "\n0 0 0   30.100000     500.0\n0 0 0\n");
  EXPECT_EQ(ReadFile(pro),
            "2 theta (degree)\tI/I(max)x100\treflec_x\treflec_y\n"
            "20.100000\t25.000000\n21.100000\t100.000000\n");
  EXPECT_EQ(sink.messages, (Messages{Saved(dat), Saved(pro)}));
  EXPECT_EQ(folder.Listing(), (std::vector<std::string>{"run.2"}));
}

TEST(FileConversion, ExtensionsInAnyCaseAreConverted) {
  TemporaryFolder folder;
  WriteFile(folder.File("FILM.PID"), kListing);
  WriteFile(folder.File("Data.Txt"), kProfile);
  RecordingSink sink;
  EXPECT_EQ(ConvertInputFile(folder.File("FILM.PID"), kShift, sink), 1);
  EXPECT_EQ(ConvertInputFile(folder.File("Data.Txt"), kShift, sink), 1);
  EXPECT_EQ(folder.Listing(),
            (std::vector<std::string>{"Data.Txt", "Data.pro", "FILM.PID", "FILM.dat"}));
}

#ifndef _WIN32  // Windows files have no mode bits
TEST(FileConversion, ReplacesAnEarlierOutputKeepingItsMode) {
  TemporaryFolder folder;
  WriteFile(folder.File("film.pid"), kListing);
  WriteFile(folder.File("film.dat"), kEarlier);
  ::chmod(folder.File("film.dat").c_str(), 0640);
  RecordingSink sink;
  EXPECT_EQ(ConvertListingFile(folder.File("film.pid"), kShift, sink), 1);
  EXPECT_NE(ReadFile(folder.File("film.dat")), kEarlier);
  struct stat status {};
  ASSERT_EQ(::stat(folder.File("film.dat").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0640u);
}
#endif

TEST(FileConversion, AnInputThatCannotBeOpenedIsRefusedSilently) {
  TemporaryFolder folder;
  std::filesystem::create_directory(folder.Path() / "folder.pid");
  RecordingSink sink;
  EXPECT_EQ(ConvertInputFile(folder.File("missing.pid"), kShift, sink), 0);
  EXPECT_EQ(ConvertInputFile(folder.File("missing.txt"), kShift, sink), 0);
  EXPECT_EQ(ConvertInputFile(folder.File("folder.pid"), kShift, sink), 0);
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_EQ(folder.Listing(), std::vector<std::string>{"folder.pid"});
}

TEST(FileConversion, AnInputNameWithoutDotIsRefused) {
  RecordingSink sink;
  EXPECT_EQ(ConvertListingFile("/data/run.2/film", kShift, sink), 0);
  EXPECT_EQ(ConvertProfileFile("", kShift, sink), 0);
  EXPECT_EQ(sink.messages,
            (Messages{{"/data/run.2/film", "Invalid input file name", MessageKind::Error},
                      {"", "Invalid input file name", MessageKind::Error}}));
}

// A failed conversion shows its messages, returns 0, leaves the earlier output as it was
// and leaves no temporary file.
struct FailureCase {
  const char* name;
  std::string input;       // the input's bytes
  std::string inputName;   // film.pid or film.txt
  std::string outputName;  // film.dat or film.pro
  bool outputIsFolder;
  const char* caption;
  bool captionShowsOutput;
};

class Failures : public ::testing::TestWithParam<FailureCase> {};

TEST_P(Failures, LeaveEarlierOutputsIntact) {
  const FailureCase& c = GetParam();
  TemporaryFolder folder;
  const std::string input = folder.File(c.inputName);
  const std::string output = folder.File(c.outputName);
  WriteFile(input, c.input);
  if (c.outputIsFolder) {
    std::filesystem::create_directory(output);
    WriteFile(output + "/inside", kEarlier);
  } else {
    WriteFile(output, kEarlier);
  }
  RecordingSink sink;
  EXPECT_EQ(ConvertInputFile(input, kShift, sink), 0);
  EXPECT_EQ(sink.messages,
            (Messages{{c.captionShowsOutput ? output : input, c.caption, MessageKind::Error}}));
  EXPECT_EQ(ReadFile(c.outputIsFolder ? output + "/inside" : output), kEarlier);
  EXPECT_EQ(folder.Listing(), (std::vector<std::string>{std::min(c.inputName, c.outputName),
                                                        std::max(c.inputName, c.outputName)}));
}

INSTANTIATE_TEST_SUITE_P(
    Conversion, Failures,
    ::testing::Values(FailureCase{"EmptyListing", "", "film.pid", "film.dat", false,
                                  "Invalid file format!", false},
                      FailureCase{"ListingWithoutHeading", "Sample\nGuinier\n", "film.pid",
                                  "film.dat", false, "Invalid file format!", false},
                      FailureCase{"EmptyProfile", "", "film.txt", "film.pro", false,
                                  "Invalid file format!", false},
                      FailureCase{"ListingOutputIsAFolder", kListing, "film.pid", "film.dat", true,
                                  "Cannot open an output file!", true},
                      FailureCase{"ProfileOutputIsAFolder", kProfile, "film.txt", "film.pro", true,
                                  "Cannot open an output file!", true},
                      // The listing opens its output before it reads the header, the profile after
                      // its first pass: each reports the first failure it meets.
                      FailureCase{"ListingFolderBeforeFormat", "", "film.pid", "film.dat", true,
                                  "Cannot open an output file!", true},
                      FailureCase{"ProfileFormatBeforeFolder", "", "film.txt", "film.pro", true,
                                  "Invalid file format!", false}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

TEST(FileConversion, AProfileEmptiedBetweenThePassesIsInvalid) {
  TemporaryFolder folder;
  const std::string input = folder.File("film.txt");
  WriteFile(input, kProfile);
  WriteFile(folder.File("film.pro"), kEarlier);
  RecordingSink sink;
  const auto empty = [&] { WriteFile(input, ""); };
  EXPECT_EQ(ConvertProfileFile(input, kShift, sink, nullptr, empty), 0);
  EXPECT_EQ(sink.messages, (Messages{{input, "Invalid file format!", MessageKind::Error}}));
  EXPECT_EQ(ReadFile(folder.File("film.pro")), kEarlier);
  EXPECT_EQ(folder.Listing(), (std::vector<std::string>{"film.pro", "film.txt"}));
}

TEST(FileConversion, AProfileRemovedBetweenThePassesIsStillReadWhole) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows removes no file while it is open for reading";
#endif
  TemporaryFolder folder;
  const std::string input = folder.File("film.txt");
  WriteFile(input, kProfile);
  RecordingSink sink;
  const auto remove = [&] { std::filesystem::remove(input); };
  EXPECT_EQ(ConvertProfileFile(input, kShift, sink, nullptr, remove), 1);
  EXPECT_EQ(ReadFile(folder.File("film.pro")),
            "2 theta (degree)\tI/I(max)x100\treflec_x\treflec_y\n"
            "20.100000\t25.000000\n21.100000\t100.000000\n");
}

#ifndef _WIN32  // no fork, setuid or file size limit on Windows
// Runs body in a child process and returns its exit status: the child may lower its own
// limits or drop its privileges without touching the test runner.
int RunInChild(const std::function<int()>& body) {
  const pid_t child = ::fork();
  if (child == 0) {
    ::_exit(body());
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
}

TEST(FileConversion, AFolderThatCannotBeWrittenKeepsItsOutput) {
  TemporaryFolder folder;
  const std::string input = folder.File("film.pid");
  const std::string output = folder.File("film.dat");
  WriteFile(input, kListing);
  WriteFile(output, kEarlier);
  ::chmod(input.c_str(), 0644);
  ::chmod(output.c_str(), 0644);
  ::chmod(folder.Path().c_str(), 0555);
  // Root writes anywhere, so the conversion runs as an ordinary user then.
  const int status = RunInChild([&] {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
      return 2;
    }
    RecordingSink sink;
    const int result = ConvertListingFile(input, kShift, sink);
    const Messages expected{{output, "Cannot open an output file!", MessageKind::Error}};
    return result == 0 && sink.messages == expected ? 0 : 1;
  });
  if (status == 2) {
    GTEST_SKIP() << "cannot run as an ordinary user here";
  }
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadFile(output), kEarlier);
  EXPECT_EQ(folder.Listing(), (std::vector<std::string>{"film.dat", "film.pid"}));
}

TEST(FileConversion, AWriteErrorKeepsTheEarlierOutput) {
  TemporaryFolder folder;
  std::string listing = "2-Theta d BG H I\n";
  std::string profile = "header\n";
  for (int i = 0; i < 5000; ++i) {
    listing += "30.0 2.976 1 1 500\n";
    profile += "20.0 50\n";
  }
  WriteFile(folder.File("film.pid"), listing);
  WriteFile(folder.File("scan.txt"), profile);
  WriteFile(folder.File("film.dat"), kEarlier);
  WriteFile(folder.File("scan.pro"), kEarlier);
  // A file size limit makes every write past 4 KiB fail, as a full disk would.
  const int status = RunInChild([&] {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
      return 2;
    }
    RecordingSink sink;
    const int listingResult = ConvertInputFile(folder.File("film.pid"), kShift, sink);
    const int profileResult = ConvertInputFile(folder.File("scan.txt"), kShift, sink);
    const Messages expected{
        {folder.File("film.dat"), "Cannot write the output file!", MessageKind::Error},
        {folder.File("scan.pro"), "Cannot write the output file!", MessageKind::Error}};
    return listingResult == 0 && profileResult == 0 && sink.messages == expected ? 0 : 1;
  });
  ASSERT_NE(status, 2) << "setrlimit failed";
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadFile(folder.File("film.dat")), kEarlier);
  EXPECT_EQ(ReadFile(folder.File("scan.pro")), kEarlier);
  EXPECT_EQ(folder.Listing(),
            (std::vector<std::string>{"film.dat", "film.pid", "scan.pro", "scan.txt"}));
}
#endif

}  // namespace
}  // namespace pellum
