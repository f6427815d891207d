#include "calib/fixed_notation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "tests/support/printf_nan.h"

namespace pellum {
namespace {

std::string Fixed(double v, int precision, int width = 0) {
  std::string out = "<";
  AppendFixed(out, v, precision, width);
  return out.substr(1);
}

std::string Printf(double v, int precision, int width) {
  const int length = std::snprintf(nullptr, 0, "%*.*f", width, precision, v);
  if (length <= 0)
    return "";
  std::vector<char> text(static_cast<std::size_t>(length) + 1);
  std::snprintf(text.data(), text.size(), "%*.*f", width, precision, v);
  return testing::WithNanSign(std::string(text.data(), static_cast<std::size_t>(length)), v);
}

TEST(AppendFixed, WritesWhatPrintfWrites) {
  struct Case {
    double value;
    int precision;
    int width;
    const char* text;
  };
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Case cases[] = {
      {30.1, 6, 10, " 30.100000"},
      {500.0, 1, 10, "     500.0"},
      {2.46, 1, 10, "       2.5"},
      {2.25, 1, 10, "       2.2"},  // exact rounding of a tie
      {1234.5678, 6, 10, "1234.567800"},
      {6e8, 6, 20, "    600000000.000000"},
      {-0.0, 6, 0, "-0.000000"},
      {-1e-9, 6, 0, "-0.000000"},
      {inf, 6, 10, "       inf"},
      {-inf, 1, 10, "      -inf"},
      {nan, 6, 0, "nan"},
      {-nan, 6, 0, "-nan"},
      {1e22, 0, 0, "10000000000000000000000"},
      {1e23, 1, 0, "99999999999999991611392.0"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Fixed(c.value, c.precision, c.width), c.text) << c.value;
  }
}

TEST(AppendFixed, AgreesWithPrintfOnRandomDoubles) {
  std::mt19937_64 random(20261208);
  std::uniform_int_distribution<std::uint64_t> bits;
  for (int i = 0; i < 20000; ++i) {
    double v;
    const std::uint64_t b = bits(random);
    std::memcpy(&v, &b, sizeof v);
    if (std::abs(v) > 1e30)
      v = std::ldexp(v, -std::ilogb(v));  // keep the texts short
    const int precision = i % 8;
    const int width = i % 21;
    ASSERT_EQ(Fixed(v, precision, width), Printf(v, precision, width)) << v;
  }
}

}  // namespace
}  // namespace pellum
