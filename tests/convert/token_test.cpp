#include "convert/token.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>

namespace pellum {
namespace {

struct TokenCase {
  const char* name;
  std::string text;
  int n;
  int result;
  std::string token;  // what the token holds afterwards; it starts as "stale"
};

class Tokens : public ::testing::TestWithParam<TokenCase> {};

TEST_P(Tokens, AreRunsOfPrintableBytes) {
  std::string token = "stale";
  EXPECT_EQ(ExtractToken(GetParam().n, GetParam().text, token), GetParam().result);
  EXPECT_EQ(token, GetParam().token);
}

const std::string kPadded = "  25.5\t  100 ";

INSTANTIATE_TEST_SUITE_P(
    Extract, Tokens,
    ::testing::Values(TokenCase{"First", kPadded, 0, 1, "25.5"},
                      TokenCase{"Second", kPadded, 1, 1, "100"},
                      TokenCase{"PastTheEnd", kPadded, 2, -1, "stale"},
                      TokenCase{"FarPastTheEnd", kPadded, 40, -1, "stale"},
                      TokenCase{"Negative", kPadded, -1, 1, "stale"},
                      TokenCase{"EmptyText", "", 0, -1, "stale"},
                      TokenCase{"OnlySeparators", " \t\r\x01\x1F\x80\xFF ", 0, -1, "stale"},
                      TokenCase{"DegreeSignEndsANumber",
                                "25.5\xB0"
                                "C",
                                0, 1, "25.5"},
                      TokenCase{"AfterDegreeSign",
                                "25.5\xB0"
                                "C",
                                1, 1, "C"},
                      TokenCase{"ControlBytesSeparate",
                                "1\x01"
                                "2\x1F"
                                "3",
                                2, 1, "3"},
                      TokenCase{"DelIsPrintable",
                                "a\x7F"
                                "b c",
                                0, 1,
                                "a\x7F"
                                "b"},
                      TokenCase{"HighBytesSeparate", "\xE9t\xE9 x", 0, 1, "t"},
                      TokenCase{"ZeroByteSeparates", std::string("1 2\0 3", 6), 2, 1, "3"},
                      TokenCase{"BeforeZeroByte", std::string("1 2\0 3", 6), 1, 1, "2"},
                      TokenCase{"ZeroByteBetweenDigits",
                                std::string("12\0"
                                            "34",
                                            5),
                                1, 1, "34"},
                      TokenCase{"AfterLeadingZeroBytes",
                                std::string("\0\0"
                                            "7",
                                            3),
                                0, 1, "7"},
                      TokenCase{"OnlyZeroBytes", std::string(4, '\0'), 0, -1, "stale"},
                      TokenCase{"FifthOfFive", "28.1 3.17 12 340 1234.5", 4, 1, "1234.5"},
                      TokenCase{"FifthOfFour", "28.1 3.17 12 340", 4, -1, "stale"}),
    [](const ::testing::TestParamInfo<TokenCase>& info) { return info.param.name; });

TEST(SplitTokens, FindsTheFirstFieldsInOneWalk) {
  std::array<std::string_view, 5> fields;
  EXPECT_EQ(SplitTokens("28.1 3.17\t12 340 1234.5 9", fields), 5u);
  EXPECT_EQ(fields[0], "28.1");
  EXPECT_EQ(fields[4], "1234.5");
  EXPECT_EQ(SplitTokens("  25.5\xB0"
                        "C  ",
                        fields),
            2u);
  EXPECT_EQ(fields[1], "C");
  EXPECT_EQ(SplitTokens(std::string_view("1 2\0 3 4 5", 11), fields), 5u);
  EXPECT_EQ(fields[2], "3");
  EXPECT_EQ(SplitTokens(" \t\x80 ", fields), 0u);
  EXPECT_EQ(SplitTokens("", fields), 0u);
  std::array<std::string_view, 2> two;
  EXPECT_EQ(SplitTokens("a b c", two), 2u);
  EXPECT_EQ(two[1], "b");
}

TEST(SplitTokens, GiveTheSameFieldsForAWholeLine) {
  for (const std::string& line :
       {std::string("28.1 3.17\t12 340 1234.5 9"),
        std::string("  25.5\xB0"
                    "C  "),
        std::string("1 2\0 3 4 5", 11), std::string(" \t\x80 "), std::string(),
        std::string("\x7F\x01\xFF"
                    "a"),
        std::string(300, 'x') + " y",
        std::string("\0"
                    "1\0\0"
                    "2\0",
                    6),
        std::string("28.1\0"
                    "3.17\0"
                    "12\0"
                    "340\0"
                    "1234.5",
                    23),
        std::string(3, '\0')}) {
    std::array<std::string_view, 5> fromView;
    std::array<std::string_view, 5> fromLine;
    const std::size_t count = SplitTokens(line, fromView);
    ASSERT_EQ(SplitLineTokens(line, fromLine), count);
    for (std::size_t i = 0; i < count; ++i) {
      EXPECT_EQ(fromLine[i], fromView[i]);
    }
  }
  // Only the terminating zero byte ends the walk; one within the line separates.
  std::array<std::string_view, 5> fields;
  const std::string zeroes(
      "28.1\0"
      "3.17 12\0\0"
      "340\0"
      "1234.5\0",
      25);
  EXPECT_EQ(SplitLineTokens(zeroes, fields), 5u);
  EXPECT_EQ(fields[4], "1234.5");
}

}  // namespace
}  // namespace pellum
