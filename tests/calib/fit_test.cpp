#include "calib/fit.h"
#include "tests/support/fit_and_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>
#include <vector>

#include "calib/fit_report.h"
#include "calib/fixed_notation.h"
#include "calib/reference_table.h"

namespace pellum {
namespace {

std::vector<CalibrationPoint> Points(std::initializer_list<std::pair<int, double>> readings) {
  std::vector<CalibrationPoint> points;
  for (auto [row, x] : readings)
    points.push_back({x, ReferenceTable[row].twoTheta, 0.0001});
  return points;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class FitCalibrationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("pellum-fit-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::string ReportPath() const { return (folder_ / "fitdata.txt").string(); }

  std::filesystem::path folder_;
};

const std::vector<CalibrationPoint> kSixReadings =
    Points({{0, 28.45}, {1, 47.31}, {2, 56.13}, {3, 69.14}, {4, 76.39}, {5, 88.04}});

TEST_F(FitCalibrationTest, SixReadingsGiveTheGoldenReportAndExactCoefficients) {
  CalibrationCoefficients c;
  std::ostringstream console;
  EXPECT_EQ(FitAndReport(kSixReadings, c, ReportPath(), console), 0);
  EXPECT_EQ(console.str(), "");
  EXPECT_EQ(ReadFile(ReportPath()),
            ReadFile(std::filesystem::path(PELLUM_TEST_DATA_DIR) / "calib/fitdata-six-points.txt"));
  // The quadratic's chi-square is the smaller, so it is kept. These are the bits that the
  // fixed order of operations gives (computed independently of this code).
  EXPECT_EQ(c.a1, -0.006215050010224119);
  EXPECT_EQ(c.a2, 0.9999774605577304);
  EXPECT_EQ(c.a3, -4.6702307825325454e-07);
  EXPECT_EQ(c.delta, 1.0987270980329480e+34);
}

TEST_F(FitCalibrationTest, DegenerateAndExactPointSets) {
  struct Case {
    const char* name;
    std::vector<CalibrationPoint> points;
    bool straightLine;
  };
  const Case cases[] = {
      {"two readings", Points({{0, 28.45}, {5, 88.04}}), true},
      {"one reading of 1 1 1 at 28.4", Points({{0, 28.4}}), true},
      {"one reading of 2 2 0 at 47.3", Points({{1, 47.3}}), false},
  };
  for (const Case& k : cases) {
    CalibrationCoefficients c{9, 9, 9, 9};
    FitResult r;
    std::ostringstream console;
    FitAndReport(k.points, c, ReportPath(), console, &r);
    const std::string report = ReadFile(ReportPath());
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 17) << k.name;
    if (k.straightLine) {
      EXPECT_EQ(c.a3, 0.0) << k.name;
      EXPECT_EQ(std::bit_cast<std::uint64_t>(c.delta), std::bit_cast<std::uint64_t>(r.delta2));
    } else {
      EXPECT_EQ(c.a3, r.a3) << k.name;
      EXPECT_EQ(c.delta, r.delta3) << k.name;
    }
  }
}

TEST_F(FitCalibrationTest, TwoReadingsTakeTheLineThroughBoth) {
  const auto points = Points({{0, 28.45}, {5, 88.04}});
  CalibrationCoefficients c;
  FitResult r;
  std::ostringstream console;
  FitAndReport(points, c, ReportPath(), console, &r);
  EXPECT_EQ(c.a3, 0.0);
  for (const auto& p : points)
    EXPECT_NEAR(c.a1 + c.a2 * p.x, p.y, 1e-9);
  // The report keeps the quadratic's (meaningless) values, not the chosen line.
  const std::string report = ReadFile(ReportPath());
  std::string a1Line = "       a1:";
  AppendFixed(a1Line, r.a1, 6, 20);
  EXPECT_NE(report.find(a1Line + "\n"), std::string::npos) << report;
}

TEST_F(FitCalibrationTest, SingleReadingsFollowTheArithmetic) {
  CalibrationCoefficients c;
  std::ostringstream console;
  FitAndReport(Points({{0, 28.4}}), c, ReportPath(), console);
  EXPECT_EQ(c.delta, 0.0);
  EXPECT_TRUE(std::isnan(c.a1));
  EXPECT_TRUE(std::isnan(c.a2));
  EXPECT_EQ(c.a3, 0.0);

  FitAndReport(Points({{1, 47.3}}), c, ReportPath(), console);
  EXPECT_TRUE(std::isfinite(c.a1) && std::isfinite(c.a2) && std::isfinite(c.a3));
  EXPECT_NE(c.a3, 0.0);
}

TEST_F(FitCalibrationTest, ReadingsOnAStraightLine) {
  std::vector<CalibrationPoint> points;
  for (const auto& row : ReferenceTable)
    points.push_back({row.twoTheta - 0.05, row.twoTheta, 1e-4});
  CalibrationCoefficients c;
  FitResult r;
  std::ostringstream console;
  FitAndReport(points, c, ReportPath(), console, &r);
  EXPECT_NEAR(r.intercept, 0.05, 1e-9);
  EXPECT_NEAR(r.slope, 1.0, 1e-10);
  EXPECT_NEAR(r.a1, 0.05, 1e-6);
  if (r.chiSquare2 < r.chiSquare3) {
    EXPECT_EQ(c.a3, 0.0);
    EXPECT_EQ(c.a1, r.intercept);
  } else {
    EXPECT_EQ(c.a3, r.a3);
  }
}

TEST_F(FitCalibrationTest, ReferenceReadingsGiveTheIdentity) {
  std::vector<CalibrationPoint> points;
  for (const auto& row : ReferenceTable)
    points.push_back({row.twoTheta, row.twoTheta, 1e-4});
  CalibrationCoefficients c;
  std::ostringstream console;
  FitAndReport(points, c, ReportPath(), console);
  EXPECT_NEAR(c.a1, 0.0, 1e-8);
  EXPECT_NEAR(c.a2, 1.0, 1e-9);
  EXPECT_NEAR(c.a3, 0.0, 1e-11);
}

TEST_F(FitCalibrationTest, AnUnwritableReportIsSaidOnTheConsoleAndTheFitGoesOn) {
  CalibrationCoefficients c;
  std::ostringstream console;
  const std::string path = (folder_ / "missing" / "fitdata.txt").string();
  EXPECT_EQ(FitAndReport(kSixReadings, c, path, console), -1);
  EXPECT_EQ(console.str(), "ERROE: Cannot open an output file!\n");
  EXPECT_EQ(c.a1, -0.006215050010224119);
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(FitReport, WritesNonFiniteValuesAsPrintfDoes) {
  FitResult r;
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  r.a1 = nan;
  r.a2 = -nan;
  r.a3 = inf;
  r.intercept = -inf;
  r.delta3 = 1e20;
  const std::string report = FormatFitReport(r);
  for (const char* line :
       {"       a1:                 nan\n", "       a2:                -nan\n",
        "       a3:                 inf\n", "    a2by2:                -inf\n",
        "delta3by3:100000000000000000000.000000\n", "chisquare3by3:            0.000000\n",
        "     m211:            0.000000\n"}) {
    EXPECT_NE(report.find(line), std::string::npos) << line << report;
  }
}

// An independent solution of the same least-squares problem: long double Gaussian
// elimination on abscissas centred and scaled to [-1, 1], which keeps the system well
// conditioned. The fit's curve must agree at every two-theta of the film to 1e-6 degree,
// three orders below what a film can be read to; the normal equations in raw x have a
// condition number near 1e8, so double rounding leaves about 1e-8 there.
std::array<long double, 3> ReferenceQuadratic(const std::vector<CalibrationPoint>& points) {
  const long double centre = 60.0L, scale = 30.0L;
  long double m[3][4] = {};
  for (const auto& p : points) {
    const long double t = (p.x - centre) / scale;
    const long double basis[3] = {1.0L, t, t * t};
    for (int i = 0; i < 3; ++i) {
      for (int j = 0; j < 3; ++j)
        m[i][j] += basis[i] * basis[j];
      m[i][3] += basis[i] * p.y;
    }
  }
  for (int col = 0; col < 3; ++col) {
    for (int row = col + 1; row < 3; ++row) {
      const long double f = m[row][col] / m[col][col];
      for (int k = col; k < 4; ++k)
        m[row][k] -= f * m[col][k];
    }
  }
  long double b[3];
  for (int row = 2; row >= 0; --row) {
    long double v = m[row][3];
    for (int k = row + 1; k < 3; ++k)
      v -= m[row][k] * b[k];
    b[row] = v / m[row][row];
  }
  return {b[0], b[1], b[2]};  // in t = (x - centre) / scale
}

TEST_F(FitCalibrationTest, QuadraticAgreesWithAnIndependentSolution) {
  std::mt19937 random(42);
  std::uniform_real_distribution<double> offset(-0.3, 0.3);
  for (int trial = 0; trial < 200; ++trial) {
    std::vector<CalibrationPoint> points;
    for (std::size_t row = 0; row < ReferenceTable.size(); ++row) {
      if (trial % 3 == 0 && row == 2)
        continue;  // five-point sets too
      const double y = ReferenceTable[row].twoTheta;
      points.push_back({y + offset(random), y, 1e-4});
    }
    CalibrationCoefficients c;
    FitResult r;
    std::ostringstream console;
    FitAndReport(points, c, ReportPath(), console, &r);
    const auto b = ReferenceQuadratic(points);
    for (double x = 20.0; x <= 95.0; x += 5.0) {
      const long double t = (x - 60.0L) / 30.0L;
      const long double expected = b[0] + b[1] * t + b[2] * t * t;
      const double fitted = r.a1 + r.a2 * x + r.a3 * x * x;
      ASSERT_NEAR(fitted, static_cast<double>(expected), 1e-6) << "trial " << trial << " x " << x;
    }
  }
}

}  // namespace
}  // namespace pellum
