#include "chart/label_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <string>

namespace pellum {
namespace {

struct LabelCase {
  double value;
  const char* text;
  const char* traceLine;  // nullptr: not checked here
};

void PrintTo(const LabelCase& c, std::ostream* os) {
  *os << c.value << " -> " << c.text;
}

class FormatFixedTable : public ::testing::TestWithParam<LabelCase> {};

TEST_P(FormatFixedTable, WidthFourGivesTheChartText) {
  const LabelCase& c = GetParam();
  std::ostringstream trace;
  EXPECT_EQ(FormatFixed(c.value, 4, trace), c.text);
  if (c.traceLine != nullptr) {
    EXPECT_EQ(trace.str(), c.traceLine);
  } else {
    EXPECT_EQ(trace.str().find('\n'), trace.str().size() - 1) << "one line per call";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FormatFixedTable,
    ::testing::Values(
        LabelCase{0.0, "0.000",
                  "source: 0.0000000000   buffer: '000000000000000'   decimal: 0   sign: 0\n"},
        LabelCase{-0.0, "0.000",
                  "source: 0.0000000000   buffer: '000000000000000'   decimal: 0   sign: 0\n"},
        LabelCase{3.0, "3.00", nullptr}, LabelCase{5.123, "5.12", nullptr},
        LabelCase{28.442, "28.4",
                  "source: 28.4420000000   buffer: '28442000000000000'   decimal: 2   sign: 0\n"},
        LabelCase{47.303, "47.3",
                  "source: 47.3030000000   buffer: '47302999999999997'   decimal: 2   sign: 0\n"},
        LabelCase{12.35, "12.4", nullptr}, LabelCase{12.25, "12.3", nullptr},
        LabelCase{9.9949, "9.99", nullptr}, LabelCase{9.996, "10.00", nullptr},
        LabelCase{99.97, "100.0", nullptr}, LabelCase{100.0, "100.", nullptr},
        LabelCase{0.5, "0.500", nullptr}, LabelCase{0.05, "0.0500", nullptr},
        LabelCase{0.0001, "0.000100", nullptr}, LabelCase{-5.5, "-5.5", nullptr},
        LabelCase{-0.25, "-0.25", nullptr}, LabelCase{-12.34, "-12.", nullptr},
        // More integer digits than the budget: rounded to it and written out in full.
        LabelCase{1234.5, "1230.", nullptr}, LabelCase{-123.4, "-120.", nullptr},
        LabelCase{1e20, "100000000000000000000.", nullptr},
        LabelCase{std::numeric_limits<double>::quiet_NaN(), "nan",
                  "source: nan   buffer: 'nan'   decimal: 0   sign: 0\n"},
        LabelCase{std::numeric_limits<double>::infinity(), "inf",
                  "source: inf   buffer: 'inf'   decimal: 0   sign: 0\n"},
        LabelCase{-std::numeric_limits<double>::infinity(), "-inf",
                  "source: -inf   buffer: 'inf'   decimal: 0   sign: 1\n"}));

class FormatScientificTable : public ::testing::TestWithParam<LabelCase> {};

TEST_P(FormatScientificTable, WidthTenGivesTheChartText) {
  const LabelCase& c = GetParam();
  std::ostringstream trace;
  EXPECT_EQ(FormatScientific(c.value, 10, trace), c.text);
  if (c.traceLine != nullptr) {
    EXPECT_EQ(trace.str(), c.traceLine);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FormatScientificTable,
    ::testing::Values(
        LabelCase{0.0, " 0.00000000E-1",
                  "source: 0.0000000000   buffer: '00000000000000000000'   decimal: 0   sign: 0\n"},
        LabelCase{
            1.0, " 1.00000000E0",
            "source: 1.0000000000   buffer: '100000000000000000000'   decimal: 1   sign: 0\n"},
        LabelCase{0.99812, " 9.98120000E-1", nullptr},
        LabelCase{0.0523, " 5.23000000E-2",
                  "source: 0.0523000000   buffer: '5229999999999999900'   decimal: -1   sign: 0\n"},
        LabelCase{1.234e-5, " 1.23400000E-5", nullptr},
        LabelCase{12345.678901234, " 1.23456789E4", nullptr},
        LabelCase{123456789012.0, " 1.23456789E11", nullptr},
        LabelCase{
            -2.5, "-2.5000000E0",
            "source: -2.5000000000   buffer: '250000000000000000000'   decimal: 1   sign: 1\n"},
        LabelCase{-0.1234567891, "-1.2345679E-1", nullptr},
        LabelCase{9.9999999999, " 1.000000000E1", nullptr},
        LabelCase{1.0e-30, " 1.00000000E-30",
                  "source: 0.0000000000   buffer: ''   decimal: -29   sign: 0\n"},
        LabelCase{4.94065645841246544e-324, " 4.94065646E-324", nullptr},
        LabelCase{-1.2e-15, "-1.2000000E-15",
                  "source: -0.0000000000   buffer: '120000'   decimal: -14   sign: 1\n"},
        LabelCase{std::numeric_limits<double>::max(), " 1.79769313E308", nullptr},
        LabelCase{std::numeric_limits<double>::quiet_NaN(), " nan", nullptr},
        LabelCase{std::numeric_limits<double>::infinity(), " inf", nullptr},
        LabelCase{-std::numeric_limits<double>::infinity(), "-inf", nullptr}));

// The %2.10f of the trace line: the 17-digit form cut at ten decimals, ties going up.
TEST(FormatTraceSource, CutsTheSeventeenDigitFormAtTenDecimals) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {0.0, "0.0000000000"},
      {-0.0, "0.0000000000"},
      {-1.2e-15, "-0.0000000000"},  // a non-zero negative keeps its minus
      {5e-11, "0.0000000001"},      // the eleventh decimal carries into the tenth
      {4.9e-11, "0.0000000000"},
      {0.99999999999, "1.0000000000"},  // carry through nines to a new leading digit
      {1e-300, "0.0000000000"},
      {123456789.123456789, "123456789.1234567900"},  // past the 17th digit: zeros
      {1e22, "10000000000000000000000.0000000000"},
      {-47.303, "-47.3030000000"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatTraceSource(c.value), c.text) << c.value;
  }
}

TEST(FormatTraceSource, WritesEveryDigitOfTheLargestDouble) {
  const std::string text = FormatTraceSource(std::numeric_limits<double>::max());
  ASSERT_EQ(text.size(), 309u + 1 + 10);
  EXPECT_EQ(text.substr(0, 17), "17976931348623157");
  EXPECT_EQ(text.find_first_not_of('0', 17), 309u) << "zeros past the 17th digit";
}

// Widths other than the chart's stay well defined: the texts are whatever the budget gives.
TEST(LabelFormat, DegenerateWidthsNeverFail) {
  std::ostringstream trace;
  for (int width : {-1000000, -1, 0, 1, 2, 30, 1000000}) {
    for (double value : {0.0, 5.5, -5.5, 1e300, -1e-300, 4.9e-324}) {
      EXPECT_FALSE(FormatFixed(value, width, trace).empty());
      EXPECT_FALSE(FormatScientific(value, width, trace).empty());
    }
  }
  // No digit in the budget: 5.5 cut at the tens rounds up to one ten.
  EXPECT_EQ(FormatScientific(5.5, 1, trace), " 1.E1");
  EXPECT_EQ(FormatScientific(4.5, 1, trace), " 0.E0") << "nothing survives the cut";
  EXPECT_EQ(FormatScientific(5.5, 2, trace), " 6.E0");
}

}  // namespace
}  // namespace pellum
