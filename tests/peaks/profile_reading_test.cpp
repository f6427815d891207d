// Reading a profile for the finder, the checks across the reflections, and the readings
// the finder hands on.
#include <gtest/gtest.h>

#include <sstream>

#include "peaks/profile_points.h"
#include "peaks/reflection_checks.h"
#include "peaks/silicon_readings.h"
#include "peaks/silicon_set_check.h"
#include "tests/convert/convert_test_support.h"

namespace pellum {
namespace {

using testing::FailingRead;
using testing::RecordingSink;

std::string Points(const ProfileReading& reading) {
  std::ostringstream text;
  for (const ProfilePoint& p : reading.points) {
    text << p.twoTheta << ':' << p.intensity << ' ';
  }
  return text.str();
}

TEST(ReadProfilePoints, ReadsLikeTheProfileConverterWithinTheSpans) {
  struct Case {
    const char* name;
    std::string text;
    ProfileReadOutcome outcome;
    std::string points;
  };
  const std::vector<Case> cases = {
      {"Empty", "", ProfileReadOutcome::NoHeader, ""},
      {"HeaderOnly", "28.5 100\n", ProfileReadOutcome::Read, ""},
      {"HeaderNeverData", "28.5 100\n28.6 200\n", ProfileReadOutcome::Read, "28.6:200 "},
      {"ShortLinesSkipped", "h\n28.5\n\n28.6 200 extra\n", ProfileReadOutcome::Read, "28.6:200 "},
      {"NoNumberIsZero", "h\n28.5 abc\n", ProfileReadOutcome::Read, "28.5:0 "},
      {"NotFiniteDropped", "h\n28.5 1e999\n28.6 5\n", ProfileReadOutcome::Read, "28.6:5 "},
      {"OutsideTheSpans", "h\n10 1\n28.5 2\n40 3\n47.5 4\n90 5\n", ProfileReadOutcome::Read,
       "28.5:2 47.5:4 "},
      {"WrittenDownwards", "h\n28.7 3\n28.6 2\n28.5 1\n", ProfileReadOutcome::Read,
       "28.5:1 28.6:2 28.7:3 "},
      {"APointTwiceIsItsMean", "h\n28.5 1\n28.5 3\n", ProfileReadOutcome::Read, "28.5:2 "},
      {"LineEndsOfAnyKind", "h\r\n28.5 1\r28.6 2\n28.7 3", ProfileReadOutcome::Read,
       "28.5:1 28.6:2 28.7:3 "},
  };
  const std::vector<TwoThetaSpan> spans = {{47.0, 48.0}, {28.0, 29.0}, {28.8, 29.2}};
  for (const Case& c : cases) {
    std::istringstream in(c.text);
    const ProfileReading reading = ReadProfilePoints(in, spans);
    EXPECT_EQ(reading.outcome, c.outcome) << c.name;
    EXPECT_EQ(Points(reading), c.points) << c.name;
  }
}

TEST(ReadProfilePoints, AFailedReadIsNotAProfile) {
  FailingRead bytes("h\n28.5 1\n28.6 2\n", 6);
  std::istream in(&bytes);
  const ProfileReading reading = ReadProfilePoints(in, std::vector<TwoThetaSpan>{{28.0, 29.0}});
  EXPECT_EQ(reading.outcome, ProfileReadOutcome::ReadFailed);
  EXPECT_TRUE(reading.points.empty());
}

// Two million points within one degree keep no more than the degree's bins.
TEST(ReadProfilePoints, KeepsNoMoreThanTheBinsOfItsSpans) {
  std::string text = "h\n";
  for (int i = 0; i < 100; ++i) {
    text += "28." + std::to_string(1000 + i * 7) + " 5\n";
  }
  std::string many;
  for (int copy = 0; copy < 20000; ++copy) {
    many += text.substr(2);
  }
  std::istringstream in("h\n" + many);
  const ProfileReading reading = ReadProfilePoints(in, std::vector<TwoThetaSpan>{{28.0, 29.0}});
  EXPECT_EQ(reading.points.size(), 100u);
  EXPECT_LE(reading.points.capacity(), 1.0 / kProfileBinWidth + 2);
}

ReflectionSearch Found(double reference, double position, double fwhm, double snr) {
  ReflectionSearch r;
  r.reference = reference;
  r.position = position;
  r.fwhm = fwhm;
  r.snr = snr;
  r.verdict = PeakVerdict::Found;
  return r;
}

using Six = std::array<ReflectionSearch, 6>;

std::string Verdicts(const Six& six) {
  std::string text;
  for (const ReflectionSearch& r : six) {
    text += r.Found() ? 'F' : r.verdict == PeakVerdict::NoPeak ? '-' : 'x';
  }
  return text;
}

TEST(ReflectionChecks, TwoReflectionsNeverKeepOnePeak) {
  Six six;
  six[0] = Found(28.442, 47.21, 0.1, 50);
  six[1] = Found(47.303, 47.21, 0.1, 50);
  const std::array<double, 6> predicted = {28.5, 47.2, 56, 69, 76, 88};
  DropSharedPeaks(six, predicted);
  EXPECT_EQ(six[0].verdict, PeakVerdict::Shared);
  EXPECT_TRUE(six[1].Found());
}

TEST(ReflectionChecks, OneOffTheOthersLineOrWidthIsDropped) {
  struct Case {
    const char* name;
    std::vector<std::array<double, 3>> found;  // reflection, offset, width
    std::string verdicts;
  };
  const std::vector<Case> cases = {
      {"OnTheLine", {{0, 0.30, 0.1}, {1, 0.31, 0.1}, {2, 0.30, 0.1}}, "FFF---"},
      {"OffTheLine", {{0, 0.30, 0.1}, {1, 0.31, 0.1}, {2, 0.62, 0.1}, {3, 0.30, 0.1}}, "FFxF--"},
      {"ScaleOfAFilm", {{0, 0.10, 0.1}, {2, 0.20, 0.1}, {5, 0.34, 0.1}}, "F-F--F"},
      {"TwoBeyondAnyScale", {{0, 0.0, 0.1}, {1, 0.5, 0.1}}, "xF----"},
      // No pair's line holds even its own pair: only the clearest, 3 1 1, stays.
      {"NoTwoAgree", {{0, 0.0, 0.1}, {1, 1.2, 0.1}, {2, 0.5, 0.1}}, "xxF---"},
      {"TooWide", {{0, 0.3, 0.1}, {1, 0.3, 0.12}, {2, 0.3, 0.09}, {4, 0.3, 0.3}}, "FFF-x-"},
  };
  const double references[] = {28.442, 47.303, 56.122, 69.13, 76.376, 88.03};
  for (const Case& c : cases) {
    Six six;
    for (const auto& [k, offset, width] : c.found) {
      const auto i = static_cast<std::size_t>(k);
      // The fainter of two that cannot both be silicon goes: 1 1 1 here.
      six[i] = Found(references[i], references[i] + offset, width, 20.0 + 10.0 * k);
    }
    DropImplausibleWidths(six);
    DropOffTheLine(six, 0.1, 0.01);
    EXPECT_EQ(Verdicts(six), c.verdicts) << c.name;
  }
}

// A reflection far stronger than silicon makes it beside its stronger reflections holds a
// sample line; equal heights, and silicon's own, keep all six.
TEST(ReflectionChecks, OneFarStrongerThanSiliconMakesItIsDropped) {
  struct Case {
    const char* name;
    std::array<double, 6> heights;  // 0: not found
    std::string verdicts;
  };
  const std::vector<Case> cases = {
      {"EqualHeights", {100, 100, 100, 100, 100, 100}, "FFFFFF"},
      {"Silicon", {100, 55, 30, 6, 11, 12}, "FFFFFF"},
      {"SampleLineOn400", {100, 60, 30, 250, 11, 12}, "FFFxFF"},
      {"SampleLineOn311", {100, 0, 250, 6, 11, 12}, "F-xFFF"},
      {"WeakOnesAlone", {0, 0, 0, 20, 11, 12}, "---FFF"},
      {"400AboveTheOtherWeakOnes", {0, 0, 0, 60, 11, 12}, "---xFF"},
  };
  for (const Case& c : cases) {
    Six six;
    for (std::size_t k = 0; k < 6; ++k) {
      if (c.heights[k] > 0.0) {
        six[k] = Found(0.0, 0.0, 0.1, 50);
        six[k].height = c.heights[k];
      }
    }
    DropUnlikeSilicon(six);
    std::string verdicts = Verdicts(six);
    for (std::size_t k = 0; k < 6; ++k) {
      if (six[k].verdict == PeakVerdict::UnlikeSilicon) {
        verdicts[k] = 'x';
      } else if (!six[k].Found()) {
        verdicts[k] = '-';
      }
    }
    EXPECT_EQ(verdicts, c.verdicts) << c.name;
  }
}

TEST(SiliconReadings, FourDecimalsOrMinusOne) {
  SiliconSearch search;
  search.reflections[0] = Found(28.442, 28.44235, 0.1, 50);
  search.reflections[2] = Found(56.122, 56.12, 0.1, 50);
  EXPECT_EQ(ReadingText(search.reflections[0]), "28.4424");  // 28.44235 is just above
  EXPECT_EQ(ReadingText(search.reflections[1]), "-1");
  EXPECT_EQ(TwoThetaListText(search), "28.4424,-1,56.1200,-1,-1,-1");
  EXPECT_EQ(search.FoundCount(), 2);
  // The su is rounded up, never shown smaller than it is.
  const std::pair<double, const char*> uncertainties[] = {{0.00031, "0.0004"},
                                                          {0.0004, "0.0004"},
                                                          {0.000002, "0.0001"},
                                                          {0.0, "0.0001"},
                                                          {0.01234, "0.0124"}};
  for (const auto& [su, text] : uncertainties) {
    search.reflections[0].su = su;
    EXPECT_EQ(UncertaintyText(search.reflections[0]), text) << su;
  }
  search.reflections[0].su = 0.00031;
  EXPECT_EQ(ReadingWithUncertaintyText(search.reflections[0]), "28.4424 \u00b1 0.0004");
  EXPECT_EQ(ReadingWithUncertaintyText(search.reflections[1]), "-1");
}

TEST(FindSiliconInProfile, SaysWhyAProfileCannotBeSearched) {
  testing::TemporaryFolder folder;
  std::ofstream(folder.File("empty.txt")).flush();
  struct Case {
    std::string path;
    std::string caption;
  };
  for (const Case& c : {Case{folder.File("missing.txt"), "Cannot open a file!"},
                        Case{folder.File("empty.txt"), "Invalid file format!"},
                        Case{folder.Path().string(), "Cannot open a file!"}}) {
    RecordingSink sink;
    SiliconSearch search;
    EXPECT_FALSE(FindSiliconInProfile(c.path, {}, search, sink)) << c.path;
    ASSERT_EQ(sink.messages.size(), 1u) << c.path;
    EXPECT_EQ(sink.messages[0].text, c.path);
    EXPECT_EQ(sink.messages[0].caption, c.caption);
  }
  RecordingSink sink;
  SiliconSearch search;
  EXPECT_TRUE(
      FindSiliconInProfile(PELLUM_SOURCE_DIR "/examples/film-profile.txt", {}, search, sink));
  EXPECT_EQ(search.FoundCount(), 6);
  EXPECT_TRUE(sink.messages.empty());
}

}  // namespace
}  // namespace pellum
