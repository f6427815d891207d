#include "convert/fixed_rows.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "convert/unsigned_128.h"
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

// The two-halves arithmetic behind the exact scaling, at the carries and the edges of each
// half, on the operands the scaling takes: a 53-bit mantissa, a power of ten up to 10^9.
TEST(Unsigned128, ProductsShiftsAndRoundingBitsAreExact) {
  constexpr std::uint64_t kMax = UINT64_MAX;
  struct Case {
    std::uint64_t a, b;
    Unsigned128 product;
  };
  const Case cases[] = {
      {0, kMax, {0, 0}},
      {1, kMax, {0, kMax}},
      {kMax, kMax, {kMax - 1, 1}},
      {std::uint64_t{1} << 32, std::uint64_t{1} << 32, {1, 0}},
      {0xFFFFFFFF, 0xFFFFFFFF, {0, 0xFFFFFFFE00000001}},
      {(std::uint64_t{1} << 53) - 1, 1000000000, {0x77359, 0x3FFFFFFFC4653600}},
      {0x123456789ABCDEF0, 0x0FEDCBA987654321, {0x0121FA00AD77D742, 0x2236D88FE5618CF0}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MultiplyWide(c.a, c.b), c.product) << c.a << " * " << c.b;
  }
  const Unsigned128 value{0x8000000000000001, 0x8000000000000003};
  EXPECT_EQ(ShiftLeft(value, 0), value);
  EXPECT_EQ(ShiftLeft(value, 1), (Unsigned128{3, 6}));
  EXPECT_EQ(ShiftLeft(value, 64), (Unsigned128{0x8000000000000003, 0}));
  EXPECT_EQ(ShiftLeft(value, 127), (Unsigned128{0x8000000000000000, 0}));
  EXPECT_EQ(ShiftRight(value, 1), (Unsigned128{0x4000000000000000, 0xC000000000000001}));
  EXPECT_EQ(ShiftRight(value, 64), (Unsigned128{0, 0x8000000000000001}));
  EXPECT_EQ(ShiftRight(value, 127), (Unsigned128{0, 1}));
  EXPECT_EQ(LowBits(value, 0), (Unsigned128{0, 0}));
  EXPECT_EQ(LowBits(value, 2), (Unsigned128{0, 3}));
  EXPECT_EQ(LowBits(value, 65), (Unsigned128{1, 0x8000000000000003}));
  EXPECT_EQ(PowerOfTwo(82), (Unsigned128{std::uint64_t{1} << 18, 0}));
  EXPECT_EQ(Increment({0, kMax}), (Unsigned128{1, 0}));
  // Ordered by value: the high half first.
  EXPECT_LT((Unsigned128{0, kMax}), (Unsigned128{1, 0}));
  EXPECT_GT((Unsigned128{1, 1}), (Unsigned128{1, 0}));
#ifdef __SIZEOF_INT128__
  // Where the compiler has a 128-bit type, random operands agree with it bit for bit.
  __extension__ typedef unsigned __int128 Native;
  std::mt19937_64 random(15);
  for (int i = 0; i < 10000; ++i) {
    const std::uint64_t a = random() >> (i % 64), b = random() >> (i / 64 % 64);
    const int shift = static_cast<int>(random() % 128);
    const Native native = static_cast<Native>(a) * b;
    const Unsigned128 wide = MultiplyWide(a, b);
    ASSERT_EQ(wide, (Unsigned128{static_cast<std::uint64_t>(native >> 64),
                                 static_cast<std::uint64_t>(native)}));
    const Native right = native >> shift;
    const Native low = native & ((Native{1} << shift) - 1);
    ASSERT_EQ(ShiftRight(wide, shift), (Unsigned128{static_cast<std::uint64_t>(right >> 64),
                                                    static_cast<std::uint64_t>(right)}));
    ASSERT_EQ(LowBits(wide, shift), (Unsigned128{static_cast<std::uint64_t>(low >> 64),
                                                 static_cast<std::uint64_t>(low)}));
  }
#endif
}

}  // namespace
}  // namespace pellum
