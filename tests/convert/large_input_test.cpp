// The converters hold one line in memory at a time: the heap they use while converting
// does not grow with the number of lines, however many there are, nor with the number of
// long lines. Measured on the heap itself, by counting what this test program's operator
// new hands out, at a modest size; scripts/large-input-run makes the 2 GB run.
#include <gtest/gtest.h>
#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <new>
#include <string>

#include "convert/input_dispatch.h"
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

}  // namespace
}  // namespace pellum
