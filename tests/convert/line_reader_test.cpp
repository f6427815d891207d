#include "convert/line_reader.h"

#include "tests/convert/convert_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace pellum {
namespace {

std::vector<std::string> ReadAll(const std::string& bytes) {
  std::istringstream in(bytes, std::ios::binary);
  std::vector<std::string> lines;
  std::string line;
  while (ReadTextLine(in, line)) {
    lines.push_back(line);
    if (lines.size() > 1000) {
      break;  // a reader that never ends would otherwise hang the suite
    }
  }
  // Once there is no line, there stays none.
  EXPECT_FALSE(ReadTextLine(in, line));
  EXPECT_TRUE(line.empty());
  return lines;
}

struct ReaderCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> lines;
};

class LineEnds : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(LineEnds, YieldTheLinesAsTheyStandInTheFile) {
  EXPECT_EQ(ReadAll(GetParam().bytes), GetParam().lines);
}

const std::string kFf(1, '\xFF');
const std::string kSub(1, '\x1A');

INSTANTIATE_TEST_SUITE_P(
    Reader, LineEnds,
    ::testing::Values(
        ReaderCase{"CrLf", "A\r\nB\r\n", {"A", "B"}}, ReaderCase{"Lf", "A\nB\n", {"A", "B"}},
        ReaderCase{"LoneCr", "A\rB\r", {"A", "B"}}, ReaderCase{"CrThenLf", "A\rB\n", {"A", "B"}},
        ReaderCase{"CrCrLf", "A\r\r\nB\n", {"A", "", "B"}},
        ReaderCase{"LfCr", "A\n\rB\n", {"A", "", "B"}},
        ReaderCase{"LfLf", "A\n\nB\n", {"A", "", "B"}},
        ReaderCase{"CrLfCrLf", "A\r\n\r\nB", {"A", "", "B"}},
        ReaderCase{"NoFinalLineEnd", "A\nB", {"A", "B"}}, ReaderCase{"SingleLineNoEnd", "A", {"A"}},
        ReaderCase{"FinalLoneCr", "A\r", {"A"}}, ReaderCase{"LoneLf", "\n", {""}},
        ReaderCase{"LoneCrLf", "\r\n", {""}}, ReaderCase{"Empty", "", {}},
        ReaderCase{"FfEndsALine", "A" + kFf + "B\n", {"A", "B"}},
        ReaderCase{"FfAfterLineEnd", "A\n" + kFf, {"A", ""}},
        ReaderCase{"FfBeforeLf", "A" + kFf + "\nB\n", {"A", "", "B"}},
        ReaderCase{"SubEndsTheData", "A\n" + kSub + "B\n", {"A"}},
        ReaderCase{"SubInsideALine", "AB" + kSub + "C\nD\n", {"AB"}},
        ReaderCase{"SubAfterCr", "A\r" + kSub + "\nB\n", {"A"}},
        ReaderCase{"SubFirst", kSub + "A\n", {}},
        ReaderCase{"ZeroByteKept", std::string("A\0B\n", 4), {std::string("A\0B", 3)}},
        ReaderCase{"TabAndHighBytesKept", "25.5\xB0\tC\n", {"25.5\xB0\tC"}}),
    [](const ::testing::TestParamInfo<ReaderCase>& info) { return info.param.name; });

TEST(ReaderLongLines, AreReturnedWhole) {
  const std::string line450(450, 'x');
  const std::string line199(199, 'y');
  const std::string line250(250, 'z');
  const std::string huge(1 << 20, '7');
  EXPECT_EQ(ReadAll(line450 + "\n"), std::vector<std::string>{line450});
  EXPECT_EQ(ReadAll(line199 + "\nB\n"), (std::vector<std::string>{line199, "B"}));
  EXPECT_EQ(ReadAll(line250), std::vector<std::string>{line250});
  EXPECT_EQ(ReadAll(huge + "\r\n" + line450 + "\r\n"), (std::vector<std::string>{huge, line450}));
}

// With a bound, a line keeps its first bytes and the rest is passed over up to its end,
// whichever way the buffer hands the bytes out.
struct BoundedCase {
  const char* name;
  std::string prefix;
  char filler;
  std::uint64_t count;
  std::string suffix;
  std::size_t maxKept;
  std::vector<std::string> lines;
};

class BoundedLines : public ::testing::TestWithParam<BoundedCase> {};

TEST_P(BoundedLines, KeepTheFirstBytesAndFindTheLineEnd) {
  const BoundedCase& c = GetParam();
  for (const std::size_t chunk :
       {std::size_t{0}, std::size_t{1}, std::size_t{3}, std::size_t{4096}}) {
    testing::LazyBytes buffer(c.prefix, c.filler, c.count, c.suffix, chunk);
    std::istream in(&buffer);
    std::vector<std::string> lines;
    std::string line;
    while (ReadTextLine(in, line, c.maxKept) && lines.size() <= c.lines.size()) {
      lines.push_back(line);
      EXPECT_LE(line.capacity(), std::max<std::size_t>(c.maxKept, 64) * 2) << chunk;
    }
    EXPECT_EQ(lines, c.lines) << "chunk " << chunk;
    EXPECT_FALSE(in.bad());
  }
}

const std::string kZero(1, '\0');

INSTANTIATE_TEST_SUITE_P(
    Reader, BoundedLines,
    ::testing::Values(
        BoundedCase{"CutAtTheBound", "", 'x', 5, "\nB\n", 3, {"xxx", "B"}},
        BoundedCase{"ExactlyTheBound", "", 'x', 3, "\nB\n", 3, {"xxx", "B"}},
        BoundedCase{"ShortLinesWhole", "A\r\n", 'x', 2, "\rB", 3, {"A", "xx", "B"}},
        BoundedCase{"LongLineWithoutEnd", "12 ", 'x', 100000, "", 8, {"12 xxxxx"}},
        BoundedCase{"CrLfAfterALongLine", "", 'x', 100000, "\r\nB\r\n", 4, {"xxxx", "B"}},
        BoundedCase{"SubAfterALongLine", "", 'x', 100000, kSub + "B\n", 4, {"xxxx"}},
        BoundedCase{"ZeroBytesWithoutEnd", "", '\0', 1 << 20, "", 4, {std::string(4, '\0')}},
        BoundedCase{"ZeroBytesThenALine", "", '\0', 1 << 20, "\nB", 4, {std::string(4, '\0'), "B"}},
        BoundedCase{"NothingKept", "AB\n", 'x', 0, "\nCD", 0, {"", "", ""}},
        BoundedCase{"EmptyInput", "", 'x', 0, "", 4, {}}),
    [](const ::testing::TestParamInfo<BoundedCase>& info) { return info.param.name; });

TEST(ReaderStream, StopsAtTheDataEndAndSetsEndOfFile) {
  std::istringstream in("A\nB" + kSub + "C\n", std::ios::binary);
  std::string line;
  ASSERT_TRUE(ReadTextLine(in, line));
  EXPECT_FALSE(in.eof());
  ASSERT_TRUE(ReadTextLine(in, line));
  EXPECT_EQ(line, "B");
  EXPECT_TRUE(in.eof());
  // A second pass starts afresh after a rewind.
  in.clear();
  in.seekg(0);
  ASSERT_TRUE(ReadTextLine(in, line));
  EXPECT_EQ(line, "A");
}

TEST(ReaderStream, EndsOnAStreamWithoutBuffer) {
  std::istream in(nullptr);
  std::string line = "stale";
  EXPECT_FALSE(ReadTextLine(in, line));
  EXPECT_TRUE(line.empty());
}

// A read that fails ends the lines like the end of the file, but the line it broke off is
// not handed out, and the stream says bad: the data was not read whole.
TEST(ReaderStream, AFailedReadEndsTheLinesAndMarksTheStreamBad) {
  struct Case {
    const char* bytes;
    std::size_t chunk;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", 4, {}},
      {"A\nB\n", 4, {"A", "B"}},
      {"A\nB\nC", 2, {"A", "B"}},  // C is cut off: its line end never came
      {"A\r\nBCDEFGH", 3, {"A"}},  // a failure between two refills of one line
      {"A\r", 2, {}},              // the failure came while looking for an LF after the CR
  };
  for (const Case& c : cases) {
    testing::FailingRead buffer(c.bytes, c.chunk);
    std::istream in(&buffer);
    std::vector<std::string> lines;
    std::string line;
    while (ReadTextLine(in, line)) {
      lines.push_back(line);
    }
    EXPECT_EQ(lines, c.lines) << c.bytes;
    EXPECT_TRUE(line.empty()) << c.bytes;
    EXPECT_TRUE(in.bad()) << c.bytes;
  }
}

}  // namespace
}  // namespace pellum
