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

// An option that would be ignored, or whose first value would be lost, is refused by name.
TEST(ParseCommandLine, RefusesIgnoredAndRepeatedOptionsByName) {
  struct Case {
    std::vector<std::string> arguments;
    const char* named;  // what the error must name
  };
  const std::vector<Case> cases = {
      {{"--find-silicon", "f.txt", "--cif", "x.cif"}, "--cif does not go with --find-silicon"},
      {{"--find-silicon", "f.txt", "--max-offset", "2"}, "--max-offset"},
      {{"--find-silicon", "f.txt", "--size", "800x600"}, "--size"},
      {{"--calibration", "r.cal", "--report", "r.fit"}, "--report does not go with --calibration"},
      {{"--calibration", "r.cal", "--calibration-out", "s.cal"}, "--calibration-out"},
      {{"--two-theta", "1,2", "--two-theta", "3,4"}, "--two-theta is given twice"},
      {{"--two-theta", "1,2", "--report", "a", "--report", "b"}, "--report is given twice"},
      {{"--two-theta", "1,2", "--chart", "a.svg", "--chart", "b.svg"}, "--chart is given twice"},
      {{"--two-theta", "1,2", "--trace", "--trace"}, "--trace is given twice"},
      {{"--two-theta", "1,2", "--size", "900x600"}, "--size goes with --chart, --correction-chart"},
      {{"--calibration", "r.cal", "--model", "line"}, "--model does not go with --calibration"},
      {{"--find-silicon", "f.txt", "--correction-chart", "c.svg"},
       "--correction-chart does not go"},
      {{"--two-theta", ""}, "--two-theta is empty"},
      {{"--calibration", "r.cal", "--two-theta-from", "f.txt"}, "exclude each other"},
      {{"--find-silicon", "f.txt", "f.pid"}, "--find-silicon takes no FILE: f.pid"},
      {{"--list-lines", "--max-offset", "2"}, "--max-offset does not go with --list-lines"},
      {{"--list-lines", "--standard", "si-640c", "--standard", "si-640e"},
       "--standard is given twice"},
  };
  for (const Case& c : cases) {
    const std::string error = ParseCommandLine(c.arguments).error;
    EXPECT_NE(error.find(c.named), std::string::npos)
        << ::testing::PrintToString(c.arguments) << " -> " << error;
  }
  // Each documented combination is still understood.
  const std::vector<std::vector<std::string>> good = {
      {"--calibration", "r.cal", "--max-offset", "0.5", "--cif", "x.cif", "--chart", "c.svg",
       "--size", "900x600", "--trace", "a.pid"},
      {"--calibration", "r.cal", "--trace", "--size", "900x600"},
      {"--two-theta", "1,2", "--max-offset", "2", "--report", "r", "--calibration-out", "k.cal",
       "--cif", "x.cif", "--chart", "c.png", "--size", "900x600", "--trace", "a.pid"},
      {"--two-theta", "1,2", "--help", "--help"},
  };
  for (const auto& arguments : good)
    EXPECT_EQ(ParseCommandLine(arguments).error, "") << ::testing::PrintToString(arguments);
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
      {{"--find-silicon", "film.txt", "--max-scale", "0.5"}, true},
      {{"--two-theta-from", "film.txt", "--max-scale", "0"}, true},
      {{"--two-theta", "28.4,47.3", "--max-scale", "0.5"}, false},
      {{"--find-silicon", "film.txt", "--max-scale", "6"}, false},
      {{"--find-silicon", "film.txt", "--max-scale", "0.5%"}, false},
      {{"--find-silicon", "film.txt", "--radiation-lines", "ka12"}, true},
      {{"--two-theta-from", "film.txt", "--radiation-lines", "ka1"}, true},
      {{"--find-silicon", "film.txt", "--radiation-lines", "kb"}, false},
      {{"--two-theta", "28.4,47.3", "--radiation-lines", "ka1"}, false},
      {{"--find-silicon", "film.txt", "--two-theta-from", "film.txt"}, false},
      {{"--two-theta-from", "film.txt", "--two-theta", "28.4,47.3"}, false},
      {{"--two-theta-from", "film.txt", "--calibration", "film.cal"}, false},
      {{"--find-silicon", "film.txt", "--calibration-out", "film.cal"}, false},
      {{"--find-silicon", "film.txt", "--model", "line"}, false},
      {{"--find-silicon", "film.txt", "--correction-chart", "k.svg"}, false},
      {{"--two-theta-from", "film.txt", "--model", "significant"}, true},
      {{"--two-theta-from", "film.txt", "--max-offset", "1.5", "--calibration-out", "f.cal"}, true},
      // --find-lines takes the reference options and the finder's; --two-theta-from too.
      {{"--find-lines", "film.txt"}, true},
      {{"--find-lines"}, false},
      {{"--find-lines", "film.txt", "--standard", "lab6-660c", "--radiation", "cr"}, true},
      {{"--find-lines", "film.txt", "--standard", "al2o3-676a", "--lattice", "4.76,12.99"}, true},
      {{"--find-lines", "film.txt", "--wavelength", "1.79", "--max-scale", "0.5"}, true},
      {{"--find-lines", "film.txt", "--radiation-lines", "ka12"}, true},
      {{"--find-lines", "film.txt", "--find-silicon", "film.txt"}, false},
      {{"--find-lines", "film.txt", "--two-theta-from", "film.txt"}, false},
      {{"--find-lines", "film.txt", "film.pid"}, false},
      {{"--find-lines", "film.txt", "--report", "r.txt"}, false},
      {{"--find-lines", "film.txt", "--max-offset", "2"}, false},
      {{"--find-lines", "film.txt", "--cif", "c.cif"}, false},
      {{"--find-silicon", "film.txt", "--standard", "si-640e"}, false},
      {{"--two-theta-from", "film.txt", "--standard", "si-640e", "--radiation", "cr"}, true},
      {{"--two-theta-from", "film.txt", "--standard", "ceo2-674b", "--chart", "c.svg"}, true},
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

// --list-lines takes the reference options alone; they go with it and --two-theta only.
TEST(ParseCommandLine, ListLinesOptions) {
  struct Case {
    std::vector<std::string> arguments;
    bool understood;
  };
  const std::vector<Case> cases = {
      {{"--list-lines"}, true},
      {{"--list-lines", "--standard", "al2o3-676a", "--lattice", "4.76,13", "--radiation", "cr"},
       true},
      {{"--list-lines", "--wavelength", "1.5"}, true},
      {{"--list-lines", "--standard"}, false},
      {{"--list-lines", "--radiation"}, false},
      {{"--list-lines", "film.pid"}, false},
      {{"--list-lines", "--two-theta", "28.4"}, false},
      {{"--list-lines", "--find-silicon", "film.txt"}, false},
      {{"--list-lines", "--cif", "c.cif"}, false},
      {{"--two-theta", "28.4", "--standard", "si-640e"}, true},
      {{"--two-theta", "1,2,3,4,5,6,7,8", "--standard", "lab6-660c"}, true},
      // The finder looks for another reference's lines too.
      {{"--two-theta-from", "film.txt", "--standard", "si-640e"}, true},
      {{"--find-silicon", "film.txt", "--radiation", "cr"}, false},
      {{"--calibration", "k.cal", "--wavelength", "1.5"}, false},
  };
  for (const Case& c : cases) {
    const ParsedCommandLine p = ParseCommandLine(c.arguments);
    EXPECT_EQ(p.error.empty(), c.understood) << ::testing::PrintToString(c.arguments) << p.error;
  }
  const CliOptions o = ParseCommandLine({"--list-lines", "--standard", "lab6-660c", "--lattice",
                                         "4.1569", "--wavelength", "1.54"})
                           .options;
  EXPECT_TRUE(o.listLines);
  EXPECT_EQ(*o.standard, "lab6-660c");
  EXPECT_EQ(*o.lattice, "4.1569");
  EXPECT_EQ(*o.wavelength, "1.54");
  EXPECT_FALSE(o.radiation);
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
