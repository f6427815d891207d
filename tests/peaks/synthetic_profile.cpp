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
