// The fit report where it cannot be written: a missing folder, a folder in its place, a
// regular file standing where its folder should be, the kernel's full device, a report or
// a folder the system will not let anyone change, a disk that fills up. The calibration
// stands without its report: the console line, -1, the same coefficients, and nothing
// else changed.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <csignal>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "calib/fit.h"
#include "calib/fit_report.h"
#include "tests/support/fit_and_report.h"
#include "tests/support/injected_faults.h"
#include "tests/support/temporary_folder.h"

namespace pellum {
namespace {

namespace fs = std::filesystem;
using testing::ChildReport;
using testing::RunInChild;
using testing::SetImmutable;

const std::string kRefusal = "ERROE: Cannot open an output file!\n";
const std::string kEarlier = "an earlier report\n";

const std::vector<CalibrationPoint> kReadings = {
    {28.45, 28.442, 1.0}, {47.31, 47.303, 1.0}, {56.13, 56.122, 1.0}, {69.14, 69.130, 1.0}};

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

class ReportFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "pellum-report-XXXXXX").string();
    ASSERT_TRUE(testing::MakeTemporaryFolder(pattern));
    folder_ = pattern;
  }
  void TearDown() override {
    SetImmutable(folder_.string(), false);
    SetImmutable((folder_ / "fitdata.txt").string(), false);
    fs::remove_all(folder_);
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder_)) {
      names.push_back(fs::relative(entry.path(), folder_).string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  fs::path folder_;
};

// Each case prepares the folder and names the report's path; "" skips the case here.
struct ReportFault {
  const char* name;
  std::function<std::string(const fs::path&)> prepare;
};

class UnwritableReports : public ReportFolder, public ::testing::WithParamInterface<ReportFault> {};

TEST_P(UnwritableReports, TheFitStandsWithoutItsReport) {
  CalibrationCoefficients expected;
  std::ostringstream quiet;
  ASSERT_EQ(FitAndReport(kReadings, expected, (folder_ / "good.txt").string(), quiet), 0);
  fs::remove(folder_ / "good.txt");

  const std::string path = GetParam().prepare(folder_);
  if (path.empty()) {
    GTEST_SKIP() << "this fault cannot be made here";
  }
  const std::vector<std::string> before = Names();
  CalibrationCoefficients c;
  std::ostringstream console;
  EXPECT_EQ(FitAndReport(kReadings, c, path, console), -1);
  EXPECT_EQ(console.str(), kRefusal);
  EXPECT_EQ(c.a1, expected.a1);
  EXPECT_EQ(c.a2, expected.a2);
  EXPECT_EQ(c.a3, expected.a3);
  EXPECT_EQ(c.delta, expected.delta);
  EXPECT_EQ(Names(), before);
  if (fs::is_regular_file(folder_ / "fitdata.txt")) {
    EXPECT_EQ(ReadBytes(folder_ / "fitdata.txt"), kEarlier);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Report, UnwritableReports,
    ::testing::Values(
        ReportFault{"MissingFolder",
                    [](const fs::path& f) { return (f / "missing" / "fitdata.txt").string(); }},
        ReportFault{"FolderInItsPlace",
                    [](const fs::path& f) {
                      fs::create_directory(f / "fitdata.txt");
                      return (f / "fitdata.txt").string();
                    }},
        ReportFault{"FileWhereTheFolderShouldBe",
                    [](const fs::path& f) {
                      WriteBytes(f / "plain", "a file, not a folder\n");
                      return (f / "plain" / "fitdata.txt").string();
                    }},
        ReportFault{"ImmutableReport",
                    [](const fs::path& f) {
                      WriteBytes(f / "fitdata.txt", kEarlier);
                      return SetImmutable((f / "fitdata.txt").string(), true)
                                 ? (f / "fitdata.txt").string()
                                 : "";
                    }},
        ReportFault{"ImmutableFolder",
                    [](const fs::path& f) {
                      return SetImmutable(f.string(), true) ? (f / "fitdata.txt").string() : "";
                    }}),
    [](const ::testing::TestParamInfo<ReportFault>& info) { return info.param.name; });

TEST(ReportFaults, AnEmptyPathIsRefused) {
  std::ostringstream console;
  EXPECT_EQ(WriteFitReport(FitResult{}, "", console), -1);
  EXPECT_EQ(console.str(), kRefusal);
}

// The full device takes the open and refuses the bytes when the file is closed: the close
// must count.
TEST(ReportFaults, TheFullDeviceIsAFailedWrite) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows has no full device";
#endif
  if (!fs::exists("/dev/full")) {
    GTEST_SKIP() << "no /dev/full here";
  }
  std::ostringstream console;
  EXPECT_EQ(WriteFitReport(FitResult{}, "/dev/full", console), -1);
  EXPECT_EQ(console.str(), kRefusal);
}

// A disk with no room left: the report fails. (An earlier report would give back its own
// room when it is truncated, so the disk holds none here.)
TEST_F(ReportFolder, AFullDiskFailsTheReport) {
  const ChildReport report = RunInChild([&]() -> std::string {
    if (std::string skip = testing::MountSmallDisk(folder_.string(), 64 * 1024); !skip.empty()) {
      return skip;
    }
    testing::FillDisk((folder_ / "filler").string());
    std::ostringstream console;
    const int result = WriteFitReport(FitResult{}, (folder_ / "fitdata.txt").string(), console);
    if (result != -1 || console.str() != kRefusal) {
      return "result " + std::to_string(result) + ", console '" + console.str() + "'";
    }
    return "";
  });
  ASSERT_TRUE(report.finished) << "signal " << report.signal;
  if (report.text.rfind("skip:", 0) == 0) {
    GTEST_SKIP() << report.text;
  }
  EXPECT_EQ(report.text, "");
}

#ifndef _WIN32  // no file size limit on Windows
// A write refused halfway (here by a file size limit, as a quota would) fails the report,
// and the earlier report stays as it was.
TEST_F(ReportFolder, AFailedWriteKeepsTheEarlierReport) {
  WriteBytes(folder_ / "fitdata.txt", kEarlier);
  const ChildReport report = RunInChild([&]() -> std::string {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{64, 64};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::ostringstream console;
    const int result = WriteFitReport(FitResult{}, (folder_ / "fitdata.txt").string(), console);
    return result == -1 && console.str() == kRefusal ? "" : "the write did not fail";
  });
  ASSERT_TRUE(report.finished) << "signal " << report.signal;
  EXPECT_EQ(report.text, "");
  EXPECT_EQ(ReadBytes(folder_ / "fitdata.txt"), kEarlier);
}
#endif

// Devices are written where they stand: renaming a file over /dev/null would replace the
// device itself for every program on the machine.
TEST(ReportPlaces, ADeviceIsWrittenInPlace) {
#ifdef _WIN32
  const char* const device = "NUL";
#else
  const char* const device = "/dev/null";
#endif
  std::ostringstream console;
  EXPECT_EQ(WriteFitReport(FitResult{}, device, console), 0);
  EXPECT_EQ(console.str(), "");
#ifndef _WIN32
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
#endif
}

// A report path that is a link is replaced as a file of its own: what the link led to
// (here an earlier report elsewhere) is never written.
TEST_F(ReportFolder, ALinkIsReplacedAsAFileOfItsOwn) {
  fs::create_directory(folder_ / "reports");
  WriteBytes(folder_ / "reports" / "fitdata.txt", kEarlier);
  std::error_code error;
  fs::create_symlink(folder_ / "reports" / "fitdata.txt", folder_ / "fitdata.txt", error);
  if (error)
    GTEST_SKIP() << "no symbolic links here: " << error.message();
  std::ostringstream console;
  EXPECT_EQ(WriteFitReport(FitResult{}, (folder_ / "fitdata.txt").string(), console), 0);
  EXPECT_FALSE(fs::is_symlink(folder_ / "fitdata.txt"));
  EXPECT_EQ(ReadBytes(folder_ / "fitdata.txt"), FormatFitReport(FitResult{}));
  EXPECT_EQ(ReadBytes(folder_ / "reports" / "fitdata.txt"), kEarlier);
  // No temporary file is left in either folder.
  EXPECT_EQ(Names(), (std::vector<std::string>{"fitdata.txt", "reports", "reports/fitdata.txt"}));
}

}  // namespace
}  // namespace pellum
