#include "front/cli/cli_options.h"

#include <gtest/gtest.h>

namespace pellum::cli {
namespace {

TEST(ParseCommandLine, UnderstandsEachOption) {
  const ParsedCommandLine p =
      ParseCommandLine({"--two-theta", "28.4,47.3", "--report", "r.txt", "--chart", "c.svg",
                        "--size", "1000x600", "--trace", "a.pid", "b.txt"});
  ASSERT_EQ(p.error, "");
  EXPECT_EQ(*p.options.twoThetaList, "28.4,47.3");
  EXPECT_EQ(p.options.reportPath, "r.txt");
  EXPECT_EQ(*p.options.chartPath, "c.svg");
  EXPECT_EQ(p.options.chartWidth, 1000);
  EXPECT_EQ(p.options.chartHeight, 600);
  EXPECT_TRUE(p.options.trace);
  EXPECT_EQ(p.options.files, (std::vector<std::string>{"a.pid", "b.txt"}));
  const ParsedCommandLine q = ParseCommandLine({"--two-theta", "28.4", "--max-offset", "2.5",
                                                "--calibration-out", "k.cal", "--cif", "f.cif"});
  ASSERT_EQ(q.error, "");
  EXPECT_EQ(*q.options.cifPath, "f.cif");
  EXPECT_EQ(q.options.maxOffset, 2.5);
  EXPECT_EQ(*q.options.calibrationOutPath, "k.cal");
  EXPECT_EQ(*ParseCommandLine({"--calibration", "k.cal"}).options.calibrationPath, "k.cal");
  const ParsedCommandLine m = ParseCommandLine({"--two-theta", "28.4", "--model", "significant"});
  ASSERT_EQ(m.error, "");
  EXPECT_EQ(m.options.modelRule, ModelRule::Significant);
  EXPECT_TRUE(m.options.modelGiven);
  EXPECT_EQ(*ParseCommandLine({"--two-theta", "28.4", "--correction-chart", "k.png"})
                 .options.correctionChartPath,
            "k.png");
}

TEST(ParseCommandLine, Defaults) {
  const ParsedCommandLine p = ParseCommandLine({"--two-theta", "28.4,47.3"});
  ASSERT_EQ(p.error, "");
  EXPECT_EQ(p.options.reportPath, "fitdata.txt");
  EXPECT_EQ(p.options.chartWidth, 800);
  EXPECT_EQ(p.options.chartHeight, 600);
  EXPECT_FALSE(p.options.chartPath);
  EXPECT_FALSE(p.options.trace);
  EXPECT_EQ(p.options.maxOffset, 1.0);
  EXPECT_EQ(p.options.modelRule, ModelRule::ChiSquare);
  EXPECT_FALSE(p.options.modelGiven);
}

TEST(ParseCommandLine, RefusesWhatItDoesNotUnderstand) {
  const std::vector<std::vector<std::string>> bad = {
      {},
      {"film.pid"},
      {"--two-theta"},
      {"--two-theta", "1,2", "--bogus"},
      {"--two-theta", "1,2,3,4,5,6,7"},
      {"--two-theta", "1,2", "--size", "800"},
      {"--two-theta", "1,2", "--size", "0x600"},
      {"--two-theta", "1,2", "--size", "800x600px"},
      {"--two-theta", "1,2", "--size", "-800x600"},
      {"--two-theta", "1,2", "--report"},
      {"--two-theta", "1,2", "--max-offset", "0"},
      {"--two-theta", "1,2", "--max-offset", "-1"},
      {"--two-theta", "1,2", "--max-offset", "1,5"},
      {"--two-theta", "1,2", "--max-offset", "inf"},
      {"--two-theta", "1,2", "--calibration", "a.cal"},
      {"--calibration"},
      {"--two-theta", "1,2", "--cif"},
      {"--two-theta", "1,2", "--model"},
      {"--two-theta", "1,2", "--correction-chart"},
      {"--two-theta", "1,2", "--model", "best"},
      {"--two-theta", "1,2", "--model", "Line"},
      {"--calibration", "a.cal", "--model", "line"},
  };
  for (const auto& arguments : bad) {
    EXPECT_NE(ParseCommandLine(arguments).error, "") << ::testing::PrintToString(arguments);
  }
  EXPECT_EQ(ParseCommandLine({"--help"}).error, "");
  EXPECT_EQ(ParseCommandLine({"--version"}).error, "");
}

// --find-silicon stands alone; --two-theta-from takes the place of --two-theta.
TEST(ParseCommandLine, ProfileOptions) {
  struct Case {
    std::vector<std::string> arguments;
    bool understood;
  };
  const std::vector<Case> cases = {
      {{"--find-silicon", "film.txt"}, true},
      {{"--two-theta-from", "film.txt", "--chart", "c.svg", "film.pid"}, true},
      {{"--find-silicon"}, false},
      {{"--two-theta-from"}, false},
      {{"--find-silicon", "film.txt", "--two-theta", "28.4,47.3"}, false},
      {{"--find-silicon", "film.txt", "film.pid"}, false},
      {{"--find-silicon", "film.txt", "--report", "r.txt"}, false},
      {{"--find-silicon", "film.txt", "--two-theta-from", "film.txt"}, false},
      {{"--two-theta-from", "film.txt", "--two-theta", "28.4,47.3"}, false},
      {{"--two-theta-from", "film.txt", "--calibration", "film.cal"}, false},
      {{"--find-silicon", "film.txt", "--calibration-out", "film.cal"}, false},
      {{"--find-silicon", "film.txt", "--model", "line"}, false},
      {{"--find-silicon", "film.txt", "--correction-chart", "k.svg"}, false},
      {{"--two-theta-from", "film.txt", "--model", "significant"}, true},
      {{"--two-theta-from", "film.txt", "--max-offset", "1.5", "--calibration-out", "f.cal"}, true},
  };
  for (const Case& c : cases) {
    const ParsedCommandLine p = ParseCommandLine(c.arguments);
    EXPECT_EQ(p.error.empty(), c.understood) << ::testing::PrintToString(c.arguments) << p.error;
  }
  const ParsedCommandLine p = ParseCommandLine({"--two-theta-from", "film.txt", "film.pid"});
  EXPECT_EQ(*p.options.twoThetaFromProfile, "film.txt");
  EXPECT_EQ(p.options.files, std::vector<std::string>{"film.pid"});
  EXPECT_EQ(*ParseCommandLine({"--find-silicon", "f.txt"}).options.findSiliconProfile, "f.txt");
}

TEST(ParseCommandLine, DoubleDashEndsTheOptions) {
  const ParsedCommandLine p = ParseCommandLine({"--two-theta", "1,2", "--", "-odd.pid"});
  ASSERT_EQ(p.error, "");
  EXPECT_EQ(p.options.files, (std::vector<std::string>{"-odd.pid"}));
}

TEST(SplitTwoThetaList, KeepsEmptyTextsSoTheyAreRefusedLikeAnEmptyField) {
  EXPECT_EQ(SplitTwoThetaList(""), std::vector<std::string>{});
  EXPECT_EQ(SplitTwoThetaList("28.4"), std::vector<std::string>{"28.4"});
  EXPECT_EQ(SplitTwoThetaList("28.4,,47.3,"), (std::vector<std::string>{"28.4", "", "47.3", ""}));
}

}  // namespace
}  // namespace pellum::cli
