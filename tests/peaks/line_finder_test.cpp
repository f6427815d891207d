// The finder of any reference's lines on synthetic films whose lines are known: every line
// of some strength found where the film puts it, and the sets of another phase refused.
#include "peaks/line_finder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "peaks/line_set_check.h"
#include "refs/look_alike_lines.h"
#include "refs/radiation.h"
#include "refs/reference_choice.h"
#include "tests/peaks/synthetic_profile.h"

namespace pellum {
namespace {

using testing::MakeProfile;
using testing::ReferencePeaks;
using testing::SyntheticPeak;
using testing::SyntheticProfile;

Reference Chosen(const std::string& standard, const std::string& radiation,
                 std::optional<std::string> lattice = std::nullopt) {
  ReferenceRequest request;
  request.standard = standard;
  request.radiation = radiation;
  request.lattice = lattice;
  Reference reference;
  std::string error;
  EXPECT_TRUE(ChooseReference(request, reference, error)) << error;
  return reference;
}

LineSet SetOf(const Reference& reference) {
  LineSet set;
  set.material = reference.material;
  for (const ReferenceLine& line : reference.lines)
    set.lines.push_back({line.h, line.k, line.l, line.twoTheta, line.intensity});
  std::vector<ReferenceLine> lookAlike;
  std::string error;
  EXPECT_TRUE(ComputeLookAlikeLines(reference, lookAlike, error)) << error;
  for (const ReferenceLine& line : lookAlike)
    set.lookAlike.push_back({line.h, line.k, line.l, line.twoTheta, line.intensity});
  const Radiation* radiation = FindRadiation(reference.radiation);
  set.kAlpha2Ratio = radiation->kAlpha2 / radiation->wavelength;
  return set;
}

std::vector<std::pair<double, double>> LinesOf(const Reference& reference, double weakest = 0.0) {
  std::vector<std::pair<double, double>> lines;
  for (const ReferenceLine& line : reference.lines) {
    if (line.intensity >= weakest)
      lines.emplace_back(line.twoTheta, line.intensity);
  }
  return lines;
}

SyntheticProfile Film(const Reference& reference, double shift, double scale, double step,
                      double fwhm, bool kAlpha2) {
  SyntheticProfile p;
  p.start = 10.0;
  p.end = 99.0;
  p.step = step;
  p.background = 200.0;
  p.peaks = ReferencePeaks(LinesOf(reference), shift, scale, 20000.0, fwhm);
  p.kAlpha2 = kAlpha2;
  const Radiation* radiation = FindRadiation(reference.radiation);
  p.kAlpha2Ratio = radiation->kAlpha2 / radiation->wavelength;
  return p;
}

// The acceptance: every line of 3 % or more within 0.005 degree of where the film puts it.
TEST(LineFinder, FindsEveryLineOfSomeStrength) {
  struct Case {
    const char* standard;
    const char* radiation;
    double shift, scale, step, fwhm;
    bool kAlpha2;
  };
  const Case cases[] = {
      {"si-640e", "cr", 0.21, -0.0015, 0.01, 0.08, false},
      {"si-640e", "cr", -0.35, 0.001, 0.02, 0.12, true},
      {"si-640e", "cu", 0.1, 0.0, 0.01, 0.1, true},
      {"lab6-660c", "cu", 0.3, -0.002, 0.01, 0.08, false},
      {"lab6-660c", "cu", -0.12, 0.0015, 0.01, 0.1, true},
      {"lab6-660c", "co", 0.05, 0.0, 0.01, 0.08, false},
      {"al2o3-676a", "cu", 0.18, 0.001, 0.01, 0.07, false},
      {"ceo2-674b", "cu", -0.06, -0.001, 0.01, 0.1, true},
      {"ceo2-674b", "fe", 0.15, 0.0, 0.01, 0.09, false},
  };
  for (const Case& c : cases) {
    const Reference reference = Chosen(c.standard, c.radiation);
    const SyntheticProfile p = Film(reference, c.shift, c.scale, c.step, c.fwhm, c.kAlpha2);
    const LineSearch search = FindReferenceLines(MakeProfile(p), SetOf(reference));
    const std::string name =
        std::string(c.standard) + " " + c.radiation + (c.kAlpha2 ? " K-alpha1+2" : " K-alpha1");
    EXPECT_FALSE(search.Refused()) << name << ": " << RefusalText(search, SetOf(reference));
    EXPECT_EQ(search.kAlpha2, c.kAlpha2) << name;
    ASSERT_EQ(search.lines.size(), reference.lines.size()) << name;
    for (std::size_t k = 0; k < reference.lines.size(); ++k) {
      const ReferenceLine& line = reference.lines[k];
      if (line.intensity < 3.0 || line.twoTheta + c.shift > p.end - 1.0)
        continue;
      const ReflectionSearch& r = search.lines[k];
      const std::string hkl = LineHklText({line.h, line.k, line.l, 0.0, 0.0});
      ASSERT_TRUE(r.Found()) << name << ": " << hkl;
      EXPECT_NEAR(r.position, p.peaks[k].position, 0.005) << name << ": " << hkl;
    }
  }
}

enum class Expect { Accepted, Refused };

// Profiles of another phase, or lacking what the reference must show, calibrate nothing;
// weak lines missing, or a weak line drowned by a sample's, refuse nothing.
TEST(LineFinder, TheReferencesLinesOrNone) {
  const Reference si = Chosen("si-640e", "cu");
  const Reference lab6 = Chosen("lab6-660c", "cu");
  const Reference ceo2 = Chosen("ceo2-674b", "cu");
  const Reference corundum = Chosen("al2o3-676a", "cu");
  // A fluorite-type oxide 1 % larger than the standard, and one of silicon's very size.
  const Reference ceo2Larger = Chosen("ceo2-674b", "cu", "5.4658");
  const Reference fluoriteSiSize = Chosen("ceo2-674b", "cu", "5.431179");
  // Corundum's kind on a cell 4 % larger: eskolaite, Cr2O3.
  const Reference eskolaite = Chosen("al2o3-676a", "cu", "4.959,13.594");
  auto profile = [](const Reference& shown, double weakest = 0.0,
                    std::optional<std::size_t> without = std::nullopt,
                    std::optional<std::pair<std::size_t, double>> boosted = std::nullopt,
                    double shift = 0.15) {
    SyntheticProfile p;
    p.start = 10.0;
    p.end = 101.0;
    p.background = 200.0;
    std::vector<std::pair<double, double>> lines;
    for (std::size_t k = 0; k < shown.lines.size(); ++k) {
      double intensity = shown.lines[k].intensity;
      if (boosted && boosted->first == k)
        intensity = boosted->second;
      if (intensity >= weakest && without != k)
        lines.emplace_back(shown.lines[k].twoTheta, intensity);
    }
    p.peaks = ReferencePeaks(lines, shift, 0.0, 20000.0, 0.08);
    return MakeProfile(p);
  };
  struct Case {
    const char* name;
    std::vector<ProfilePoint> points;
    const Reference* searched;
    Expect expect;
    SetRefusal refusal = SetRefusal::None;
  };
  const Case cases[] = {
      {"silicon searched as LaB6", profile(si), &lab6, Expect::Refused},
      {"LaB6 searched as silicon", profile(lab6), &si, Expect::Refused},
      {"CeO2 searched as corundum", profile(ceo2), &corundum, Expect::Refused},
      // 0.36 % larger, within a film's scale of CeO2's lines, but without its 2 0 0.
      {"silicon searched as CeO2", profile(si), &ceo2, Expect::Refused,
       SetRefusal::StrongLinesMissing},
      {"eskolaite searched as corundum", profile(eskolaite), &corundum, Expect::Refused},
      {"a fluorite-type cell 1 % larger searched as CeO2", profile(ceo2Larger), &ceo2,
       Expect::Refused},
      {"a fluorite-type phase of silicon's size searched as silicon", profile(fluoriteSiSize), &si,
       Expect::Refused, SetRefusal::LookAlikeLines},
      {"LaB6 without its strongest line, 1 1 0", profile(lab6, 0.0, 1), &lab6, Expect::Refused,
       SetRefusal::NotStrongest},
      {"LaB6 without its lines below 5 %", profile(lab6, 5.0), &lab6, Expect::Accepted},
      {"corundum without its lines below 5 %", profile(corundum, 5.0), &corundum, Expect::Accepted},
      {"corundum's faint 0 0 6 drowned by a sample line",
       profile(corundum, 0.0, std::nullopt, std::pair<std::size_t, double>{3, 80.0}), &corundum,
       Expect::Accepted},
      {"CeO2 itself", profile(ceo2), &ceo2, Expect::Accepted},
      {"LaB6 0.5 degree up, its 3 2 2 beyond 100 degrees",
       profile(lab6, 0.0, std::nullopt, std::nullopt, 0.5), &lab6, Expect::Accepted},
  };
  for (const Case& c : cases) {
    const LineSet set = SetOf(*c.searched);
    const LineSearch search = FindReferenceLines(c.points, set);
    const bool refused = search.Refused() || search.FoundCount() < 2;
    EXPECT_EQ(refused, c.expect == Expect::Refused) << c.name << ": " << RefusalText(search, set);
    if (c.refusal != SetRefusal::None) {
      EXPECT_EQ(search.check.refusal, c.refusal) << c.name << ": " << RefusalText(search, set);
    }
    if (search.Refused()) {
      EXPECT_EQ(search.FoundCount(), 0) << c.name << ": a refused set keeps no line found";
    }
    for (const ReflectionSearch& r : search.lines) {
      EXPECT_TRUE(!r.Found() || r.position < 100.0) << c.name << ": no reading at " << r.position;
    }
  }
}

// The look-alike lines: silicon's where a fluorite-type cell of its size has them, none for
// a standard whose look-alikes differ by their cell.
TEST(LineFinder, LookAlikeLines) {
  struct Case {
    const char* standard;
    std::vector<std::string> first;  // the first look-alike lines, in order of two-theta
  };
  const Case cases[] = {
      {"si-640e", {"2 0 0", "2 2 2", "4 2 0"}},
      {"al2o3-676a", {}},
      {"lab6-660c", {}},
      {"ceo2-674b", {}},
  };
  for (const Case& c : cases) {
    const LineSet set = SetOf(Chosen(c.standard, "cu"));
    ASSERT_GE(set.lookAlike.size(), c.first.size()) << c.standard;
    if (c.first.empty()) {
      EXPECT_TRUE(set.lookAlike.empty()) << c.standard;
    }
    for (std::size_t i = 0; i < c.first.size(); ++i)
      EXPECT_EQ(LineHklText(set.lookAlike[i]), c.first[i]) << c.standard;
  }
}

// A line far stronger than the reference makes it beside the others holds a sample line.
TEST(LineFinder, DropsLinesFarStrongerThanTheReferenceMakesThem) {
  struct Case {
    double strongArea, weakArea, strongIntensity, weakIntensity;
    bool dropped;
  };
  const Case cases[] = {
      {100.0, 900.0, 100.0, 42.0, true},   // more than twice one twice as strong
      {100.0, 150.0, 100.0, 42.0, false},  // film intensities are rough: let it be
      {100.0, 60.0, 100.0, 1.0, false},    // under twice one ten times as strong
      {100.0, 120.0, 100.0, 8.0, true},    // stronger than one over ten times as strong
      {100.0, 90.0, 100.0, 60.0, false},
  };
  for (const Case& c : cases) {
    std::vector<ReflectionSearch> found(2);
    for (ReflectionSearch& r : found) {
      r.verdict = PeakVerdict::Found;
      r.fwhm = 1.0;
    }
    found[0].height = c.strongArea;
    found[1].height = c.weakArea;
    const std::vector<FinderLine> lines = {{1, 1, 0, 30.0, c.strongIntensity},
                                           {2, 1, 0, 40.0, c.weakIntensity}};
    DropUnlikeReference(found, lines);
    EXPECT_EQ(found[1].verdict == PeakVerdict::UnlikeSilicon, c.dropped)
        << c.weakArea << " of intensity " << c.weakIntensity;
    EXPECT_TRUE(found[0].Found());
  }
}

}  // namespace
}  // namespace pellum
