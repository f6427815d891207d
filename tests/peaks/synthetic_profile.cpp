#include "tests/peaks/synthetic_profile.h"

#include <cmath>
#include <random>

#include "calib/fixed_notation.h"
#include "calib/reference_table.h"

namespace pellum::testing {

double FilmPosition(std::size_t k, double shift, double scale) {
  const double t = ReferenceTable[k].twoTheta;
  return t + shift + scale * (t - 60.0);
}

std::vector<SyntheticPeak> SiliconPeaks(double shift, double scale, double height, double fwhm,
                                        double eta) {
  std::vector<SyntheticPeak> peaks;
  for (std::size_t k = 0; k < ReferenceTable.size(); ++k) {
    peaks.push_back({FilmPosition(k, shift, scale), height, fwhm, eta});
  }
  return peaks;
}

std::vector<SyntheticPeak> FluoritePeaks(double cellRatio, double height, double fwhm,
                                         double extraShare) {
  struct Line {
    int squares;
    double share;  // of 1 1 1; < 0 for the lines silicon lacks
  };
  const Line lines[] = {{3, 1.0},  {4, -1.0}, {8, 0.9},   {11, 0.3}, {12, -0.5},
                        {16, 0.1}, {19, 0.1}, {20, -0.5}, {24, 0.15}};
  const double degree = 3.14159265358979323846 / 180.0;
  const double sin111 = std::sin(0.5 * ReferenceTable[0].twoTheta * degree);
  std::vector<SyntheticPeak> peaks;
  for (const Line& line : lines) {
    const double s = sin111 * std::sqrt(line.squares / 3.0) / cellRatio;
    const double share = line.share < 0.0 ? -line.share * extraShare : line.share;
    peaks.push_back({2.0 * std::asin(s) / degree, share * height, fwhm});
  }
  return peaks;
}

namespace {

std::vector<SyntheticPeak> Scaled(std::initializer_list<std::pair<double, double>> lines,
                                  double height, double fwhm) {
  std::vector<SyntheticPeak> peaks;
  for (const auto& [at, share] : lines) {
    peaks.push_back({at, share / 100.0 * height, fwhm});
  }
  return peaks;
}

}  // namespace

std::vector<SyntheticPeak> QuartzPeaks(double height, double fwhm) {
  return Scaled(
      {{20.86, 22}, {26.64, 100}, {36.54, 8}, {39.46, 8}, {40.29, 4}, {42.45, 6}, {45.79, 4},
       {50.14, 13}, {54.87, 4},   {55.28, 3}, {59.96, 9}, {64.03, 2}, {67.74, 6}, {68.14, 7},
       {68.28, 5},  {73.47, 2},   {75.66, 3}, {79.88, 2}, {81.49, 2}, {83.84, 1}},
      height, fwhm);
}

std::vector<SyntheticPeak> CorundumPeaks(double height, double fwhm) {
  return Scaled({{25.58, 45},
                 {35.15, 100},
                 {37.78, 21},
                 {41.68, 2},
                 {43.36, 66},
                 {52.55, 34},
                 {57.50, 89},
                 {61.30, 2},
                 {66.52, 23},
                 {68.21, 27},
                 {74.30, 2},
                 {76.87, 29},
                 {80.69, 2},
                 {84.36, 3},
                 {86.36, 2},
                 {86.50, 4},
                 {88.49, 6}},
                height, fwhm);
}

std::vector<SyntheticPeak> LanthanumHexaboridePeaks(double height, double fwhm) {
  return Scaled({{21.36, 60},
                 {30.38, 100},
                 {37.44, 45},
                 {43.51, 25},
                 {48.96, 30},
                 {53.99, 55},
                 {58.75, 25},
                 {63.22, 12},
                 {67.55, 20},
                 {71.75, 10},
                 {75.84, 18},
                 {79.78, 8},
                 {83.74, 10},
                 {87.55, 6}},
                height, fwhm);
}

std::vector<SyntheticPeak> SiliconNitridePeaks(double height, double fwhm) {
  return Scaled({{23.38, 35},
                 {27.05, 100},
                 {33.66, 95},
                 {36.07, 100},
                 {38.88, 10},
                 {41.41, 30},
                 {47.83, 15},
                 {49.92, 40},
                 {52.07, 20},
                 {57.83, 10},
                 {61.32, 20},
                 {64.17, 15},
                 {64.83, 15},
                 {70.08, 20},
                 {71.35, 25},
                 {72.48, 15},
                 {75.42, 10}},
                height, fwhm);
}

std::vector<SyntheticPeak> SiliconMolybdenumPeaks(double height, double fwhm) {
  return Scaled({{13.07, 100}, {21.42, 55}, {25.18, 30}, {30.52, 6}, {33.38, 11}, {37.67, 12}},
                height, fwhm);
}

std::vector<SyntheticPeak> ReferencePeaks(const std::vector<std::pair<double, double>>& lines,
                                          double shift, double scale, double height, double fwhm) {
  std::vector<SyntheticPeak> peaks;
  for (const auto& [t, intensity] : lines) {
    peaks.push_back({t + shift + scale * (t - 60.0), intensity / 100.0 * height, fwhm});
  }
  return peaks;
}

std::vector<ProfilePoint> MakeProfile(const SyntheticProfile& profile) {
  std::mt19937_64 random(profile.seed);
  std::uniform_real_distribution<double> jitter(-profile.stepJitter, profile.stepJitter);
  std::vector<ProfilePoint> points;
  for (double x = profile.start; x <= profile.end;
       x += profile.step * (1.0 + (profile.stepJitter > 0.0 ? jitter(random) : 0.0))) {
    const double u = x - 60.0;
    double y = profile.background + profile.slope * u + profile.curvature * u * u;
    for (const SyntheticPeak& peak : profile.peaks) {
      const double z = (x - peak.position) / peak.fwhm;
      y += peak.height * ((1.0 - peak.eta) * std::exp(-4.0 * std::log(2.0) * z * z) +
                          peak.eta / (1.0 + 4.0 * z * z));
      if (profile.kAlpha2) {
        // Bragg's law with copper's two wavelengths, written out apart from the finder's.
        const double half = 3.14159265358979323846 / 360.0;
        const double at = std::asin(profile.kAlpha2Ratio * std::sin(peak.position * half)) / half;
        const double z2 = (x - at) / peak.fwhm;
        y += 0.5 * peak.height *
             ((1.0 - peak.eta) * std::exp(-4.0 * std::log(2.0) * z2 * z2) +
              peak.eta / (1.0 + 4.0 * z2 * z2));
      }
    }
    if (profile.poisson) {
      y = static_cast<double>(std::poisson_distribution<long>(std::max(y, 0.0))(random));
    }
    points.push_back({x, y});
  }
  return points;
}

std::string ProfileText(const std::vector<ProfilePoint>& points) {
  std::string text = "2Theta  Counts   synthetic film\n";
  for (const ProfilePoint& p : points) {
    AppendFixed(text, p.twoTheta, 5);
    text += ' ';
    AppendFixed(text, p.intensity, 1);
    text += '\n';
  }
  return text;
}

}  // namespace pellum::testing
