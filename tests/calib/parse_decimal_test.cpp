#include "calib/parse_decimal.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

namespace pellum {
namespace {

struct PrefixCase {
  const char* text;
  double value;
  std::size_t end;  // where the number ends; 0 when there is none
};

class ParseDecimalTable : public ::testing::TestWithParam<PrefixCase> {};

TEST_P(ParseDecimalTable, ReadsTheLongestNumberAtTheStart) {
  const PrefixCase& c = GetParam();
  double value = -999.0;
  EXPECT_EQ(ParseDecimalPrefix(c.text, value), c.end) << c.text;
  EXPECT_EQ(value, c.value) << c.text;
  EXPECT_EQ(std::signbit(value), std::signbit(c.value)) << c.text;
  EXPECT_EQ(ParseDecimal(c.text), c.value) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, ParseDecimalTable,
    ::testing::Values(
        PrefixCase{"28.442", 28.442, 6}, PrefixCase{"+28.4", 28.4, 5}, PrefixCase{"-1", -1.0, 2},
        PrefixCase{"-0", -0.0, 2}, PrefixCase{"0", 0.0, 1}, PrefixCase{"5.", 5.0, 2},
        PrefixCase{".5", 0.5, 2}, PrefixCase{"-.5", -0.5, 3}, PrefixCase{".", 0.0, 0},
        PrefixCase{"-", 0.0, 0}, PrefixCase{"+.", 0.0, 0}, PrefixCase{"", 0.0, 0},
        PrefixCase{"   ", 0.0, 0}, PrefixCase{"abc", 0.0, 0},
        // Leading white space is part of the prefix; trailing text is not.
        PrefixCase{" \t\n28.4abc", 28.4, 7}, PrefixCase{"28,44", 28.0, 2},
        PrefixCase{"28.4 ", 28.4, 4},
        // Exponents, Fortran's d and D included; an exponent without digits is not taken.
        PrefixCase{"2.84d1", 28.4, 6}, PrefixCase{"2.84D1", 28.4, 6},
        PrefixCase{"2.84e+1", 28.4, 7}, PrefixCase{"284E-1", 28.4, 6}, PrefixCase{"1e", 1.0, 1},
        PrefixCase{"1e+", 1.0, 1}, PrefixCase{"1d-x", 1.0, 1}, PrefixCase{"1.5ee2", 1.5, 3},
        // Not numbers here, whatever strtod would say.
        PrefixCase{"inf", 0.0, 0}, PrefixCase{"-infinity", 0.0, 0}, PrefixCase{"nan", 0.0, 0},
        PrefixCase{"0x10", 0.0, 1}, PrefixCase{"0x1p3", 0.0, 1},
        // Range: overflow saturates, underflow goes to zero, subnormals are kept.
        PrefixCase{"1e400", std::numeric_limits<double>::infinity(), 5},
        PrefixCase{"-1d400", -std::numeric_limits<double>::infinity(), 6},
        PrefixCase{"1e-400", 0.0, 6}, PrefixCase{"-1e-400", -0.0, 7},
        PrefixCase{"0.0001e-320", 0.0, 11},
        PrefixCase{"4.9406564584124654e-324", std::numeric_limits<double>::denorm_min(), 23},
        PrefixCase{"1.7976931348623157e308", std::numeric_limits<double>::max(), 22},
        PrefixCase{"0e99999999999999999999", 0.0, 22},
        PrefixCase{"1e99999999999999999999", std::numeric_limits<double>::infinity(), 22}));

TEST(ParseDecimal, RoundsCorrectlyOnLongAndHalfwayMantissas) {
  // 2^53 + 1 is exactly halfway between two doubles: ties go to even.
  EXPECT_EQ(ParseDecimal("9007199254740993"), 9007199254740992.0);
  EXPECT_EQ(ParseDecimal("9007199254740993.0000000000000000000001"), 9007199254740994.0);
  EXPECT_EQ(ParseDecimal("0.1000000000000000055511151231257827021181583404541015625"), 0.1);
}

TEST(ParseDecimal, IgnoresTheLocalesDecimalComma) {
  // A lab machine set to a German locale must still read 28.4 as 28.4.
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr)
    GTEST_SKIP() << "no German locale";
  EXPECT_EQ(ParseDecimal("28.4"), 28.4);
  EXPECT_EQ(ParseDecimal("28,4"), 28.0);
  std::setlocale(LC_NUMERIC, "C");
}

}  // namespace
}  // namespace pellum
