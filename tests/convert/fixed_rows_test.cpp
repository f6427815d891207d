#include "convert/fixed_rows.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "tests/convert/convert_test_support.h"

namespace pellum {
namespace {

using testing::Printf;

std::string Row(double value, int precision, int minWidth) {
  std::string out = "<";
  AppendFixedRow(out, value, precision, minWidth);
  return out;
}

std::string Expected(double value, int precision, int minWidth) {
  const std::string format =
      "<%" + std::to_string(minWidth) + "." + std::to_string(precision) + "f";
  return Printf(format.c_str(), value);
}

TEST(FixedRows, MatchPrintfOnChosenValues) {
  const double inf = std::numeric_limits<double>::infinity();
  const double values[] = {0.0,
                           -0.0,
                           2.25,
                           2.35,
                           2.46,
                           -2.25,
                           0.5,
                           1.5,
                           2.5,
                           0.0000005,
                           0.0000015,
                           0.00000049,
                           -1e-9,
                           30.1,
                           1000.1,
                           99.99995,
                           999999.99999,
                           1.8e13,
                           1.9e13,
                           1.8446744e13,
                           9.2e18,
                           1e300,
                           -1e300,
                           5e-324,
                           -5e-324,
                           1e-310,
                           inf,
                           -inf,
                           std::nan(""),
                           -std::nan(""),
                           4503599627370496.5,
                           9007199254740993.0,
                           0.1 + 0.2,
                           123456.7890125,
                           -0.05,
                           0.95};
  for (double value : values) {
    for (int precision : {1, 6, 9}) {
      for (int width : {0, 10}) {
        EXPECT_EQ(Row(value, precision, width), Expected(value, precision, width))
            << value << " precision " << precision;
      }
    }
  }
}

TEST(FixedRows, MatchPrintfOnRandomBitPatterns) {
  std::mt19937_64 random(20261208);
  for (int i = 0; i < 200000; ++i) {
    // Exponents from 2^-40 to 2^50 cover every number a data file holds and the ties.
    const std::uint64_t mantissa = random() & ((std::uint64_t{1} << 52) - 1);
    const std::uint64_t exponent = 1023 - 40 + random() % 91;
    const std::uint64_t sign = random() & 1;
    const double value = std::bit_cast<double>((sign << 63) | (exponent << 52) | mantissa);
    const int precision = (i % 2 == 0) ? 6 : 1;
    ASSERT_EQ(Row(value, precision, 10), Expected(value, precision, 10)) << value;
  }
}

TEST(FixedRows, MatchPrintfOnDecimalTies) {
  // Numbers with few binary digits, many of them exact ties at the last decimal.
  for (int i = -20000; i <= 20000; ++i) {
    const double value = i / 64.0;
    ASSERT_EQ(Row(value, 1, 10), Expected(value, 1, 10)) << value;
    ASSERT_EQ(Row(value / 1e5, 6, 0), Expected(value / 1e5, 6, 0)) << value;
  }
}

}  // namespace
}  // namespace pellum
