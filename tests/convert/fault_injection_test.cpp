// Faults from outside the program, injected for real: a folder or an output the system
// will not let anyone change (the immutable attribute, which stops root too), a disk that
// fills up (a small private tmpfs), inputs that are not data files (a FIFO nobody writes
// to, a link to an endless device), an input that may not be read, and a profile that
// another program changes between the two passes. For each: the result, the exact
// messages, the earlier output byte for byte, and no file left behind.
//
// Each conversion runs in a child process under an alarm, so that a conversion that would
// block or read forever fails the test instead of hanging the suite, and so that the child
// may drop its privileges or mount a file system of its own.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "convert/listing_converter.h"
#include "convert/profile_converter.h"
#include "tests/convert/convert_test_support.h"
#include "tests/support/injected_faults.h"

namespace pellum {
namespace {

using testing::BecomeOrdinaryUser;
using testing::ChildReport;
using testing::FillDisk;
using testing::MountSmallDisk;
using testing::ReadFile;
using testing::RecordedMessage;
using testing::RecordingSink;
using testing::RunInChild;
using testing::SetImmutable;
using testing::TemporaryFolder;
using testing::WriteFile;
using Messages = std::vector<RecordedMessage>;

const CalibrationCoefficients kShift{0.0, 0.1, 1.0, 0.0};
const std::string kEarlier = "an earlier output that must survive\n";

std::string Listing(int rows) {
  std::string text = "Film\n\n2-Theta d BG H I\n";
  for (int i = 0; i < rows; ++i) {
    text += "30.0 2.976 1 1 500\n";
  }
  return text;
}

std::string Profile(int rows) {
  std::string text = "2Theta Counts\n";
  for (int i = 0; i < rows; ++i) {
    text += "20.0 50\n";
  }
  return text;
}

// The files of a conversion of film.pid or film.txt in folder.
struct Paths {
  std::string folder;
  std::string input;
  std::string output;
};

// One injected fault: `before` runs in the child before the conversion (and returns a
// report as the child does); `between` runs between the profile's passes.
struct FaultCase {
  const char* name;
  bool listing;
  std::string input;
  std::function<std::string(const Paths&)> before;
  std::function<void(const Paths&)> between;
  int result;
  const char* caption;  // nullptr: no message at all
  bool captionShowsOutput;
  std::string output;  // what the output holds afterwards: the earlier output unless set
  std::vector<std::string> extraFiles = {};  // besides input and output, e.g. a disk filler
};

std::string Describe(const Messages& messages) {
  std::ostringstream text;
  for (const RecordedMessage& m : messages) {
    text << "[" << m.text << " | " << m.caption << "] ";
  }
  return text.str();
}

std::string RunCase(const FaultCase& c, const Paths& paths) {
  if (c.before) {
    if (std::string report = c.before(paths); !report.empty()) {
      return report;
    }
  }
  RecordingSink sink;
  const int result = c.listing ? ConvertListingFile(paths.input, kShift, sink)
                               : ConvertProfileFile(paths.input, kShift, sink, nullptr,
                                                    [&] { c.between ? c.between(paths) : void(); });
  Messages expected;
  if (c.caption != nullptr) {
    expected.push_back(
        {c.captionShowsOutput ? paths.output : paths.input, c.caption, MessageKind::Error});
  } else if (c.result == 1) {
    expected.push_back(
        {"Output file is saved as " + paths.output, "Info", MessageKind::Information});
  }
  std::string failures;
  if (result != c.result) {
    failures += "result " + std::to_string(result) + "; ";
  }
  if (sink.messages != expected) {
    failures += "messages " + Describe(sink.messages) + "; ";
  }
  const std::string want = c.output.empty() ? kEarlier : c.output;
  if (ReadFile(paths.output) != want) {
    failures += "output now holds '" + ReadFile(paths.output).substr(0, 200) + "'; ";
  }
  std::vector<std::string> names = c.extraFiles;
  names.push_back(std::filesystem::path(paths.input).filename());
  names.push_back(std::filesystem::path(paths.output).filename());
  std::sort(names.begin(), names.end());
  std::vector<std::string> found;
  for (const auto& entry : std::filesystem::directory_iterator(paths.folder)) {
    found.push_back(entry.path().filename());
  }
  std::sort(found.begin(), found.end());
  if (found != names) {
    failures += "folder holds";
    for (const std::string& name : found) {
      failures += " " + name;
    }
  }
  return failures;
}

class InjectedFaults : public ::testing::TestWithParam<FaultCase> {};

TEST_P(InjectedFaults, FailCleanlyAndKeepTheEarlierOutput) {
  const FaultCase& c = GetParam();
  TemporaryFolder root;
  // World-searchable and writable, so that a child running as an ordinary user meets
  // only the fault under test.
  ::chmod(root.Path().c_str(), 0777);
  Paths paths{root.File("work"), root.File("work/film.pid"), root.File("work/film.dat")};
  if (!c.listing) {
    paths.input = root.File("work/film.txt");
    paths.output = root.File("work/film.pro");
  }
  std::filesystem::create_directory(paths.folder);
  ::chmod(paths.folder.c_str(), 0777);
  WriteFile(paths.input, c.input);
  WriteFile(paths.output, kEarlier);

  const ChildReport report = RunInChild([&] { return RunCase(c, paths); });
  SetImmutable(paths.folder, false);
  SetImmutable(paths.output, false);
  ASSERT_TRUE(report.finished) << "the conversion did not finish: "
                               << (report.signal == SIGALRM ? "it blocked or read forever"
                                                            : "it crashed, signal ")
                               << report.signal;
  if (report.text.rfind("skip:", 0) == 0) {
    GTEST_SKIP() << report.text;
  }
  EXPECT_EQ(report.text, "");
}

std::string MakeImmutable(const std::string& path) {
  return SetImmutable(path, true) ? "" : "skip: no immutable attribute on this file system";
}

std::string ReplaceByFifo(const std::string& path) {
  std::filesystem::remove(path);
  return ::mkfifo(path.c_str(), 0644) == 0 ? "" : "skip: no FIFO here";
}

// The disk holds the input and the earlier output and nothing more: every write fails.
std::string FillSmallDisk(const Paths& paths) {
  const std::string input = ReadFile(paths.input);
  std::filesystem::remove(paths.input);
  std::filesystem::remove(paths.output);
  if (std::string skip = MountSmallDisk(paths.folder, 2 << 20); !skip.empty()) {
    return skip;
  }
  WriteFile(paths.input, input);
  WriteFile(paths.output, kEarlier);
  FillDisk(paths.folder + "/filler");
  return ReadFile(paths.input) == input ? "" : "the small disk did not take the input";
}

std::string WithoutReadPermission(const Paths& paths) {
  ::chmod(paths.input.c_str(), 0);
  return BecomeOrdinaryUser() ? "" : "skip: cannot run as an ordinary user here";
}

// An endless device would grow one line without bound: cap the memory, so that a reader
// that never stops shows up as a failed allocation rather than a swapping machine.
std::string LinkToEndlessDevice(const Paths& paths) {
  std::filesystem::remove(paths.input);
  std::filesystem::create_symlink("/dev/zero", paths.input);
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmData:", 0) == 0) {
      const rlim_t data = std::strtoull(line.c_str() + 7, nullptr, 10) * 1024 + (rlim_t{1} << 30);
      const rlimit limit{data, data};
      return ::setrlimit(RLIMIT_DATA, &limit) == 0 ? "" : "skip: cannot limit the memory";
    }
  }
  return "skip: no VmData in /proc/self/status";
}

// A link to the process's own memory file: a regular file to stat(), whose read at offset 0
// (an address never mapped) fails with EIO, as a failing disk or network file would.
std::string LinkToUnreadableFile(const Paths& paths) {
  std::filesystem::remove(paths.input);
  std::filesystem::create_symlink("/proc/self/mem", paths.input);
  std::ifstream probe(paths.input, std::ios::binary);
  return probe.is_open() ? "" : "skip: /proc/self/mem cannot be opened here";
}

const std::string kProfileRows =
    "2 theta (degree)\tI/I(max)x100\treflec_x\treflec_y\n"
    "20.100000\t25.000000\n";

INSTANTIATE_TEST_SUITE_P(
    Conversion, InjectedFaults,
    ::testing::Values(
        // The immutable attribute refuses root as well as anyone.
        FaultCase{"ListingFolderImmutable",
                  true,
                  Listing(3),
                  [](const Paths& p) { return MakeImmutable(p.folder); },
                  {},
                  0,
                  "Cannot open an output file!",
                  true,
                  ""},
        FaultCase{"ProfileFolderImmutable",
                  false,
                  Profile(3),
                  [](const Paths& p) { return MakeImmutable(p.folder); },
                  {},
                  0,
                  "Cannot open an output file!",
                  true,
                  ""},
        FaultCase{"ListingOutputImmutable",
                  true,
                  Listing(3),
                  [](const Paths& p) { return MakeImmutable(p.output); },
                  {},
                  0,
                  "Cannot open an output file!",
                  true,
                  ""},
        FaultCase{"ProfileOutputImmutable",
                  false,
                  Profile(3),
                  [](const Paths& p) { return MakeImmutable(p.output); },
                  {},
                  0,
                  "Cannot open an output file!",
                  true,
                  ""},
        // A full disk: small outputs fail at the final flush, large ones halfway.
        FaultCase{"ListingDiskFull",
                  true,
                  Listing(3),
                  FillSmallDisk,
                  {},
                  0,
                  "Cannot write the output file!",
                  true,
                  "",
                  {"filler"}},
        FaultCase{"ProfileDiskFull",
                  false,
                  Profile(3),
                  FillSmallDisk,
                  {},
                  0,
                  "Cannot write the output file!",
                  true,
                  "",
                  {"filler"}},
        FaultCase{"LargeListingDiskFull",
                  true,
                  Listing(20000),
                  FillSmallDisk,
                  {},
                  0,
                  "Cannot write the output file!",
                  true,
                  "",
                  {"filler"}},
        // Not data files: refused like a missing file, without blocking or reading forever.
        FaultCase{"ListingFifoNobodyWrites",
                  true,
                  "",
                  [](const Paths& p) { return ReplaceByFifo(p.input); },
                  {},
                  0,
                  nullptr,
                  false,
                  ""},
        FaultCase{"ProfileFifoNobodyWrites",
                  false,
                  "",
                  [](const Paths& p) { return ReplaceByFifo(p.input); },
                  {},
                  0,
                  nullptr,
                  false,
                  ""},
        FaultCase{
            "ListingLinkToEndlessDevice", true, "", LinkToEndlessDevice, {}, 0, nullptr, false, ""},
        FaultCase{"ListingWithoutReadPermission",
                  true,
                  Listing(3),
                  WithoutReadPermission,
                  {},
                  0,
                  nullptr,
                  false,
                  ""},
        FaultCase{"ProfileWithoutReadPermission",
                  false,
                  Profile(3),
                  WithoutReadPermission,
                  {},
                  0,
                  nullptr,
                  false,
                  ""},
        // A read error: the earlier output stays, and the caller is told the file was not read.
        FaultCase{"ListingReadError",
                  true,
                  "",
                  LinkToUnreadableFile,
                  {},
                  0,
                  "Cannot read the input file!",
                  false,
                  ""},
        FaultCase{"ProfileReadError",
                  false,
                  "",
                  LinkToUnreadableFile,
                  {},
                  0,
                  "Cannot read the input file!",
                  false,
                  ""},
        // Another program changes the profile between the passes: the second pass converts
        // what is there then, against the maximum of the first.
        FaultCase{"ProfileCutMidLineBetweenPasses",
                  false,
                  "2Theta Counts\n20.0 50\n21.0 200\n",
                  {},
                  [](const Paths& p) { WriteFile(p.input, "2Theta Counts\n20.0 50\n21."); },
                  1,
                  nullptr,
                  false,
                  kProfileRows,
                  {}},
        // Rows added after the first pass are measured against the maximum it found.
        FaultCase{"ProfileGrownBetweenPasses",
                  false,
                  "2Theta Counts\n20.0 50\n",
                  {},
                  [](const Paths& p) { WriteFile(p.input, "2Theta Counts\n20.0 50\n21.0 200\n"); },
                  1,
                  nullptr,
                  false,
                  "2 theta (degree)\tI/I(max)x100\treflec_x\treflec_y\n"
                  "20.100000\t100.000000\n21.100000\t400.000000\n",
                  {}},
        FaultCase{"ProfileCutInHeaderBetweenPasses",
                  false,
                  "2Theta Counts\n20.0 50\n",
                  {},
                  [](const Paths& p) { WriteFile(p.input, "2The"); },
                  1,
                  nullptr,
                  false,
                  "2 theta (degree)\tI/I(max)x100\treflec_x\treflec_y\n",
                  {}}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return info.param.name; });

// The stream-level converters meet a real disk-full error from the kernel's full device.
TEST(InjectedFaults, ConvertersReportTheFullDevice) {
  std::ofstream full("/dev/full", std::ios::binary);
  if (!full) {
    GTEST_SKIP() << "no /dev/full here";
  }
  std::istringstream listing(Listing(2));
  EXPECT_EQ(ConvertListing(listing, full, "/data/film.dat", kShift),
            ConversionOutcome::WriteFailed);

  std::ofstream fullAgain("/dev/full", std::ios::binary);
  std::istringstream profile(Profile(20000));
  EXPECT_EQ(WriteCalibratedProfile(profile, fullAgain, 50.0, kShift),
            ConversionOutcome::WriteFailed);
}

}  // namespace
}  // namespace pellum
