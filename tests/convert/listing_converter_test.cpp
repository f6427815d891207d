#include "convert/listing_converter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>

#include "tests/convert/convert_test_support.h"

namespace pellum {
namespace {

using testing::Printf;
using testing::ReadFile;

const CalibrationCoefficients kShift{0.0, 0.1, 1.0, 0.0};  // a1 = 0.1, a2 = 1, a3 = 0

struct ListingCase {
  const char* name;
  std::string input;
  std::string rows;  // between the path line and "0 0 0"; empty with InvalidFormat
  std::uint64_t skipped = 0;
  ConversionOutcome outcome = ConversionOutcome::Converted;
};

class Listings : public ::testing::TestWithParam<ListingCase> {};

TEST_P(Listings, ConvertRowByRow) {
  const ListingCase& c = GetParam();
  std::istringstream in(c.input, std::ios::binary);
  std::ostringstream out;
  ConversionStats stats;
  stats.skippedLines = 99;
  EXPECT_EQ(ConvertListing(in, out, "/d/film.dat", kShift, &stats), c.outcome);
  if (c.outcome == ConversionOutcome::Converted) {
    EXPECT_EQ(out.str(), "/d/film.dat\n" + c.rows + "0 0 0\n");
    EXPECT_EQ(stats.skippedLines, c.skipped);
  } else {
    EXPECT_EQ(out.str(), "/d/film.dat\n");
  }
}

const std::string kHeading = "2-Theta   d(A)   BG  Height  I(cps)\n";
const std::string kRow30 = "0 0 0   30.100000     500.0\n";

INSTANTIATE_TEST_SUITE_P(
    Converter, Listings,
    ::testing::Values(
        ListingCase{"HeadingFirst", kHeading + "30.0 2.976 1 1 500\n", kRow30},
        ListingCase{"TitlesAndBlankLines",
                    "Guinier film\nSample 7\n\n  \t\n" + kHeading + "30.0 2.976 1 1 500\n", kRow30},
        ListingCase{"CrLfAndNoFinalLineEnd",
                    "Film\r\n" + kHeading + "30.0 2.976 1 1 500\r\n30.0 2.976 1 1 500",
                    kRow30 + kRow30},
        ListingCase{"PeakEndsHeaderUnconverted", "25.3 3.5 1 1 900\n30.0 2.976 1 1 500\n", kRow30},
        ListingCase{"NegativeEndsHeader", "-3 x\n30.0 2.976 1 1 500\n", kRow30},
        // "The" and a date end the skipping; the real heading is then a data row read as
        // two-theta 2 ("2-Theta") and intensity 0 ("I").
        ListingCase{"TitleTheEndsHeader", "The film\n2-Theta d BG H I\n30.0 2.976 1 1 500\n",
                    "0 0 0    2.100000       0.0\n" + kRow30},
        ListingCase{"DateEndsHeader", "2000-01-01 run\n30.0 2.976 1 1 500\n", kRow30},
        ListingCase{"LowerCaseA", "abc\n30.0 2.976 1 1 500\n", kRow30},
        ListingCase{"UpperCaseANotInSet", "Alpha\n" + kHeading + "30.0 2.976 1 1 500\n", kRow30},
        ListingCase{"HeadingOnly", kHeading, ""},
        ListingCase{"RoundingAndWidth", kHeading + "30 d b h 2.46\n30 d b h 2.25\n1000 d b h 7\n",
                    "0 0 0   30.100000       2.5\n0 0 0   30.100000       2.2\n"
                    "0 0 0  1000.100000       7.0\n"},
        ListingCase{"NotANumber", kHeading + "abc d b h xyz\n", "0 0 0    0.100000       0.0\n"},
        // Ten characters of intensity would touch the two-theta: one blank keeps five fields.
        ListingCase{"FieldsKeptApart",
                    kHeading + "29.2 d b h 9999999.94\n29.2 d b h 10000000\n29.2 d b h -1000000\n",
                    "0 0 0   29.300000 9999999.9\n0 0 0   29.300000 10000000.0\n"
                    "0 0 0   29.300000 -1000000.0\n"},
        ListingCase{"FortranExponent", kHeading + "3.0d1 d b h 5E2\n", kRow30},
        ListingCase{"ShortAndEmptyLinesSkipped",
                    kHeading + "\n30.0\n30.0 2.976 1 1\n \t \n30.0 2.976 1 1 500\n31.0 1 2 3\n",
                    kRow30, 5},
        ListingCase{"ExtraFieldsIgnored", kHeading + "30.0 2.976 1 1 500 7 8 9\n", kRow30},
        ListingCase{"DegreeSignSeparates", kHeading + "30.0\xB0 2.976 1 1 500\n", kRow30},
        ListingCase{"LongLineIsOneRow",
                    kHeading + "30.0 2.976 1 1 500" + std::string(300, ' ') + "junk\n", kRow30},
        ListingCase{"FfEndsALine",
                    kHeading + "30.0 2.976 1 1 500\xFF"
                               "30.0 2.976 1 1 500\n",
                    kRow30 + kRow30},
        ListingCase{"DataEndsAtCtrlZ",
                    kHeading + "30.0 2.976 1 1 500\n\x1A"
                               "31 1 1 1 1\n",
                    kRow30},
        ListingCase{"Empty", "", "", 0, ConversionOutcome::InvalidFormat},
        ListingCase{"NoHeading", "Sample\n\nGuinier\n", "", 0, ConversionOutcome::InvalidFormat},
        ListingCase{"HeadingWithoutLineEnd", "2-Theta", ""}),
    [](const ::testing::TestParamInfo<ListingCase>& info) { return info.param.name; });

TEST(ListingNonFinite, CoefficientsAreAppliedAllTheSame) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const CalibrationCoefficients& c :
       {CalibrationCoefficients{0, 0, inf, 0}, CalibrationCoefficients{0, 0, -inf, 0},
        CalibrationCoefficients{0, nan, 1, 0}, CalibrationCoefficients{0, inf, -inf, 0}}) {
    std::istringstream in(kHeading + "30.0 2.976 1 1 500\n", std::ios::binary);
    std::ostringstream out;
    EXPECT_EQ(ConvertListing(in, out, "f.dat", c), ConversionOutcome::Converted);
    const double value = CalibratedTwoTheta(c, 30.0);
    EXPECT_FALSE(std::isfinite(value));
    EXPECT_EQ(out.str(), "f.dat\n0 0 0  " + Printf("%10f", value) + "     500.0\n0 0 0\n");
  }
}

TEST(ListingWrite, FailureIsReported) {
  std::ofstream full("/dev/full", std::ios::binary);
  if (!full.is_open()) {
    GTEST_SKIP() << "no /dev/full here";
  }
  std::istringstream in(kHeading + "30.0 2.976 1 1 500\n", std::ios::binary);
  EXPECT_EQ(ConvertListing(in, full, "f.dat", kShift), ConversionOutcome::WriteFailed);
}

// A read that fails in the title, in the heading or among the rows is not an invalid file:
// the file may be fine, it just could not be read whole.
TEST(ListingRead, FailureIsReportedWhereverItComes) {
  const std::string listing = "Film 7\n" + kHeading + "30.0 2.976 1 1 500\n31.0 2.9 1 1 20\n";
  for (std::size_t cut :
       {std::size_t{0}, std::size_t{3}, std::size_t{12}, listing.size() - 4, listing.size()}) {
    testing::FailingRead buffer(listing.substr(0, cut), 5);
    std::istream in(&buffer);
    std::ostringstream out;
    EXPECT_EQ(ConvertListing(in, out, "f.dat", kShift), ConversionOutcome::ReadFailed) << cut;
  }
}

TEST(ListingGolden, ExampleFilmMatchesItsReflectionList) {
  std::ifstream in(std::string(PELLUM_SOURCE_DIR) + "/examples/film.pid", std::ios::binary);
  ASSERT_TRUE(in.is_open());
  std::ostringstream out;
  ConversionStats stats;
  const CalibrationCoefficients golden{0.0, 0.0612, 1.0015, -2.1e-6};
  ASSERT_EQ(ConvertListing(in, out, "film.dat", golden, &stats), ConversionOutcome::Converted);
  EXPECT_EQ(out.str(), ReadFile(std::string(PELLUM_TEST_DATA_DIR) + "/convert/film.dat"));
  EXPECT_EQ(stats.skippedLines, 0u);
}

}  // namespace
}  // namespace pellum
