#include "convert/profile_converter.h"

#include <gtest/gtest.h>

#include <fstream>
#include <limits>
#include <sstream>

#include "tests/convert/convert_test_support.h"

namespace pellum {
namespace {

using testing::Printf;
using testing::ReadFile;

const std::string kHeader = "2 theta (degree)\tI/I(max)x100\treflec_x\treflec_y\n";
const CalibrationCoefficients kIdentity{0.0, 0.0, 1.0, 0.0};

// Both passes over one stream, rewound between them, as the file converter does.
ConversionOutcome Convert(const std::string& input, std::string& output,
                          const CalibrationCoefficients& c = kIdentity,
                          ConversionStats* stats = nullptr) {
  std::istringstream in(input, std::ios::binary);
  double maximum = -1.0;
  if (!FindProfileMaximum(in, maximum)) {
    return ConversionOutcome::InvalidFormat;
  }
  in.clear();
  in.seekg(0);
  std::ostringstream out;
  const ConversionOutcome outcome = WriteCalibratedProfile(in, out, maximum, c, stats);
  output = out.str();
  return outcome;
}

struct ProfileCase {
  const char* name;
  std::string input;
  std::string rows;
  std::uint64_t skipped = 0;
};

class Profiles : public ::testing::TestWithParam<ProfileCase> {};

TEST_P(Profiles, AreCalibratedAndNormalised) {
  std::string output;
  ConversionStats stats;
  ASSERT_EQ(Convert(GetParam().input, output, kIdentity, &stats), ConversionOutcome::Converted);
  EXPECT_EQ(output, kHeader + GetParam().rows);
  EXPECT_EQ(stats.skippedLines, GetParam().skipped);
}

const std::string kTwoRows = "20.000000\t25.000000\n21.000000\t100.000000\n";

INSTANTIATE_TEST_SUITE_P(
    Converter, Profiles,
    ::testing::Values(ProfileCase{"TwoPoints", "2Theta Counts\n20.0 50\n21.0 200\n", kTwoRows},
                      ProfileCase{"HeaderNeverCounts", "1000 99999\n20.0 50\n21.0 200\n", kTwoRows},
                      ProfileCase{"HeaderOnly", "2Theta Counts\n", ""},
                      ProfileCase{"CrLfNoFinalLineEnd", "h\r\n20.0 50\r\n21.0 200", kTwoRows},
                      ProfileCase{"ShortLinesSkippedInBothPasses",
                                  "h\n\n20.0 50\n21.0\n  \n21.0 200\n250\n", kTwoRows, 4},
                      ProfileCase{"ExtraFieldsIgnored", "h\n20.0 50 7 8\n21.0\t200\t9\n", kTwoRows},
                      ProfileCase{"TiesRoundExactly", "h\n0.0000005 1\n0.0000015 8\n",
                                  "0.000000\t12.500000\n0.000002\t100.000000\n"},
                      ProfileCase{
                          "MaximumOnlyWhenGreater", "h\n1 -5\n2 4\n3 4\n",
                          "1.000000\t-125.000000\n2.000000\t100.000000\n3.000000\t100.000000\n"}),
    [](const ::testing::TestParamInfo<ProfileCase>& info) { return info.param.name; });

TEST(ProfileWithoutPositiveIntensity, IsConvertedWithQuotientsByZero) {
  std::string output;
  ASSERT_EQ(Convert("h\n20 0\n21 -3\n22 0.0\n", output), ConversionOutcome::Converted);
  // As printf shows the same arithmetic: 0 / 0 and -3 / 0, times 100.
  volatile double maximum = 0.0;
  const std::string zero = Printf("%f", 0.0 / maximum * 100.0);
  const std::string negative = Printf("%f", -3.0 / maximum * 100.0);
  EXPECT_EQ(negative, "-inf");
  EXPECT_EQ(output, kHeader + "20.000000\t" + zero + "\n21.000000\t" + negative + "\n22.000000\t" +
                        zero + "\n");
}

TEST(ProfileNonFinite, CoefficientsAreAppliedAllTheSame) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const CalibrationCoefficients& c :
       {CalibrationCoefficients{0, 0, inf, 0}, CalibrationCoefficients{0, nan, 1, 0},
        CalibrationCoefficients{0, 0, 1, -inf}}) {
    std::string output;
    ASSERT_EQ(Convert("h\n20.0 50\n", output, c), ConversionOutcome::Converted);
    EXPECT_EQ(output, kHeader + Printf("%f", CalibratedTwoTheta(c, 20.0)) + "\t100.000000\n");
  }
}

TEST(ProfilePasses, AnEmptyInputHasNoHeader) {
  std::istringstream empty("", std::ios::binary);
  double maximum = 5.0;
  EXPECT_FALSE(FindProfileMaximum(empty, maximum));
  std::istringstream noLineEnd("header only", std::ios::binary);
  EXPECT_TRUE(FindProfileMaximum(noLineEnd, maximum));
  EXPECT_EQ(maximum, 0.0);
}

TEST(ProfilePasses, AHeaderGoneByTheSecondPassIsInvalid) {
  std::istringstream shrunk("", std::ios::binary);
  std::ostringstream out;
  EXPECT_EQ(WriteCalibratedProfile(shrunk, out, 10.0, kIdentity), ConversionOutcome::InvalidFormat);
}

// A failed read ends either pass with the stream marked bad, never as a shorter profile.
TEST(ProfileRead, FailureIsReportedInEitherPass) {
  const std::string profile = "2Theta Counts\n20.0 50\n21.0 200\n";
  for (std::size_t cut : {std::size_t{0}, std::size_t{6}, std::size_t{20}, profile.size()}) {
    testing::FailingRead first(profile.substr(0, cut), 4);
    std::istream firstPass(&first);
    double maximum = 0.0;
    FindProfileMaximum(firstPass, maximum);
    EXPECT_TRUE(firstPass.bad()) << cut;

    testing::FailingRead second(profile.substr(0, cut), 4);
    std::istream secondPass(&second);
    std::ostringstream out;
    EXPECT_EQ(WriteCalibratedProfile(secondPass, out, 200.0, kIdentity),
              ConversionOutcome::ReadFailed)
        << cut;
  }
}

TEST(ProfileWrite, FailureIsReported) {
  std::ofstream full("/dev/full", std::ios::binary);
  if (!full.is_open()) {
    GTEST_SKIP() << "no /dev/full here";
  }
  std::istringstream in("h\n20.0 50\n", std::ios::binary);
  EXPECT_EQ(WriteCalibratedProfile(in, full, 50.0, kIdentity), ConversionOutcome::WriteFailed);
}

TEST(ProfileGolden, ExampleProfileMatchesItsCalibratedProfile) {
  std::ifstream in(std::string(PELLUM_SOURCE_DIR) + "/examples/film-profile.txt", std::ios::binary);
  ASSERT_TRUE(in.is_open());
  double maximum = 0.0;
  ASSERT_TRUE(FindProfileMaximum(in, maximum));
  in.clear();
  in.seekg(0);
  std::ostringstream out;
  const CalibrationCoefficients golden{0.0, 0.0612, 1.0015, -2.1e-6};
  ASSERT_EQ(WriteCalibratedProfile(in, out, maximum, golden), ConversionOutcome::Converted);
  EXPECT_EQ(out.str(), ReadFile(std::string(PELLUM_TEST_DATA_DIR) + "/convert/film.pro"));
}

}  // namespace
}  // namespace pellum
