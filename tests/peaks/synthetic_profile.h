#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "peaks/profile_points.h"

namespace pellum::testing {

// One peak of a synthetic profile: a pseudo-Voigt with a share eta of Lorentzian.
struct SyntheticPeak {
  double position = 0.0;
  double height = 0.0;
  double fwhm = 0.1;
  double eta = 0.5;
};

// A film's profile with known peaks: the background a + b (x - 60) + c (x - 60)^2 plus the
// peaks, sampled from start to end, with Poisson noise drawn from a fixed seed.
struct SyntheticProfile {
  double start = 20.0;
  double end = 95.0;
  double step = 0.01;
  double stepJitter = 0.0;  // each step is step * (1 +- up to this), for an uneven step
  double background = 100.0;
  double slope = 0.0;
  double curvature = 0.0;
  std::vector<SyntheticPeak> peaks;
  bool poisson = true;
  // Each peak with its K-alpha2 line, half as high (a diffractometer without a
  // monochromator): copper's unless another tube's wavelength ratio is given.
  bool kAlpha2 = false;
  double kAlpha2Ratio = 1.5444274 / 1.5405929;
  std::uint64_t seed = 13;
};

// The six silicon reflections as a film with this shift and scale shows them
// (t + shift + scale (t - 60)), all of one height and width.
std::vector<SyntheticPeak> SiliconPeaks(double shift, double scale, double height, double fwhm,
                                        double eta = 0.5);

// Where the film puts reflection k, as SiliconPeaks does.
double FilmPosition(std::size_t k, double shift, double scale);

// A fluorite-type phase (an fcc cell cellRatio times silicon's: 1.006 for CaF2, 0.9963
// for CeO2) with Cu K-alpha1: its nine lines from 1 1 1 to 4 2 2, 1 1 1 at height, the
// others at CaF2's relative intensities; 2 0 0, 2 2 2 and 4 2 0, which silicon lacks, at
// extraShare of 1 1 1 (near 0 for CaF2, about 0.3 for 2 0 0 of the oxides).
std::vector<SyntheticPeak> FluoritePeaks(double cellRatio, double height, double fwhm,
                                         double extraShare);

// The strong lines of quartz and of corundum (Cu K-alpha1) up to 90 degrees, the strongest
// at height.
std::vector<SyntheticPeak> QuartzPeaks(double height, double fwhm);
std::vector<SyntheticPeak> CorundumPeaks(double height, double fwhm);
std::vector<SyntheticPeak> LanthanumHexaboridePeaks(double height, double fwhm);
std::vector<SyntheticPeak> SiliconNitridePeaks(double height, double fwhm);
// Silicon's six reflections under molybdenum K-alpha1 (0.70932 A): 13.1 to 38.0 degrees.
std::vector<SyntheticPeak> SiliconMolybdenumPeaks(double height, double fwhm);

// Any reference's lines, given as (true two-theta, intensity of 100) pairs, as a film with
// this shift and scale shows them: the strongest at height.
//   {{21.36, 58.5}, {30.39, 100}} with shift 0.2 -> peaks at 21.56 (0.585 height), 30.59
std::vector<SyntheticPeak> ReferencePeaks(const std::vector<std::pair<double, double>>& lines,
                                          double shift, double scale, double height, double fwhm);

std::vector<ProfilePoint> MakeProfile(const SyntheticProfile& profile);

// As a profile file holds it: a header line, then "two-theta intensity" per line.
std::string ProfileText(const std::vector<ProfilePoint>& points);

}  // namespace pellum::testing
