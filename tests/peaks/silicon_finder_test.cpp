// The silicon finder on synthetic films whose peaks are known: the conditions a film
// reader's profile comes in, the acceptance grid, and profiles where nothing may be found.
#include "peaks/silicon_finder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <iostream>

#include "calib/reference_table.h"
#include "tests/peaks/synthetic_profile.h"

namespace pellum {
namespace {

using testing::FilmPosition;
using testing::MakeProfile;
using testing::SiliconPeaks;
using testing::SyntheticPeak;
using testing::SyntheticProfile;

// The limit a position error must keep: 0.005 degree, or a fifth of the step.
double Limit(double step) {
  return std::max(0.005, step / 5.0);
}

// The smallest standard error any estimate of the peak's centre can have under Poisson
// noise (the Cramer-Rao bound): 1 / sqrt(sum of (d model / d centre)^2 / model).
double CountingBound(const SyntheticProfile& p, const SyntheticPeak& peak) {
  const double k = 4.0 * std::log(2.0);
  double information = 0.0;
  for (double x = p.start; x <= p.end; x += p.step) {
    const double z = (x - peak.position) / peak.fwhm;
    const double g = std::exp(-k * z * z);
    const double l = 1.0 / (1.0 + 4.0 * z * z);
    const double u = x - 60.0;
    const double model = p.background + p.slope * u + p.curvature * u * u +
                         peak.height * ((1.0 - peak.eta) * g + peak.eta * l);
    const double slope =
        peak.height * ((1.0 - peak.eta) * g * 2.0 * k * z + peak.eta * 8.0 * z * l * l) / peak.fwhm;
    information += slope * slope / model;
  }
  return 1.0 / std::sqrt(information);
}

struct Condition {
  const char* name;
  std::function<SyntheticProfile()> make;
  std::array<bool, 6> found;  // which reflections must be found; the others must not be
};

SyntheticProfile Film(double step, double fwhm, double height, double shift = 0.21,
                      double scale = -0.0015) {
  SyntheticProfile p;
  p.step = step;
  p.background = 300.0;
  p.peaks = SiliconPeaks(shift, scale, height, fwhm);
  return p;
}

constexpr std::array<bool, 6> kAll = {true, true, true, true, true, true};

const std::vector<Condition>& Conditions() {
  static const std::vector<Condition> conditions = {
      {"FineStep", [] { return Film(0.002, 0.05, 2000); }, kAll},
      {"CoarseStep", [] { return Film(0.05, 0.2, 2000); }, kAll},
      {"SlopingBackground",
       [] {
         SyntheticProfile p = Film(0.01, 0.1, 1500);
         p.background = 2000.0;
         p.slope = -20.0;
         return p;
       },
       kAll},
      {"CurvedBackground",
       [] {
         SyntheticProfile p = Film(0.01, 0.1, 1500);
         p.background = 300.0;
         p.curvature = 1.5;
         return p;
       },
       kAll},
      // Stronger sample peaks 2.2 widths from three reflections, one on each side of 2 2 0.
      {"SamplePeaksNearby",
       [] {
         SyntheticProfile p = Film(0.01, 0.1, 2000);
         for (std::size_t k : {1, 2, 4}) {
           const double at = FilmPosition(k, 0.21, -0.0015);
           p.peaks.push_back({at + 0.22, 3000.0, 0.1});
           if (k == 1) {
             p.peaks.push_back({at - 0.22, 2500.0, 0.12});
           }
         }
         return p;
       },
       kAll},
      // A sample peak stronger than 1 1 1 a degree above it, where the film's offset could
      // as well have put it.
      {"StrongSamplePeakWithinReach",
       [] {
         SyntheticProfile p = Film(0.02, 0.15, 2000);
         p.peaks.push_back({FilmPosition(0, 0.21, -0.0015) + 0.95, 4000.0, 0.15});
         return p;
       },
       kAll},
      {"MissingReflection",
       [] {
         SyntheticProfile p = Film(0.01, 0.1, 2000);
         p.peaks[3].height = 0.0;
         return p;
       },
       {true, true, true, false, true, true}},
      {"UnevenStep",
       [] {
         SyntheticProfile p = Film(0.01, 0.1, 2000);
         p.stepJitter = 0.5;
         return p;
       },
       kAll},
      {"PartOfTheRange",
       [] {
         SyntheticProfile p = Film(0.01, 0.1, 2000);
         p.start = 40.0;
         p.end = 80.0;
         return p;
       },
       {false, true, true, true, true, false}},
      // The profile ends on the flank of 4 0 0.
      {"EndsAtAReflection",
       [] {
         SyntheticProfile p = Film(0.01, 0.1, 2000);
         p.end = FilmPosition(3, 0.21, -0.0015) + 0.03;
         return p;
       },
       {true, true, true, false, false, false}},
      {"GaussianPeaks",
       [] {
         SyntheticProfile p = Film(0.01, 0.08, 2000);
         for (SyntheticPeak& peak : p.peaks) {
           peak.eta = 0.0;
         }
         return p;
       },
       kAll},
      {"LorentzianPeaks",
       [] {
         SyntheticProfile p = Film(0.01, 0.08, 2000);
         for (SyntheticPeak& peak : p.peaks) {
           peak.eta = 1.0;
         }
         return p;
       },
       kAll},
      // Silicon's own intensities, 4 0 0 at 7 % of 1 1 1, widths growing with the angle.
      {"SiliconIntensities",
       [] {
         SyntheticProfile p = Film(0.01, 0.1, 1);
         const double heights[] = {20000, 11000, 6000, 1400, 2000, 2400};
         for (std::size_t k = 0; k < 6; ++k) {
           p.peaks[k].height = heights[k];
           p.peaks[k].fwhm = 0.07 + 0.0012 * p.peaks[k].position;
         }
         return p;
       },
       kAll},
  };
  return conditions;
}

TEST(SiliconFinder, FindsTheReflectionsInEveryCondition) {
  for (const Condition& c : Conditions()) {
    const SyntheticProfile profile = c.make();
    const SiliconSearch search = FindSiliconReflections(MakeProfile(profile));
    for (std::size_t k = 0; k < 6; ++k) {
      const ReflectionSearch& r = search.reflections[k];
      ASSERT_EQ(r.Found(), c.found[k]) << c.name << ": " << ReferenceTable[k].hkl << " verdict "
                                       << static_cast<int>(r.verdict) << " at " << r.position;
      if (r.Found()) {
        EXPECT_LE(std::abs(r.position - profile.peaks[k].position), Limit(profile.step))
            << c.name << ": " << ReferenceTable[k].hkl;
        EXPECT_NEAR(r.fwhm, profile.peaks[k].fwhm, 0.2 * profile.peaks[k].fwhm) << c.name;
        EXPECT_GE(r.snr, 5.0) << c.name;
      }
    }
  }
}

// Steps 0.005 to 0.02, widths 0.04 to 0.2, 200 to 100,000 counts at the peak, shifts of
// +-0.4 with scale errors of +-0.4 %, Poisson noise. Every reflection is found; the median
// error is at most 0.001 degree. Each error is within max(0.005, step / 5), or, where the
// counts themselves allow no such precision (200 counts on a peak 0.2 wide), within four
// times the counting statistics' bound.
TEST(SiliconFinder, AcceptanceGrid) {
  std::vector<double> errors;
  std::vector<double> uncertainties;
  std::size_t withinTwoSu = 0;
  std::size_t beyondLimit = 0;
  std::uint64_t seed = 1;
  for (double step : {0.005, 0.01, 0.02}) {
    for (double fwhm : {0.04, 0.1, 0.2}) {
      for (double height : {200.0, 3000.0, 100000.0}) {
        for (auto [shift, scale] :
             {std::pair{-0.4, -0.004}, std::pair{0.4, 0.004}, std::pair{0.13, -0.002}}) {
          SyntheticProfile p = Film(step, fwhm, height, shift, scale);
          p.background = 50.0;
          p.slope = -0.5;
          p.seed = seed++;
          const SiliconSearch search = FindSiliconReflections(MakeProfile(p));
          for (std::size_t k = 0; k < 6; ++k) {
            const ReflectionSearch& r = search.reflections[k];
            ASSERT_TRUE(r.Found())
                << "step " << step << " fwhm " << fwhm << " height " << height << " shift " << shift
                << ": " << ReferenceTable[k].hkl << " verdict " << static_cast<int>(r.verdict)
                << " at " << r.position << " scale " << search.check.scale;
            const double error = std::abs(r.position - p.peaks[k].position);
            errors.push_back(error);
            uncertainties.push_back(r.su);
            withinTwoSu += error <= 2.0 * r.su ? 1 : 0;
            if (error > Limit(step)) {
              ++beyondLimit;
              // Where the counts allow no better, the su says so.
              EXPECT_LE(error, 3.0 * r.su) << "step " << step << " fwhm " << fwhm;
              std::cout << "beyond the limit: step " << step << " fwhm " << fwhm << " height "
                        << height << " " << ReferenceTable[k].hkl << ": error " << error
                        << ", counting bound " << CountingBound(p, p.peaks[k]) << '\n';
            }
            EXPECT_LE(error, std::max(Limit(step), 4.0 * CountingBound(p, p.peaks[k])))
                << "step " << step << " fwhm " << fwhm << " height " << height;
          }
        }
      }
    }
  }
  std::sort(errors.begin(), errors.end());
  std::sort(uncertainties.begin(), uncertainties.end());
  const double median = errors[errors.size() / 2];
  const double medianSu = uncertainties[uncertainties.size() / 2];
  const double coverage = static_cast<double>(withinTwoSu) / static_cast<double>(errors.size());
  EXPECT_LE(median, 0.001);
  // An honest su: about 95 % of the errors within two su, and su no larger than it must be
  // (for normal errors the median error is 0.67 su).
  EXPECT_GE(coverage, 0.92);
  EXPECT_LE(medianSu, 3.0 * median);
  std::cout << "su: " << coverage * 100.0 << " % of the errors within 2 su, median su " << medianSu
            << '\n';
  std::cout << "acceptance grid: " << errors.size() << " reflections, median error " << median
            << ", largest " << errors.back() << ", beyond max(0.005, step/5): " << beyondLimit
            << '\n';
}

// Nothing is found where the profile holds no silicon peak.
TEST(SiliconFinder, FindsNothingWhereThereIsNoPeak) {
  struct Case {
    const char* name;
    std::function<SyntheticProfile()> make;
    std::array<bool, 6> found;
  };
  const std::vector<Case> cases = {
      {"NoiseOnly", [] { return Film(0.01, 0.1, 0.0); }, {}},
      {"NoiseOnlyFineStep", [] { return Film(0.002, 0.1, 0.0); }, {}},
      {"NoiseOnlyCoarseStep", [] { return Film(0.05, 0.1, 0.0); }, {}},
      // Spikes one point wide at every reflection: a count gone wrong, not a peak.
      {"Spikes",
       [] {
         SyntheticProfile p = Film(0.01, 0.001, 3000.0);
         return p;
       },
       {}},
      // A hump two degrees wide under each reflection.
      {"Humps", [] { return Film(0.01, 2.0, 3000.0); }, {}},
      // 3 1 1 missing, and a strong sample peak in its window 0.3 degree from it.
      {"SamplePeakInAnEmptyWindow",
       [] {
         SyntheticProfile p = Film(0.01, 0.1, 2000);
         p.peaks[2].height = 0.0;
         p.peaks.push_back({FilmPosition(2, 0.21, -0.0015) + 0.3, 5000.0, 0.1});
         return p;
       },
       {true, true, false, true, true, true}},
  };
  for (const Case& c : cases) {
    const SiliconSearch search = FindSiliconReflections(MakeProfile(c.make()));
    for (std::size_t k = 0; k < 6; ++k) {
      EXPECT_EQ(search.reflections[k].Found(), c.found[k])
          << c.name << ": " << ReferenceTable[k].hkl << " at " << search.reflections[k].position;
    }
  }
}

// Another phase's lines near the silicon positions never calibrate: alone, its set is
// refused (or fewer than two found); beside silicon twice as strong, silicon's lines are
// found and none of the sample's.
TEST(SiliconFinder, TheRightPhaseOrNone) {
  using testing::CorundumPeaks;
  using testing::FluoritePeaks;
  using testing::QuartzPeaks;
  struct Case {
    const char* name;
    std::vector<SyntheticPeak> sample;
    bool withSilicon;
    bool kAlpha2 = false;  // a diffractometer's K-alpha1 + K-alpha2 profile
  };
  const std::vector<Case> cases = {
      {"CaF2", FluoritePeaks(1.006, 4000, 0.1, 0.002), false},
      {"CaF2Doublets", FluoritePeaks(1.006, 4000, 0.1, 0.002), false, true},
      {"SiliconBesideCaF2Doublets", FluoritePeaks(1.006, 8000, 0.1, 0.002), true, true},
      {"LargerCell1%", FluoritePeaks(1.01, 4000, 0.1, 0.0), false},
      {"LargerCell0.4%", FluoritePeaks(1.004, 4000, 0.1, 0.0), false},
      {"CeO2", FluoritePeaks(0.9963, 4000, 0.1, 0.3), false},
      {"SmallerCell0.4%", FluoritePeaks(0.996, 4000, 0.1, 0.3), false},
      {"SmallerCell1%", FluoritePeaks(0.99, 4000, 0.1, 0.3), false},
      {"Quartz", QuartzPeaks(8000, 0.1), false},
      {"Corundum", CorundumPeaks(8000, 0.1), false},
      {"LaB6", testing::LanthanumHexaboridePeaks(8000, 0.1), false},
      {"SiliconNitride", testing::SiliconNitridePeaks(8000, 0.1), false},
      {"SiliconUnderMolybdenum", testing::SiliconMolybdenumPeaks(8000, 0.1), false},
      {"SiliconBesideCaF2", FluoritePeaks(1.006, 8000, 0.1, 0.002), true},
      {"SiliconBesideLargerCell1%", FluoritePeaks(1.01, 8000, 0.1, 0.0), true},
      // (CeO2 itself, 0.37 % smaller, lies within a width of 1 1 1: one peak to the finder.)
      {"SiliconBesideSmallerCell1%", FluoritePeaks(0.99, 8000, 0.1, 0.3), true},
      {"SiliconBesideQuartz", QuartzPeaks(8000, 0.1), true},
      {"SiliconBesideCorundum", CorundumPeaks(8000, 0.1), true},
      {"SiliconBesideLaB6", testing::LanthanumHexaboridePeaks(8000, 0.1), true},
      {"SiliconBesideCorundumDoublets", CorundumPeaks(8000, 0.1), true, true},
      {"SiliconBesideQuartzDoublets", QuartzPeaks(8000, 0.1), true, true},
  };
  const double heights[] = {4000, 2200, 1200, 240, 440, 480};
  for (const Case& c : cases) {
    SyntheticProfile p = Film(0.01, 0.1, 0.0, 0.0, 0.0);
    p.peaks.clear();
    p.kAlpha2 = c.kAlpha2;
    if (c.withSilicon) {
      p.peaks = SiliconPeaks(0.05, -0.0005, 1.0, 0.1);
      for (std::size_t k = 0; k < 6; ++k) {
        p.peaks[k].height = heights[k];
      }
    }
    const std::vector<SyntheticPeak> silicon = p.peaks;
    p.peaks.insert(p.peaks.end(), c.sample.begin(), c.sample.end());
    const SiliconSearch search = FindSiliconReflections(MakeProfile(p));
    if (!c.withSilicon) {
      EXPECT_TRUE(search.Refused() || search.FoundCount() < 2)
          << c.name << ": " << search.FoundCount() << " found, scale " << search.check.scale;
      continue;
    }
    EXPECT_FALSE(search.Refused())
        << c.name << ": refused " << static_cast<int>(search.check.refusal);
    EXPECT_GE(search.FoundCount(), 5) << c.name;
    for (std::size_t k = 0; k < 6; ++k) {
      const ReflectionSearch& r = search.reflections[k];
      if (r.Found()) {
        EXPECT_LE(std::abs(r.position - silicon[k].position),
                  std::max(Limit(p.step), 4.0 * CountingBound(p, silicon[k])))
            << c.name << ": " << ReferenceTable[k].hkl;
      }
    }
  }
}

// Multiplying the intensities by any factor that keeps them finite changes no position,
// width, verdict or refusal; the heights follow the factor.
TEST(SiliconFinder, AnyIntensityScale) {
  SyntheticProfile silicon = Film(0.01, 0.1, 1);
  const double heights[] = {3000, 1600, 900, 200, 300, 400};
  for (std::size_t k = 0; k < 6; ++k) {
    silicon.peaks[k].height = heights[k];
  }
  SyntheticProfile quartz = Film(0.01, 0.1, 0.0);
  quartz.peaks = testing::QuartzPeaks(8000, 0.1);
  for (const SyntheticProfile& profile : {silicon, quartz}) {
    const std::vector<ProfilePoint> points = MakeProfile(profile);
    const SiliconSearch plain = FindSiliconReflections(points);
    for (double factor : {1e-300, 1e-160, 3e-7, 0.37, 1e5, 1e150, 1e300}) {
      std::vector<ProfilePoint> scaled = points;
      for (ProfilePoint& p : scaled) {
        p.intensity *= factor;
      }
      const SiliconSearch search = FindSiliconReflections(scaled);
      EXPECT_EQ(search.check.refusal, plain.check.refusal) << factor;
      for (std::size_t k = 0; k < 6; ++k) {
        const ReflectionSearch& r = search.reflections[k];
        const ReflectionSearch& p = plain.reflections[k];
        EXPECT_EQ(r.verdict, p.verdict) << factor << ": " << ReferenceTable[k].hkl;
        EXPECT_NEAR(r.position, p.position, 1e-9) << factor;
        EXPECT_NEAR(r.fwhm, p.fwhm, 1e-9) << factor;
        EXPECT_NEAR(r.snr, p.snr, 1e-6 * p.snr) << factor;
        EXPECT_NEAR(r.height / factor, p.height, 1e-9 * p.height) << factor;
      }
    }
  }
}

// A diffractometer's K-alpha1 + K-alpha2 profile: the doublet is recognised and each
// reflection's K-alpha1 position reported; a K-alpha1 profile is searched as before.
TEST(SiliconFinder, KAlphaDoublets) {
  const double heights[] = {6000, 3300, 1800, 400, 700, 700};
  for (double step : {0.005, 0.01, 0.02}) {
    for (double fwhm : {0.06, 0.12, 0.2}) {
      for (bool doublet : {false, true}) {
        SyntheticProfile p = Film(step, fwhm, 1.0, -0.03, 0.0002);
        p.kAlpha2 = doublet;
        for (std::size_t k = 0; k < 6; ++k) {
          p.peaks[k].height = heights[k];
        }
        const SiliconSearch search = FindSiliconReflections(MakeProfile(p));
        const std::string name = "step " + std::to_string(step) + " fwhm " + std::to_string(fwhm) +
                                 (doublet ? " K-alpha1+2" : " K-alpha1");
        EXPECT_EQ(search.kAlpha2, doublet) << name;
        for (std::size_t k = 0; k < 6; ++k) {
          const ReflectionSearch& r = search.reflections[k];
          ASSERT_TRUE(r.Found()) << name << ": " << ReferenceTable[k].hkl;
          EXPECT_LE(std::abs(r.position - p.peaks[k].position), std::max(Limit(step), 3.0 * r.su))
              << name << ": " << ReferenceTable[k].hkl;
        }
      }
    }
  }
  // Told which lines the profile shows, the finder takes them so.
  SyntheticProfile p = Film(0.01, 0.1, 2000);
  p.kAlpha2 = true;
  SiliconFinderOptions options;
  options.radiationLines = RadiationLines::KAlpha12;
  EXPECT_TRUE(FindSiliconReflections(MakeProfile(p), options).kAlpha2);
  options.radiationLines = RadiationLines::KAlpha1;
  EXPECT_FALSE(FindSiliconReflections(MakeProfile(p), options).kAlpha2);
}

}  // namespace
}  // namespace pellum
