#include "chart/fixed_decimal_digits.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace pellum {
namespace {

struct DigitsCase {
  const char* what;
  double value;
  int decimals;
  std::string digits;
  int decimalPosition;
  int sign;
};

void PrintTo(const DigitsCase& c, std::ostream* os) {
  *os << c.what;
}

class FixedDecimalDigitsTable : public ::testing::TestWithParam<DigitsCase> {};

TEST_P(FixedDecimalDigitsTable, CutsTheSeventeenDigitForm) {
  const DigitsCase& c = GetParam();
  const DecimalDigits d = FixedDecimalDigits(c.value, c.decimals);
  EXPECT_EQ(d.digits, c.digits);
  EXPECT_EQ(d.decimalPosition, c.decimalPosition);
  EXPECT_EQ(d.sign, c.sign);
}

constexpr double kMin = std::numeric_limits<double>::denorm_min();
constexpr double kMax = std::numeric_limits<double>::max();

INSTANTIATE_TEST_SUITE_P(
    Cases, FixedDecimalDigitsTable,
    ::testing::Values(
        DigitsCase{"reference value", 28.442, 15, "28442000000000000", 2, 0},
        DigitsCase{"double just below 47.303", 47.303, 15, "47302999999999997", 2, 0},
        DigitsCase{"17 digits of 12.35 give a tie", 12.35, 1, "124", 2, 0},
        DigitsCase{"exact tie goes up", 12.25, 1, "123", 2, 0},
        DigitsCase{"below the tie", 12.2499, 1, "122", 2, 0},
        DigitsCase{"negative tie goes away from zero", -2.5, 0, "3", 1, 1},
        DigitsCase{"52299999999999999 cut at its 8th digit carries", 0.0523, 8, "5230000", -1, 0},
        DigitsCase{"carry through nines", 1.9996, 3, "2000", 1, 0},
        DigitsCase{"carry into a new leading digit", 9.996, 2, "1000", 2, 0},
        DigitsCase{"17-digit carry into a new digit", 0.99999999999999999, 3, "1000", 1, 0},
        DigitsCase{"no decimals, rounds up to one", 0.5, 0, "1", 1, 0},
        DigitsCase{"no decimals, nothing left", 0.49, 0, "", 0, 0},
        DigitsCase{"cut above the value", 0.004, 2, "", -2, 0},
        DigitsCase{"negative decimals", 12345.0, -2, "123", 5, 0},
        DigitsCase{"negative decimals, tie", 12355.0, -1, "1236", 5, 0},
        DigitsCase{"negative decimals, carry", 99999.0, -1, "10000", 6, 0},
        DigitsCase{"negative decimals, all cut", 4.0, -1, "", 1, 0},
        DigitsCase{"zero pads with zeros", 0.0, 4, "0000", 0, 0},
        DigitsCase{"minus zero is zero", -0.0, 2, "00", 0, 0},
        DigitsCase{"zero without decimals", 0.0, -3, "", 0, 0},
        DigitsCase{"positions past the 17th digit are zeros", 1.0 / 3.0, 20, "33333333333333331000",
                   0, 0},
        DigitsCase{"smallest subnormal", kMin, 330, "4940656", -323, 0},
        DigitsCase{"smallest subnormal, one digit", kMin, 324, "5", -323, 0},
        DigitsCase{"smallest subnormal, first digit decides", kMin, 323, "", -323, 0},
        DigitsCase{"smallest subnormal, 20 decimals", -kMin, 20, "", -323, 1},
        DigitsCase{"largest subnormal", 2.2250738585072009e-308, 330, "22250738585072009000000",
                   -307, 0},
        DigitsCase{"smallest normal", std::numeric_limits<double>::min(), 309, "22", -307, 0},
        DigitsCase{"largest double", kMax, -300, "179769313", 309, 0},
        DigitsCase{"largest negative double", -kMax, -292, "17976931348623157", 309, 1},
        DigitsCase{"not a number", std::numeric_limits<double>::quiet_NaN(), 4, "nan", 0, 0},
        DigitsCase{"minus infinity", -std::numeric_limits<double>::infinity(), 4, "inf", 0, 1}));

TEST(FixedDecimalDigits, SmallestSubnormalHasItsExactDigits) {
  // 4.9406564584124654e-324: the 17-digit form, then the requested zeros after it.
  EXPECT_EQ(FixedDecimalDigits(kMin, 342).digits, "4940656458412465400");
}

TEST(FixedDecimalDigits, NeverMoreThan347Digits) {
  const struct {
    double value;
    int decimals;
    std::size_t length;
    int position;
  } cases[] = {
      {kMax, 1000, 347, 309},
      {1.0, 400, 347, 1},
      {0.0, 400, 347, 0},
      {kMax, std::numeric_limits<int>::max(), 347, 309},
      {kMax, std::numeric_limits<int>::min(), 0, 309},
      {kMin, std::numeric_limits<int>::max(), 347, -323},
  };
  for (const auto& c : cases) {
    const DecimalDigits d = FixedDecimalDigits(c.value, c.decimals);
    EXPECT_EQ(d.digits.size(), c.length) << c.value << " " << c.decimals;
    EXPECT_EQ(d.decimalPosition, c.position) << c.value << " " << c.decimals;
  }
  // The cap ends the digit string, so no digit follows to round on.
  EXPECT_EQ(FixedDecimalDigits(1.0, 400).digits, "1" + std::string(346, '0'));
}

TEST(FixedDecimalDigits, CapCutsTheTinyValuesToo) {
  // 17 digits at position -323 with 347 in all: everything up to the 670th decimal.
  const DecimalDigits d = FixedDecimalDigits(kMin, 1000);
  EXPECT_EQ(d.digits.substr(0, 17), "49406564584124654");
  EXPECT_EQ(d.digits.size(), 347u);
}

}  // namespace
}  // namespace pellum
