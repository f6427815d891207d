// The converters hold one line in memory at a time: the heap they use while converting
// does not grow with the number of lines, however many there are, nor with the number of
// long lines. Measured on the heap itself, by counting what this test program's operator
// new hands out, at a modest size; scripts/large-input-run makes the 2 GB run.
#include <gtest/gtest.h>
#include <malloc.h>

#ifdef _WIN32
// The C runtime's name for the size of a block it handed out.
#define malloc_usable_size _msize
#endif

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <new>
#include <sstream>
#include <string>

#include "convert/cif_export.h"
#include "convert/input_dispatch.h"
#include "convert/listing_converter.h"
#include "convert/profile_converter.h"
#include "tests/convert/convert_test_support.h"

namespace {

std::atomic<std::size_t> liveBytes{0};
std::atomic<std::size_t> peakBytes{0};

void* Count(void* block) {
  if (block == nullptr) {
    throw std::bad_alloc();
  }
  const std::size_t live = liveBytes += ::malloc_usable_size(block);
  std::size_t peak = peakBytes.load();
  while (live > peak && !peakBytes.compare_exchange_weak(peak, live)) {
  }
  return block;
}

void Uncount(void* block) {
  if (block != nullptr) {
    liveBytes -= ::malloc_usable_size(block);
    std::free(block);
  }
}

}  // namespace

void* operator new(std::size_t size) {
  return Count(std::malloc(size == 0 ? 1 : size));
}
void* operator new[](std::size_t size) {
  return Count(std::malloc(size == 0 ? 1 : size));
}
void operator delete(void* block) noexcept {
  Uncount(block);
}
void operator delete[](void* block) noexcept {
  Uncount(block);
}
void operator delete(void* block, std::size_t) noexcept {
  Uncount(block);
}
void operator delete[](void* block, std::size_t) noexcept {
  Uncount(block);
}

namespace pellum {
namespace {

using testing::RecordingSink;
using testing::TemporaryFolder;

const CalibrationCoefficients kShift{0.0, 0.1, 1.0, 0.0};

// Writes a file of a heading and `rows` copies of row, without holding it in memory.
void WriteRows(const std::string& path, const std::string& heading, const std::string& row,
               std::size_t rows) {
  std::ofstream out(path, std::ios::binary);
  out << heading;
  for (std::size_t i = 0; i < rows; ++i) {
    out << row;
  }
}

// The most heap the conversion held above what was held before it.
std::size_t PeakHeapOfConversion(const std::string& path) {
  RecordingSink sink;
  sink.messages.reserve(4);
  const std::size_t before = liveBytes.load();
  peakBytes = before;
  const int result = ConvertInputFile(path, kShift, sink);
  const std::size_t peak = peakBytes.load() - before;
  EXPECT_EQ(result, 1) << path;
  return peak;
}

struct SizeCase {
  const char* name;
  const char* fileName;
  std::string heading;
  std::string row;
  std::size_t fewRows;
  std::size_t manyRows;
};

class ConstantMemory : public ::testing::TestWithParam<SizeCase> {};

TEST_P(ConstantMemory, HeapDoesNotGrowWithTheNumberOfLines) {
  const SizeCase& c = GetParam();
  TemporaryFolder folder;
  const std::string path = folder.File(c.fileName);
  WriteRows(path, c.heading, c.row, c.fewRows);
  const std::size_t few = PeakHeapOfConversion(path);
  WriteRows(path, c.heading, c.row, c.manyRows);
  const std::size_t many = PeakHeapOfConversion(path);
  // A few strings may settle at another capacity; nothing may scale with the lines.
  EXPECT_LE(many, few + 4096) << "few rows: " << few << " bytes, many rows: " << many << " bytes";
  // The read and write buffers, and the line at hand with room to grow.
  EXPECT_LT(few, (std::size_t{4} << 20) + 3 * c.row.size());
}

const std::string kLongLine(std::size_t{4} << 20, '7');

INSTANTIATE_TEST_SUITE_P(
    Conversion, ConstantMemory,
    ::testing::Values(SizeCase{"Listing", "film.pid", "Film\n\n2-Theta d BG H I\n",
                               "28.442 3.1355 12 950 1000\n", 1000, 300000},
                      SizeCase{"Profile", "scan.txt", "2Theta Counts\n", "20.02 1234\n", 1000,
                               300000},
                      // Lines of 4 MB: one is held at a time, so ten cost what two cost.
                      SizeCase{"ListingLongLines", "film.pid", "2-Theta d BG H I\n",
                               "28.442 2 3 4 5 " + kLongLine + "\n", 2, 10},
                      SizeCase{"ProfileLongLines", "scan.txt", "2Theta Counts\n",
                               "20.02 5 " + kLongLine + "\n", 2, 10}),
    [](const ::testing::TestParamInfo<SizeCase>& info) { return info.param.name; });

// The CIF of a converted file is streamed as the conversion is: its heap does not grow with
// the rows, nor with the lines of a listing's header, which the CIF keeps as text.
TEST(ConstantMemoryCif, HeapDoesNotGrowWithTheNumberOfLines) {
  TemporaryFolder folder;
  const CifCalibration calibration{false, kShift, {}, ModelRule::ChiSquare, ""};
  const auto peakOfCif = [&](const std::string& path) {
    RecordingSink sink;
    sink.messages.reserve(4);
    const CifSource source{path, path + ".out", StampOf(path)};
    const std::vector<CifSource> sources{source};
    const std::size_t before = liveBytes.load();
    peakBytes = before;
    EXPECT_TRUE(WriteCifFile(folder.File("film.cif"), calibration, sources, sink)) << path;
    return peakBytes.load() - before;
  };
  const struct {
    const char* fileName;
    std::string heading;
    std::string row;
  } cases[] = {{"scan.txt", "2Theta Counts\n", "20.02 1234\n"},
               {"film.pid", "", "Title line of the film, not yet the heading\n"},
               {"film.pid", "2-Theta d BG H I\n", "28.442 3.1355 12 950 1000\n"}};
  for (const auto& c : cases) {
    const std::string path = folder.File(c.fileName);
    const std::string end = c.heading.empty() ? "2-Theta d BG H I\n" : "";
    WriteRows(path, c.heading, c.row, 1000);
    std::ofstream(path, std::ios::app) << end;
    const std::size_t few = peakOfCif(path);
    WriteRows(path, c.heading, c.row, 300000);
    std::ofstream(path, std::ios::app) << end;
    const std::size_t many = peakOfCif(path);
    EXPECT_LE(many, few + 4096) << c.row << "few: " << few << " bytes, many: " << many;
    EXPECT_LT(few, std::size_t{4} << 20);
  }
}

// Inputs of many bytes, made as they are read: a line keeps at most its first 64 KiB, so
// a file without a line end (a sparse file, a file of zero bytes) costs what a short line
// costs, and a long header line or row still ends where its line end is.
struct LazyCase {
  const char* name;
  bool listing;  // else a profile
  std::string prefix;
  char filler;
  std::uint64_t count;
  std::string suffix;
  ConversionOutcome outcome;
  std::string output;
  std::uint64_t skipped;
};

using namespace std::string_literals;

class BoundedLine : public ::testing::TestWithParam<LazyCase> {};

constexpr std::uint64_t kMany = std::uint64_t{64} << 20;
const std::string kProfileHeader = "2 theta (degree)\tI/I(max)x100\treflec_x\treflec_y\n";

TEST_P(BoundedLine, KeepsTheHeapSmallAndGivesTheRowsWithinTheKeptBytes) {
  const LazyCase& c = GetParam();
  std::ostringstream out;
  out.str(std::string(4096, ' '));  // room for the output, taken before the count starts
  out.seekp(0);
  ConversionStats stats;
  const std::size_t before = liveBytes.load();
  peakBytes = before;
  ConversionOutcome outcome = ConversionOutcome::Converted;
  if (c.listing) {
    testing::LazyBytes bytes(c.prefix, c.filler, c.count, c.suffix);
    std::istream in(&bytes);
    outcome = ConvertListing(in, out, "out.dat", kShift, &stats);
  } else {
    testing::LazyBytes firstPass(c.prefix, c.filler, c.count, c.suffix);
    std::istream first(&firstPass);
    double maximum = 0.0;
    ASSERT_TRUE(FindProfileMaximum(first, maximum));
    testing::LazyBytes secondPass(c.prefix, c.filler, c.count, c.suffix);
    std::istream second(&secondPass);
    outcome = WriteCalibratedProfile(second, out, maximum, kShift, &stats);
  }
  const std::size_t peak = peakBytes.load() - before;
  EXPECT_EQ(outcome, c.outcome);
  EXPECT_EQ(out.str().substr(0, static_cast<std::size_t>(out.tellp())), c.output);
  EXPECT_EQ(stats.skippedLines, c.skipped);
  // The row block (256 KiB), the line at hand (64 KiB and its room to grow), the two
  // generators' 64 KiB windows: far below the bytes read.
  EXPECT_LT(peak, std::size_t{1} << 20);
}

const std::string kRow = "28.442 3.1355 12 950 1000\n";
const std::string kRowOut = "0 0 0   28.542000    1000.0\n";

INSTANTIATE_TEST_SUITE_P(
    Conversion, BoundedLine,
    ::testing::Values(
        // No line ends at all: one line, no header in it.
        LazyCase{"ListingOfZeroBytes", true, "", '\0', kMany, "", ConversionOutcome::InvalidFormat,
                 "out.dat\n", 0},
        LazyCase{"ListingOfOneEndlessWord", true, "", 'x', kMany, "",
                 ConversionOutcome::InvalidFormat, "out.dat\n", 0},
        // A title line longer than the bound is passed over; the heading after it is found.
        LazyCase{"ListingWithALongTitleLine", true, "Film ", 'x', kMany,
                 "\n2-Theta d BG H I\n" + kRow, ConversionOutcome::Converted,
                 "out.dat\n" + kRowOut + "0 0 0\n", 0},
        LazyCase{"ListingWithALongHeading", true, "2-Theta ", 'x', kMany, "\n" + kRow,
                 ConversionOutcome::Converted, "out.dat\n" + kRowOut + "0 0 0\n", 0},
        // A row's first fields are within its kept bytes; the row after it is read as well.
        LazyCase{"ListingWithALongRow", true, "2-Theta\n28.442 3.1355 12 950 1000 ", 'x', kMany,
                 "\n" + kRow, ConversionOutcome::Converted,
                 "out.dat\n" + kRowOut + kRowOut + "0 0 0\n", 0},
        // A row whose fields begin beyond the kept bytes has none: it is skipped.
        LazyCase{"ListingRowBeyondTheBound", true, "2-Theta\n", ' ', kMany, kRow + kRow,
                 ConversionOutcome::Converted, "out.dat\n" + kRowOut + "0 0 0\n", 1},
        LazyCase{"ListingZeroBytesSeparate", true,
                 "2-Theta\n28.442\0"
                 "3.1355\0"
                 "12\0"
                 "950"s,
                 '\0', 3, "1000\n", ConversionOutcome::Converted, "out.dat\n" + kRowOut + "0 0 0\n",
                 0},
        // The one line is the header: a profile without rows.
        LazyCase{"ProfileOfZeroBytes", false, "", '\0', kMany, "", ConversionOutcome::Converted,
                 kProfileHeader, 0},
        LazyCase{"ProfileOfOneEndlessWord", false, "", 'x', kMany, "", ConversionOutcome::Converted,
                 kProfileHeader, 0},
        LazyCase{"ProfileWithALongHeader", false, "2Theta ", 'x', kMany, "\n20.02 1234\n",
                 ConversionOutcome::Converted, kProfileHeader + "20.120000\t100.000000\n", 0},
        LazyCase{"ProfileZeroBytesInARow", false, "2Theta\n20.02\n", '\0', kMany, "\n",
                 ConversionOutcome::Converted, kProfileHeader, 2},
        LazyCase{"ProfileZeroBytesSeparate", false, "2Theta\n20.02", '\0', 2, "1234\n",
                 ConversionOutcome::Converted, kProfileHeader + "20.120000\t100.000000\n", 0}),
    [](const ::testing::TestParamInfo<LazyCase>& info) { return info.param.name; });

}  // namespace
}  // namespace pellum
