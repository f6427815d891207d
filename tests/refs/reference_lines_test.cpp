#include "refs/reference_choice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>

#include "calib/reference_table.h"
#include "refs/radiation.h"

namespace pellum {
namespace {

Reference Choose(ReferenceRequest request) {
  Reference reference;
  std::string error;
  EXPECT_TRUE(ChooseReference(request, reference, error)) << error;
  return reference;
}

std::string Refusal(ReferenceRequest request) {
  Reference reference;
  std::string error;
  EXPECT_FALSE(ChooseReference(request, reference, error));
  return error;
}

// d of hkl written out for the two cell shapes, not through any cell code.
double SpacingOf(int h, int k, int l, double a, double c) {
  if (c == 0.0)
    return a / std::sqrt(double(h * h + k * k + l * l));
  const double inverse = 4.0 / 3.0 * (h * h + h * k + k * k) / (a * a) + double(l * l) / (c * c);
  return 1.0 / std::sqrt(inverse);
}

double BraggDegrees(double wavelength, double d) {
  return 360.0 / std::numbers::pi * std::asin(wavelength / (2.0 * d));
}

const ReferenceLine* LineOf(const Reference& reference, int h, int k, int l) {
  for (const ReferenceLine& line : reference.lines) {
    if (line.h == h && line.k == k && line.l == l)
      return &line;
  }
  return nullptr;
}

// Every built-in standard with every radiation: each line where Bragg's law puts it for the
// certified cell, in order, below 100 degrees, the strongest at 100.
TEST(ReferenceLines, StandBraggAnglesOfTheCertifiedCellForEveryRadiation) {
  for (const Standard& standard : BuiltInStandards()) {
    for (const Radiation& radiation : kRadiations) {
      SCOPED_TRACE(std::string(standard.name) + " " + std::string(radiation.name));
      const Reference reference =
          Choose({std::string(standard.name), std::nullopt, std::string(radiation.name), {}});
      EXPECT_EQ(reference.a, standard.a);
      EXPECT_EQ(reference.wavelength, radiation.wavelength);
      ASSERT_FALSE(reference.lines.empty());
      double previous = 0.0, strongest = 0.0;
      for (const ReferenceLine& line : reference.lines) {
        const double d = SpacingOf(line.h, line.k, line.l, standard.a, standard.c);
        EXPECT_NEAR(line.d, d, 1e-12 * d);
        EXPECT_NEAR(line.twoTheta, BraggDegrees(radiation.wavelength, d), 1e-9);
        EXPECT_GT(line.twoTheta, previous);
        EXPECT_LT(line.twoTheta, 100.0);
        EXPECT_GE(line.intensity, 0.0);
        previous = line.twoTheta;
        strongest = std::max(strongest, line.intensity);
        if (!standard.Hexagonal()) {
          EXPECT_TRUE(line.h >= line.k && line.k >= line.l && line.l >= 0)
              << line.h << line.k << line.l;
        }
      }
      EXPECT_EQ(strongest, 100.0);
    }
  }
}

// The cubic standards' lines are exactly the spacings h^2 + k^2 + l^2 = N their structures
// allow, counted here by hand: diamond (Fd-3m on 8a) all odd, or all even with h + k + l a
// multiple of 4; fluorite (Fm-3m) all odd or all even; LaB6 (Pm-3m) every N.
TEST(ReferenceLines, CubicStandardsShowEveryAllowedSpacingAndNoOther) {
  struct Case {
    const char* standard;
    bool (*allowed)(int, int, int);
  };
  const Case cases[] = {
      {"si-640e",
       [](int h, int k, int l) {
         const bool odd = h % 2 && k % 2 && l % 2;
         const bool even = h % 2 == 0 && k % 2 == 0 && l % 2 == 0;
         return odd || (even && (h + k + l) % 4 == 0);
       }},
      {"ceo2-674b",
       [](int h, int k, int l) {
         return (h % 2 && k % 2 && l % 2) || (h % 2 == 0 && k % 2 == 0 && l % 2 == 0);
       }},
      {"lab6-660c", [](int, int, int) { return true; }},
  };
  for (const Case& c : cases) {
    for (const char* radiation : {"cr", "cu", "mo"}) {
      SCOPED_TRACE(std::string(c.standard) + " " + radiation);
      const Reference reference = Choose({c.standard, std::nullopt, radiation, {}});
      std::set<int> expected, shown;
      for (int h = 0; h < 40; ++h)
        for (int k = 0; k <= h; ++k)
          for (int l = 0; l <= k; ++l) {
            const int n = h * h + k * k + l * l;
            if (n > 0 && c.allowed(h, k, l) &&
                BraggDegrees(reference.wavelength, reference.a / std::sqrt(double(n))) < 100.0)
              expected.insert(n);
          }
      for (const ReferenceLine& line : reference.lines)
        shown.insert(line.h * line.h + line.k * line.k + line.l * line.l);
      EXPECT_EQ(shown, expected);
      EXPECT_EQ(shown.size(), reference.lines.size());
    }
  }
}

// Lines the space groups forbid (or silicon's site cancels) and lines they keep, by hand.
TEST(ReferenceLines, ReflectionConditions) {
  struct Case {
    const char* standard;
    int h, k, l;
    bool present;
  };
  const Case cases[] = {
      {"si-640e", 1, 1, 1, true},     {"si-640e", 2, 2, 0, true},
      {"si-640e", 3, 1, 1, true},     {"si-640e", 4, 0, 0, true},
      {"si-640e", 3, 3, 1, true},     {"si-640e", 4, 2, 2, true},
      {"si-640e", 5, 1, 1, true},     {"si-640e", 2, 0, 0, false},
      {"si-640e", 2, 2, 2, false},    {"si-640e", 1, 0, 0, false},
      {"si-640e", 4, 2, 0, false},    {"ceo2-674b", 1, 1, 1, true},
      {"ceo2-674b", 2, 0, 0, true},   {"ceo2-674b", 2, 2, 2, true},
      {"ceo2-674b", 1, 0, 0, false},  {"ceo2-674b", 2, 1, 0, false},
      {"lab6-660c", 1, 0, 0, true},   {"lab6-660c", 1, 1, 0, true},
      {"lab6-660c", 2, 2, 1, true},   {"al2o3-676a", 0, 1, 2, true},
      {"al2o3-676a", 1, 0, 4, true},  {"al2o3-676a", 1, 1, 0, true},
      {"al2o3-676a", 1, 1, 3, true},  {"al2o3-676a", 0, 2, 4, true},
      {"al2o3-676a", 1, 1, 6, true},  {"al2o3-676a", 0, 0, 6, true},
      {"al2o3-676a", 3, 0, 0, true},  {"al2o3-676a", 0, 0, 3, false},
      {"al2o3-676a", 1, 0, 1, false}, {"al2o3-676a", 1, 0, 0, false},
      {"al2o3-676a", 0, 0, 2, false}, {"al2o3-676a", 1, 1, 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.standard) + " " + std::to_string(c.h) + std::to_string(c.k) +
                 std::to_string(c.l));
    const Reference reference = Choose({c.standard, std::nullopt, "cu", {}});
    const double d = SpacingOf(c.h, c.k, c.l, reference.a, reference.c);
    const bool atThatSpacing =
        std::any_of(reference.lines.begin(), reference.lines.end(),
                    [&](const ReferenceLine& line) { return std::abs(line.d - d) < 1e-9; });
    EXPECT_EQ(atThatSpacing, c.present);
    if (c.present) {
      EXPECT_NE(LineOf(reference, c.h, c.k, c.l), nullptr);
    }
  }
}

// Silicon's textbook order: 1 1 1 strongest, then 2 2 0, then 3 1 1, above all the others;
// 3 3 3 and 5 1 1 share a spacing, shown as 5 1 1.
TEST(ReferenceLines, SiliconIntensitiesFollowTheTextbookOrder) {
  for (const char* standard : {"si", "si-640c", "si-640e"}) {
    for (const char* radiation : {"cu", "cr", "mo"}) {
      if (std::string(standard) == "si" && std::string(radiation) != "cu")
        continue;
      SCOPED_TRACE(std::string(standard) + " " + radiation);
      const Reference reference = Choose({standard, std::nullopt, radiation, {}});
      const ReferenceLine* l111 = LineOf(reference, 1, 1, 1);
      const ReferenceLine* l220 = LineOf(reference, 2, 2, 0);
      const ReferenceLine* l311 = LineOf(reference, 3, 1, 1);
      ASSERT_TRUE(l111 && l220 && l311);
      EXPECT_EQ(l111->intensity, 100.0);
      EXPECT_LT(l220->intensity, l111->intensity);
      EXPECT_LT(l311->intensity, l220->intensity);
      for (const ReferenceLine& line : reference.lines) {
        if (&line != l111 && &line != l220 && &line != l311) {
          EXPECT_LT(line.intensity, l311->intensity) << line.h << line.k << line.l;
        }
      }
      EXPECT_EQ(LineOf(reference, 3, 3, 3), nullptr);
    }
  }
  EXPECT_NE(LineOf(Choose({"si-640e", std::nullopt, "mo", {}}), 5, 1, 1), nullptr);
}

// The built-in table is the calibration's six lines, exactly, and Cu K-alpha1 alone.
TEST(ReferenceChoice, TheBuiltInTableIsTheCalibrationsTable) {
  for (const ReferenceRequest& request :
       {ReferenceRequest{}, ReferenceRequest{"si", std::nullopt, "cu", {}},
        ReferenceRequest{"si", std::nullopt, std::nullopt, "1.5405929"}}) {
    const Reference reference = Choose(request);
    EXPECT_TRUE(reference.IsBuiltInTable());
    EXPECT_EQ(reference.wavelength, 1.5405929);
    ASSERT_EQ(reference.lines.size(), ReferenceTable.size());
    for (std::size_t i = 0; i < ReferenceTable.size(); ++i) {
      const ReferenceLine& line = reference.lines[i];
      EXPECT_EQ(line.twoTheta, ReferenceTable[i].twoTheta);
      EXPECT_EQ(
          std::to_string(line.h) + ' ' + std::to_string(line.k) + ' ' + std::to_string(line.l),
          ReferenceTable[i].hkl);
      EXPECT_NEAR(line.d, 1.5405929 / (2.0 * std::sin(line.twoTheta * std::numbers::pi / 360)),
                  1e-12);
    }
  }
  EXPECT_TRUE(ReferenceRequest{}.IsDefault());
  EXPECT_FALSE((ReferenceRequest{"si", std::nullopt, "cu", {}}.IsDefault()));
}

// Each radiation within 1e-4 angstrom of the textbook K-alpha1 wavelength; copper's exactly
// the certificates' value.
TEST(Radiations, AreTheTextbookKAlpha1Wavelengths) {
  struct Case {
    const char* name;
    double textbook;
  };
  const Case cases[] = {{"cr", 2.28970}, {"fe", 1.93604}, {"co", 1.78897},
                        {"cu", 1.54056}, {"mo", 0.70930}, {"ag", 0.55941}};
  for (const Case& c : cases) {
    const Radiation* radiation = FindRadiation(c.name);
    ASSERT_NE(radiation, nullptr) << c.name;
    EXPECT_NEAR(radiation->wavelength, c.textbook, 1e-4) << c.name;
  }
  EXPECT_EQ(FindRadiation("cu")->wavelength, 1.5405929);
  EXPECT_EQ(FindRadiation("w"), nullptr);
  // Silicon with Cr K-alpha1: the lines a chromium Guinier camera shows.
  const Reference cr = Choose({"si-640e", std::nullopt, "cr", {}});
  ASSERT_EQ(cr.lines.size(), 3u);
  EXPECT_NEAR(cr.lines[0].twoTheta, 42.83, 0.005);
  EXPECT_NEAR(cr.lines[1].twoTheta, 73.20, 0.005);
  EXPECT_NEAR(cr.lines[2].twoTheta, 88.71, 0.005);
}

// The user's cell replaces the certified one; its shape must be the standard's.
TEST(ReferenceChoice, TakesTheUsersCell) {
  const Reference si = Choose({"si-640e", "5.43", std::nullopt, {}});
  EXPECT_EQ(si.a, 5.43);
  EXPECT_NEAR(si.lines[0].twoTheta, BraggDegrees(1.5405929, 5.43 / std::sqrt(3.0)), 1e-9);
  const Reference corundum = Choose({"al2o3-676a", "4.76,13.0", std::nullopt, "1.5"});
  EXPECT_EQ(corundum.a, 4.76);
  EXPECT_EQ(corundum.c, 13.0);
  EXPECT_EQ(corundum.wavelength, 1.5);
  EXPECT_TRUE(corundum.radiation.empty());
  const ReferenceLine* l104 = LineOf(corundum, 1, 0, 4);
  ASSERT_NE(l104, nullptr);
  EXPECT_NEAR(l104->twoTheta, BraggDegrees(1.5, SpacingOf(1, 0, 4, 4.76, 13.0)), 1e-9);
}

TEST(ReferenceChoice, RefusesWhatItCannotUse) {
  struct Case {
    ReferenceRequest request;
    const char* said;  // a part of the refusal
  };
  const Case cases[] = {
      {{"si", std::nullopt, "mo", {}}, "si-640c, si-640d or si-640e"},
      {{"si", std::nullopt, std::nullopt, "1.54"}, "si-640c, si-640d or si-640e"},
      {{"si", "5.43", std::nullopt, {}}, "no cell"},
      {{"si-640f", std::nullopt, std::nullopt, {}}, "unknown standard si-640f"},
      {{"si-640e", std::nullopt, "w", {}}, "unknown radiation w"},
      {{"si-640e", std::nullopt, "cu", "1.54"}, "not both"},
      {{"si-640e", std::nullopt, std::nullopt, "0"}, "positive"},
      {{"si-640e", std::nullopt, std::nullopt, "-1.5"}, "positive"},
      {{"si-640e", std::nullopt, std::nullopt, "nan"}, "positive"},
      {{"si-640e", std::nullopt, std::nullopt, "1.5x"}, "positive"},
      {{"si-640e", std::nullopt, std::nullopt, "20"}, "no line"},
      {{"si-640e", std::nullopt, std::nullopt, "1e-300"}, "too large"},
      {{"si-640e", "5.43,5.43", std::nullopt, {}}, "cubic"},
      {{"si-640e", "", std::nullopt, {}}, "cubic"},
      {{"si-640e", "inf", std::nullopt, {}}, "cubic"},
      {{"si-640e", "1e6", std::nullopt, {}}, "too large"},
      {{"al2o3-676a", "4.76", std::nullopt, {}}, "hexagonal"},
      {{"al2o3-676a", "4.76,", std::nullopt, {}}, "hexagonal"},
      {{"al2o3-676a", "4.76,13,1", std::nullopt, {}}, "hexagonal"},
  };
  for (const Case& c : cases) {
    const std::string error = Refusal(c.request);
    EXPECT_NE(error.find(c.said), std::string::npos) << error;
  }
}

}  // namespace
}  // namespace pellum
