// The quality figures against an independent computation: long double normal equations on
// the raw readings, solved by Gauss-Jordan elimination, on random reading sets.
#include "calib/fit_quality.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <span>
#include <sstream>
#include <vector>

#include "calib/accurate_hypot.h"
#include "calib/calibration_record.h"
#include "calib/calibration_record_check.h"
#include "calib/calibration_summary.h"
#include "calib/fit.h"
#include "calib/fit_model.h"
#include "calib/reading_offsets.h"
#include "calib/reference_table.h"

namespace pellum {
namespace {

using Long = long double;

// (G^T W G)^-1 for the model's p columns (1, x, x^2), by Gauss-Jordan with pivoting.
std::vector<std::vector<Long>> InverseNormal(const std::vector<CalibrationPoint>& points, int p) {
  std::vector<std::vector<Long>> m(p, std::vector<Long>(2 * p, 0.0L));
  for (const CalibrationPoint& pt : points) {
    const Long w = 1.0L / (Long(pt.sigma) * pt.sigma);
    const Long g[3] = {1.0L, Long(pt.x), Long(pt.x) * pt.x};
    for (int i = 0; i < p; ++i)
      for (int j = 0; j < p; ++j)
        m[i][j] += w * g[i] * g[j];
  }
  for (int i = 0; i < p; ++i)
    m[i][p + i] = 1.0L;
  for (int col = 0; col < p; ++col) {
    int pivot = col;
    for (int r = col + 1; r < p; ++r)
      if (std::fabs(m[r][col]) > std::fabs(m[pivot][col]))
        pivot = r;
    std::swap(m[col], m[pivot]);
    const Long d = m[col][col];
    for (Long& v : m[col])
      v /= d;
    for (int r = 0; r < p; ++r) {
      if (r == col)
        continue;
      const Long f = m[r][col];
      for (int c = 0; c < 2 * p; ++c)
        m[r][c] -= f * m[col][c];
    }
  }
  std::vector<std::vector<Long>> inverse(p, std::vector<Long>(p));
  for (int i = 0; i < p; ++i)
    for (int j = 0; j < p; ++j)
      inverse[i][j] = m[i][p + j];
  return inverse;
}

std::vector<CalibrationPoint> RandomReadings(std::mt19937_64& random) {
  std::uniform_real_distribution<double> shift(-0.4, 0.4), scale(-0.004, 0.004), noise(-0.01, 0.01);
  std::uniform_int_distribution<int> mask(0, 63);
  const double s = shift(random), k = scale(random);
  std::vector<CalibrationPoint> points;
  while (points.size() < 2) {
    points.clear();
    const int used = mask(random);
    for (std::size_t i = 0; i < ReferenceTable.size(); ++i) {
      if ((used >> i) & 1) {
        const double actual = ReferenceTable[i].twoTheta;
        // Readings as typed: rounded to a thousandth of a degree.
        const double reading =
            std::round((actual + s + k * (actual - 50.0) + noise(random)) * 1000.0) / 1000.0;
        points.push_back({reading, actual, 0.0001});
      }
    }
  }
  return points;
}

TEST(FitQuality, AgreesWithAnIndependentComputationOnRandomSets) {
  std::mt19937_64 random(20261209);
  for (int trial = 0; trial < 400; ++trial) {
    const std::vector<CalibrationPoint> points = RandomReadings(random);
    const CalibrationFit fit = FitCalibration(points);
    const bool line = PrefersStraightLine(fit.result);
    const FitQuality q = AssessFit(points, fit.coefficients, line);
    const CalibrationCoefficients& c = fit.coefficients;
    const int p = line ? 2 : 3;
    const std::size_t n = points.size();
    ASSERT_EQ(q.rows.size(), n);
    Long chi = 0.0L, sumSquares = 0.0L, largest = 0.0L, low = 1e9L, high = -1e9L;
    for (std::size_t i = 0; i < n; ++i) {
      const Long x = points[i].x;
      const Long calibrated = Long(c.a1) + Long(c.a2) * x + Long(c.a3) * x * x;
      const Long residual = Long(points[i].y) - calibrated;
      EXPECT_NEAR(q.rows[i].calibrated, double(calibrated), 1e-9) << trial;
      EXPECT_NEAR(q.rows[i].residual, double(residual), 1e-9) << trial;
      EXPECT_EQ(q.rows[i].hkl, ReflectionHkl(points[i].y));
      chi += residual * residual / (Long(points[i].sigma) * points[i].sigma);
      sumSquares += residual * residual;
      largest = std::max(largest, std::fabs(residual));
      low = std::min(low, x);
      high = std::max(high, x);
    }
    EXPECT_NEAR(q.rms, double(std::sqrt(sumSquares / n)), 1e-9) << trial;
    EXPECT_NEAR(q.maxAbsResidual, double(largest), 1e-9) << trial;
    EXPECT_NEAR(std::fabs(q.rows[q.maxRow].residual), double(largest), 1e-12) << trial;
    EXPECT_EQ(q.rangeLow, double(low));
    EXPECT_EQ(q.rangeHigh, double(high));
    ASSERT_EQ(q.uncertaintiesDefined, n > static_cast<std::size_t>(p)) << trial;
    if (!q.uncertaintiesDefined)
      continue;
    const auto inverse = InverseNormal(points, p);
    const Long reduced = chi / Long(n - p);
    for (int i = 0; i < p; ++i) {
      const double expected = double(std::sqrt(inverse[i][i] * reduced));
      EXPECT_NEAR(q.su[i], expected, 1e-6 * expected) << trial << " su_a" << i + 1;
      for (int j = 0; j < p; ++j) {
        const double cov = double(inverse[i][j] * reduced);
        EXPECT_NEAR(q.covariance[i * 3 + j], cov, 1e-6 * std::fabs(cov) + 1e-30) << trial;
      }
    }
    // The correction's su anywhere on the film, from the full covariance.
    for (double x : {20.0, 45.0, 70.0, 95.0}) {
      const Long g[3] = {1.0L, x, Long(x) * x};
      Long variance = 0.0L;
      for (int i = 0; i < p; ++i)
        for (int j = 0; j < p; ++j)
          variance += g[i] * inverse[i][j] * g[j] * reduced;
      const double expected = double(std::sqrt(variance));
      EXPECT_NEAR(CorrectionUncertainty(q, x), expected, 1e-6 * expected) << trial << " at " << x;
    }
  }
}

// The norm behind the uncertainties, correctly rounded on every system: the last three are
// cases the Windows C runtime's hypot gets one bit wrong.
TEST(AccurateHypot, IsCorrectlyRoundedWithoutOverflow) {
  const double inf = HUGE_VAL;
  struct Case {
    double x, y, hypot;
  };
  const Case cases[] = {
      {3.0, 4.0, 5.0},
      {-3.0, 4.0, 5.0},
      {0.0, -2.5, 2.5},
      {1e300, 1e300, 1.4142135623730951e300},
      {3e-310, 4e-310, 5e-310},
      {inf, std::nan(""), inf},
      {0x1.56b965bd52146p+0, 0x1.5d33b7215ef9cp+0, 0x1.e9498399b3e91p+0},
      {0x1.3fb73addb013ap+1, 0x1.759636431ce16p+1, 0x1.ebb773ea9de61p+1},
      {0x1.695168f71b83dp+2, 0x1.36c1bceb8320ep+11, 0x1.36c1f16ee0b43p+11},
  };
  for (const Case& c : cases)
    EXPECT_EQ(AccurateHypot(c.x, c.y), c.hypot) << c.x << ", " << c.y;
  EXPECT_TRUE(std::isnan(AccurateHypot(1.0, std::nan(""))));
}

TEST(FitQuality, StraightLineAndExactFitsHaveNoUncertainties) {
  const std::vector<CalibrationPoint> two = {{28.45, 28.442, 1e-4}, {88.04, 88.03, 1e-4}};
  const CalibrationFit fit = FitCalibration(two);
  const FitQuality q = AssessFit(two, fit.coefficients, PrefersStraightLine(fit.result));
  EXPECT_TRUE(q.straightLine);
  EXPECT_FALSE(q.uncertaintiesDefined);
  EXPECT_TRUE(std::isnan(CorrectionUncertainty(q, 50.0)));
  EXPECT_EQ(q.rows[0].hkl, "1 1 1");
  EXPECT_EQ(q.rows[1].hkl, "4 2 2");
}

TEST(ReadingOffsets, FarReadingsAreNamedWithTheirDifference) {
  struct Case {
    ParsedEntries values;
    double maxOffset;
    std::vector<std::size_t> far;
  };
  const Case cases[] = {
      {{28.45, 47.31, 56.13, 69.14, 76.39, 88.04}, 1.0, {}},
      {{28.45, 47.31, 65.021, -1, -1, -1}, 1.0, {2}},
      {{28.45, 47.31, 65.021, -1, -1, -1}, 10.0, {}},
      // Within the limit is accepted; far below is far.
      {{29.44, 46.31, -1, -1, -1, -1}, 1.0, {}},
      {{0.0, 1e-320, -1, -1, -1, -1}, 1.0, {0, 1}},
  };
  for (const Case& c : cases) {
    std::vector<std::size_t> found;
    for (const FarReading& r : FindFarReadings(c.values, c.maxOffset))
      found.push_back(r.slot);
    EXPECT_EQ(found, c.far) << c.values[0] << " " << c.maxOffset;
  }
  EXPECT_EQ(DescribeFarReadings(FindFarReadings({28.45, 47.31, 55.0, -1, -1, -1}, 0.5), 0.5),
            "Readings more than 0.5 degrees from the actual 2 theta of their reflection:\n"
            "3 1 1: reading 55, actual 56.122, difference -1.122");
}

TEST(CalibrationRecord, KeepsEveryBitAndRefusesWhatIsNotOne) {
  const std::vector<CalibrationPoint> six = {{28.45, 28.442, 1e-4}, {47.31, 47.303, 1e-4},
                                             {56.13, 56.122, 1e-4}, {69.14, 69.13, 1e-4},
                                             {76.39, 76.376, 1e-4}, {88.04, 88.03, 1e-4}};
  const CalibrationFit fit = FitCalibration(six);
  const FitQuality q = AssessFit(six, fit.coefficients, false);
  std::ostringstream written;
  WriteCalibrationRecord({false, fit.coefficients, true, q.covariance, six}, written);
  CalibrationRecord back;
  std::string error;
  std::istringstream in(written.str());
  ASSERT_TRUE(ReadCalibrationRecord(in, back, error)) << error;
  EXPECT_EQ(back.coefficients.a1, fit.coefficients.a1);
  EXPECT_EQ(back.coefficients.a2, fit.coefficients.a2);
  EXPECT_EQ(back.coefficients.a3, fit.coefficients.a3);
  EXPECT_EQ(back.coefficients.delta, fit.coefficients.delta);
  EXPECT_EQ(back.covariance, q.covariance);
  ASSERT_EQ(back.points.size(), 6u);
  EXPECT_EQ(back.points[2].x, 56.13);
  EXPECT_EQ(back.rule, ModelRule::ChiSquare);
  EXPECT_EQ(written.str().find("rule"), std::string::npos) << "the default's record as before";
  // Byte for byte the record docs/file-formats.md shows, as every earlier Pellum wrote it.
  EXPECT_EQ(written.str(),
            "# Pellum calibration: Actual 2 theta = a1 + a2 x + a3 x^2, x the experimental 2 "
            "theta\npellum-calibration 1\nmodel quadratic\na1 -0.006215050010224119\n"
            "a2 0.9999774605577304\na3 -4.6702307825325454e-07\ndelta 1.098727098032948e+34\n"
            "covariance 7.702493457784259e-05 -2.7427577890267484e-06 2.2231595578319494e-08 "
            "1.0312118348662771e-07 -8.642416483901079e-10 7.427476712371366e-12\n"
            "point 111 28.45 28.442\npoint 220 47.31 47.303\npoint 311 56.13 56.122\n"
            "point 400 69.14 69.13\npoint 331 76.39 76.376\npoint 422 88.04 88.03\n"
            "range 28.45 88.04\n");

  // A rule other than the report's is named, and read back.
  std::ostringstream chosen;
  WriteCalibrationRecord({true, {1.0, 0.01, 0.999, 0.0}, false, {}, six, ModelRule::Significant},
                         chosen);
  EXPECT_NE(chosen.str().find("model straight-line\nrule significant\na1 "), std::string::npos);
  std::istringstream chosenIn(chosen.str());
  ASSERT_TRUE(ReadCalibrationRecord(chosenIn, back, error)) << error;
  EXPECT_EQ(back.rule, ModelRule::Significant);

  const std::string head = "pellum-calibration 1\nmodel quadratic\n";
  const std::string body = "a1 0.1\na2 1\na3 0\npoint 111 28.45 28.442\npoint 422 88 88.03\n";
  struct Case {
    std::string text;
    const char* error;  // "" when the record is taken
  };
  const Case cases[] = {
      {head + body, ""},
      {"# a note\r\n\r\n" + head + body, ""},
      {"\xEF\xBB\xBF" + head + body, ""},
      {"pellum-calibration 1\rmodel quadratic\ra1 0.1\ra2 1\ra3 0\rpoint 111 28.45 28.442\r"
       "point 422 88 88.03",
       ""},
      {"pellum-calibration 2\n" + body, "not a Pellum calibration record"},
      {"", "not a Pellum calibration record"},
      {head + "a1 nan\n" + body, "a1 is not a finite number"},
      {head + "a1 1e999\n" + body, "a1 is not a finite number"},
      {head + "a2 1x\n" + body, "a2 is not a finite number"},
      {head + body + "a1 0.2\n", "\"a1\" is given twice"},
      {head + "a2 1\na3 0\npoint 111 28.45 28.442\npoint 422 88 88.03\n", "no a1 line"},
      {head + body + "point 111 28.45 28.4\n",
       "a point is not \"point HKL READING ACTUAL\" of a silicon reflection"},
      {head + "a1 0.1\na2 1\na3 0\npoint 111 28.45 28.442\n", "fewer than two points"},
      {"pellum-calibration 1\nmodel straight-line\na1 0.1\na2 1\na3 1\n"
       "point 111 28.45 28.442\npoint 422 88 88.03\n",
       "a straight line with a3 not 0"},
      {head + body + "offset 3\n", "unknown line \"offset\""},
      {head + "rule significant\n" + body, ""},
      {head + "rule chi-square\n" + body, ""},
      {head + "rule best\n" + body, "the rule is none of chi-square, line, quadratic, significant"},
      {head + "rule line\nrule line\n" + body, "\"rule\" is given twice"},
      {head + body + std::string(kMaxRecordBytes, '#'), "longer than a calibration record can be"},
  };
  // Another reference: named before the points, whose hkl are its lines'.
  const std::string ref = "standard si-640e 5.431179\nwavelength 2.289726 cr\n";
  const std::string refBody =
      "a1 0.1\na2 1\na3 0\npoint 111 42.84 42.82832231342157\npoint 1,0,10 88 88.1\n";
  const Case referenceCases[] = {
      {head + ref + refBody, ""},
      {head + "standard al2o3-676a 4.759091 12.991779\nwavelength 1.6\n" + refBody, ""},
      {head + "standard si-640e 5.431179\n" + refBody,
       "a standard needs its wavelength, and a wavelength its standard"},
      {head + "wavelength 2.289726 cr\n" + body,
       "a standard needs its wavelength, and a wavelength its standard"},
      {head + "a1 0.1\na2 1\na3 0\npoint 111 28.45 28.442\n" + ref,
       "the standard and the wavelength come before the points"},
      {head + "standard si-640e\nwavelength 2.289726 cr\n" + refBody,
       "the standard is not \"standard NAME A [C]\" with a positive cell"},
      {head + "standard si-640e -5.4\nwavelength 2.289726 cr\n" + refBody,
       "the standard is not \"standard NAME A [C]\" with a positive cell"},
      {head + "standard si-640e 5.431179\nwavelength 0 cr\n" + refBody,
       "the wavelength is not \"wavelength LAMBDA [RADIATION]\" with a positive LAMBDA"},
      {head + ref + refBody + "point 1,0 60 60.1\n",
       "a point is not \"point HKL READING ACTUAL\" of a line of the standard"},
      {head + ref + refBody + "point 1111 60 60.1\n",
       "a point is not \"point HKL READING ACTUAL\" of a line of the standard"},
      {head + ref + refBody + "point 1,x,0 60 60.1\n",
       "a point is not \"point HKL READING ACTUAL\" of a line of the standard"},
      {head + ref + ref + refBody, "\"standard\" is given twice"},
  };
  for (std::span<const Case> table :
       {std::span<const Case>(cases), std::span<const Case>(referenceCases)}) {
    for (const Case& c : table) {
      std::istringstream text(c.text);
      error.clear();
      EXPECT_EQ(ReadCalibrationRecord(text, back, error), *c.error == '\0') << c.text.substr(0, 80);
      EXPECT_EQ(error, c.error) << c.text.substr(0, 80);
    }
  }
}

// A record of another reference names it and each point's line, and reads back to the bit;
// its hkl stay one field whatever their digits.
TEST(CalibrationRecord, NamesAnotherReferenceAndItsLines) {
  const struct {
    const char* hkl;
    const char* field;
  } hkls[] = {{"3 1 1", "311"},
              {"1 0 10", "1,0,10"},
              {"2 -1 0", "2,-1,0"},
              {"10 0 0", "10,0,0"},
              {"0 0 12", "0,0,12"}};
  for (const auto& h : hkls) {
    EXPECT_EQ(HklField(h.hkl), h.field);
    EXPECT_EQ(HklOfField(h.field), h.hkl);
  }
  for (const char* bad : {"31", "3111", "1,1", "1,,1", "a,b,c", "1,2,3,4", "-11", "1,-,2"})
    EXPECT_EQ(HklOfField(bad), "") << bad;

  const std::vector<CalibrationPoint> points = {
      {25.6, 25.573, 1e-4}, {52.56, 52.551, 1e-4}, {76.9, 76.87, 1e-4}};
  const CalibrationFit fit = FitCalibration(points);
  CalibrationRecord record{false, fit.coefficients, false, {}, points};
  record.reference = {"al2o3-676a", "corundum SRM 676a", "R -3 c:H", 4.759091, 12.991779, "", "",
                      1.5405929};
  record.hkls = {"0 1 2", "0 2 4", "1 0 10"};
  std::ostringstream written;
  WriteCalibrationRecord(record, written);
  EXPECT_NE(written.str().find("pellum-calibration 1\nstandard al2o3-676a 4.759091 12.991779\n"
                               "wavelength 1.5405929\nmodel quadratic\n"),
            std::string::npos)
      << written.str();
  EXPECT_NE(written.str().find("\npoint 1,0,10 76.9 76.87\n"), std::string::npos);
  CalibrationRecord back;
  std::string error;
  std::istringstream in(written.str());
  ASSERT_TRUE(ReadCalibrationRecord(in, back, error)) << error;
  EXPECT_EQ(back.reference.standard, "al2o3-676a");
  EXPECT_EQ(back.reference.a, 4.759091);
  EXPECT_EQ(back.reference.c, 12.991779);
  EXPECT_EQ(back.reference.radiation, "");
  EXPECT_EQ(back.reference.wavelength, 1.5405929);
  EXPECT_EQ(back.hkls, record.hkls);
  ASSERT_EQ(back.points.size(), 3u);
  EXPECT_EQ(back.points[2].y, 76.87);

  // Checked against the lines computed for it: each point on its line exactly, in order.
  const std::vector<RecordReferenceLine> lines = {
      {"0 1 2", 25.573}, {"1 0 4", 35.15}, {"0 2 4", 52.551}, {"1 0 10", 76.87}};
  EXPECT_EQ(CheckCalibrationRecord(back, 1.0, lines), "");
  EXPECT_NE(CheckCalibrationRecord(back, 1.0), "") << "not against the built-in table";
  struct Case {
    std::size_t point;
    std::string hkl;
    double x, y;
    std::string reason;
  };
  const std::vector<Case> cases = {
      {2, "1 0 10", 76.9, 76.871, "the actual two-theta of 1 0 10 is not its line's, 76.87"},
      {2, "0 0 3", 76.9, 76.87, "the standard has no line 0 0 3 below 100 degrees"},
      {1, "0 1 2", 52.56, 25.573, "the reflection 0 1 2 is given twice"},
      {2, "1 0 4", 35.2, 35.15, "the points are not in the order of the standard's lines"},
      {1, "0 2 4", -1, 52.551, "the reading of 0 2 4 is negative"},
      {2, "1 0 10", 78.0, 76.87,
       "Readings more than 1 degree from the actual 2 theta of their reflection:\n"
       "1 0 10: reading 78, actual 76.870, difference +1.130"},
      {2, "1 0 10", 76.95, 76.87, "The record's coefficients do not follow from its readings"},
  };
  for (const Case& c : cases) {
    CalibrationRecord edited = back;
    edited.points[c.point].x = c.x;
    edited.points[c.point].y = c.y;
    edited.hkls[c.point] = c.hkl;
    EXPECT_EQ(CheckCalibrationRecord(edited, 1.0, lines).rfind(c.reason, 0), 0u)
        << c.reason << " / " << CheckCalibrationRecord(edited, 1.0, lines);
  }
}

TEST(CalibrationSummary, NamesTheModelAndMarksTheLargestResidual) {
  const std::vector<CalibrationPoint> three = {
      {28.45, 28.442, 1e-4}, {56.13, 56.122, 1e-4}, {88.04, 88.03, 1e-4}};
  const CalibrationFit fit = FitCalibration(three);
  const FitQuality q = AssessFit(three, fit.coefficients, PrefersStraightLine(fit.result));
  const std::string text = DescribeCalibration(fit.coefficients, q);
  EXPECT_EQ(text.substr(0, text.find('\n')),
            q.straightLine ? "Model: straight line" : "Model: quadratic");
  EXPECT_EQ(text.find(" *\n"), text.find('\n', text.find(q.rows[q.maxRow].hkl)) - 2);
  EXPECT_NE(text.find("Calibrated range: 28.45 to 88.04 degrees\n"), std::string::npos);

  // The panel's brief form: value(su), the rule, and the rule of the next fit.
  const std::string brief =
      DescribeCalibrationBriefly(fit.coefficients, q, {ModelRule::Line, {}, ModelRule::Quadratic});
  EXPECT_TRUE(brief.starts_with(q.straightLine ? "Model: straight line, by the rule line\n"
                                               : "Model: quadratic, by the rule line\n"));
  EXPECT_NE(brief.find("The next fit follows the rule quadratic.\n"), std::string::npos);
  EXPECT_EQ(brief.find("a3 significant"), std::string::npos) << "three readings test nothing";
  EXPECT_EQ(brief.substr(brief.find("\nhkl")), text.substr(text.find("\nhkl")));
}

// Another reference's hkl of two digits widens the hkl column, header and all, so that the
// numbers stay in their columns; an unknown line is "?".
TEST(CalibrationSummary, TheHklColumnHoldsItsWidestEntry) {
  const std::vector<CalibrationPoint> points = {
      {25.6, 25.576, 1e-4}, {76.9, 76.87, 1e-4}, {88.04, 88.03, 1e-4}};
  const CalibrationFit fit = FitCalibration(points);
  FitQuality q = AssessFit(points, fit.coefficients, true);
  struct Case {
    std::vector<std::string> hkls;
    std::string header, firstRow;
  };
  const std::vector<Case> cases = {
      {{"0 1 2", "1 0 10", "1 1 12"}, "hkl     reading", "0 1 2   25.6000"},
      {{"0 1 2", "2 0 10", "10 1 10"}, "hkl      reading", "0 1 2    25.6000"},
      {{"", "1 1 1", "2 2 0"}, "hkl    reading", "?      25.6000"},
  };
  for (const Case& c : cases) {
    for (std::size_t i = 0; i < q.rows.size(); ++i)
      q.rows[i].hkl = c.hkls[i];
    const std::string text = DescribeCalibration(fit.coefficients, q);
    const std::size_t header = text.find("hkl");
    ASSERT_NE(header, std::string::npos);
    EXPECT_EQ(text.substr(header, c.header.size()), c.header);
    const std::size_t row = text.find('\n', header) + 1;
    EXPECT_EQ(text.substr(row, c.firstRow.size()), c.firstRow);
    // Every row's reading ends where the header's "reading" ends.
    const std::size_t readingEnd = c.header.size();
    for (std::size_t at = row, i = 0; i < q.rows.size(); ++i, at = text.find('\n', at) + 1)
      EXPECT_EQ(text[at + readingEnd - 1], '0') << c.hkls[i];
  }
}

TEST(ValueWithSu, TheSuInTwoDigitsOfTheValuesLastPlace) {
  const struct {
    double value, su;
    const char* text;
  } cases[] = {
      {0.04907239, 0.00013253, "0.04907(13)"},
      {1.001033, 0.0000485905, "1.001033(49)"},
      {-0.0062151, 0.0087764, "-0.0062(88)"},
      {0.123, 0.0996, "0.12(10)"},
      {1234.5, 56, "1234(56)"},
      {12345, 456, "12350(460)"},
      {0.1234567891, NAN, "0.1234568"},
      {0.5, 0.0, "0.5"},
      {-4.67e-7, 2.725e-6, "-0.0000005(27)"},
      {NAN, 0.1, "nan"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ValueWithSu(c.value, c.su), c.text) << c.value << " " << c.su;
}

}  // namespace
}  // namespace pellum

namespace pellum {
namespace {

// Weighted least squares of degree p - 1 in long double, by the normal equations on the raw
// readings; returns the chi-square.
Long IndependentChiSquare(const std::vector<CalibrationPoint>& points, int p) {
  const auto inverse = InverseNormal(points, p);
  Long rhs[3] = {0.0L, 0.0L, 0.0L};
  for (const CalibrationPoint& pt : points) {
    const Long w = 1.0L / (Long(pt.sigma) * pt.sigma);
    const Long g[3] = {1.0L, Long(pt.x), Long(pt.x) * pt.x};
    for (int i = 0; i < p; ++i)
      rhs[i] += w * g[i] * pt.y;
  }
  Long a[3] = {0.0L, 0.0L, 0.0L};
  for (int i = 0; i < p; ++i)
    for (int j = 0; j < p; ++j)
      a[i] += inverse[i][j] * rhs[j];
  Long chi = 0.0L;
  for (const CalibrationPoint& pt : points) {
    const Long x = pt.x;
    const Long r = (Long(pt.y) - a[0] - a[1] * x - (p == 3 ? a[2] * x * x : 0.0L)) / pt.sigma;
    chi += r * r;
  }
  return chi;
}

// Student's t distribution function from 0 to t, by Simpson's rule on its density.
Long StudentHalfProbability(Long t, int v) {
  const Long norm = std::exp(std::lgamma((v + 1) / 2.0L) - std::lgamma(v / 2.0L)) /
                    std::sqrt(v * 3.14159265358979323846L);
  const int steps = 20000;
  const Long h = t / steps;
  Long sum = 0.0L;
  for (int k = 0; k <= steps; ++k) {
    const Long x = k * h;
    const Long f = norm * std::pow(1.0L + x * x / v, -(v + 1) / 2.0L);
    sum += f * (k == 0 || k == steps ? 1 : (k % 2 == 1 ? 4 : 2));
  }
  return sum * h / 3.0L;
}

TEST(FitModel, StudentQuantileHoldsTwoAndAHalfPercentInEachTail) {
  for (int v : {1, 2, 3, 4, 5, 6, 10, 11, 15, 30, 100}) {
    EXPECT_NEAR(double(StudentHalfProbability(StudentT975(v), v)), 0.475, 2e-5) << v;
  }
  EXPECT_TRUE(std::isnan(StudentT975(0)));
}

// The t test of a3 is the F-test of the two fits' chi-squares: F = (chi2 line - chi2
// quadratic) / (chi2 quadratic / (n - 3)) equals t^2.
TEST(FitModel, TheTTestOfA3IsTheFTestOfTheTwoChiSquares) {
  std::mt19937_64 random(24);
  int tested = 0, significant = 0;
  for (int trial = 0; trial < 400; ++trial) {
    std::vector<CalibrationPoint> points = RandomReadings(random);
    const CalibrationFit fit = FitCalibration(points);
    const QuadraticTermTest term = TestQuadraticTerm(points, fit.result);
    ASSERT_EQ(term.defined, points.size() > 3) << trial;
    if (!term.defined)
      continue;
    const Long chi3 = IndependentChiSquare(points, 3);
    const Long chi2 = IndependentChiSquare(points, 2);
    const int v = static_cast<int>(points.size()) - 3;
    const double f = double((chi2 - chi3) / (chi3 / v));
    EXPECT_EQ(term.degreesOfFreedom, v);
    EXPECT_NEAR(term.t * term.t, f, 1e-5 * f + 1e-9) << trial;
    // Away from the boundary, both say the same.
    const double critical = StudentT975(v) * StudentT975(v);
    if (std::fabs(f - critical) > 1e-3 * critical) {
      EXPECT_EQ(term.significant, f > critical) << trial;
    }
    ++tested;
    significant += term.significant ? 1 : 0;
  }
  EXPECT_GT(tested, 100);
  EXPECT_GT(significant, 0);  // the random sets hold both kinds
  EXPECT_LT(significant, tested);
}

TEST(FitModel, EachRuleChoosesAsNamed) {
  // The example film: its a3 is not significant, and the chi-square rule keeps it anyway.
  const std::vector<CalibrationPoint> film = {{28.45, 28.442, 1e-4}, {47.31, 47.303, 1e-4},
                                              {56.13, 56.122, 1e-4}, {69.14, 69.13, 1e-4},
                                              {76.39, 76.376, 1e-4}, {88.04, 88.03, 1e-4}};
  // Readings on a curved scale: a3 = 2e-5, far above what the scatter allows.
  std::vector<CalibrationPoint> curved;
  for (const ReferenceReflection& r : ReferenceTable) {
    const double x = r.twoTheta;
    curved.push_back({x, x + 0.01 + 2e-5 * x * x + (curved.size() % 2 ? 2e-4 : -2e-4), 1e-4});
  }
  // Three readings: no degree of freedom is left to test a3 with.
  const std::vector<CalibrationPoint> three(film.begin(), film.begin() + 3);
  const struct {
    const char* name;
    const std::vector<CalibrationPoint>& points;
    ModelRule rule;
    bool straightLine;
    bool defined;
    bool significant;
  } cases[] = {
      {"film chi-square", film, ModelRule::ChiSquare, false, true, false},
      {"film line", film, ModelRule::Line, true, true, false},
      {"film quadratic", film, ModelRule::Quadratic, false, true, false},
      {"film significant", film, ModelRule::Significant, true, true, false},
      {"curved significant", curved, ModelRule::Significant, false, true, true},
      {"curved line", curved, ModelRule::Line, true, true, true},
      {"three significant", three, ModelRule::Significant, true, false, false},
      {"three quadratic", three, ModelRule::Quadratic, false, false, false},
  };
  for (const auto& c : cases) {
    const CalibrationFit fit = FitCalibration(c.points);
    const QuadraticTermTest term = TestQuadraticTerm(c.points, fit.result);
    EXPECT_EQ(term.defined, c.defined) << c.name;
    EXPECT_EQ(term.significant, c.significant) << c.name;
    const bool line = RuleChoosesStraightLine(c.rule, fit.result, term);
    EXPECT_EQ(line, c.straightLine) << c.name;
    const CalibrationCoefficients k = ModelCoefficients(fit.result, line);
    EXPECT_EQ(k.a3, line ? 0.0 : fit.result.a3) << c.name;
    EXPECT_EQ(k.delta, line ? fit.result.delta2 : fit.result.delta3) << c.name;
    if (c.rule == ModelRule::ChiSquare) {
      EXPECT_EQ(k.a1, fit.coefficients.a1) << "the default is the report's rule";
      EXPECT_EQ(k.a3, fit.coefficients.a3);
    }
  }
  EXPECT_EQ(ParseModelRule("significant"), ModelRule::Significant);
  EXPECT_EQ(ParseModelRule("Line"), std::nullopt);
  for (ModelRule r :
       {ModelRule::ChiSquare, ModelRule::Line, ModelRule::Quadratic, ModelRule::Significant})
    EXPECT_EQ(ParseModelRule(ModelRuleName(r)), r);
}

}  // namespace
}  // namespace pellum
