#pragma once

#include <array>
#include <span>
#include <string_view>

#include "peaks/silicon_finder.h"

namespace pellum {

// Whether the reflections found are silicon's, before they may calibrate a film.

// Silicon's relative intensities in the reference table's order (Cu radiation, powder):
// 1 1 1 strongest, then 2 2 0 and 3 1 1; 4 0 0, 3 3 1 and 4 2 2 weak.
inline constexpr std::array<double, 6> kSiliconIntensities = {100.0, 55.0, 30.0, 6.0, 11.0, 12.0};

// The lines of a face-centred cubic cell of silicon's size that silicon lacks but a
// fluorite-type phase (CaF2, SrF2, CeO2, ThO2, UO2, cubic ZrO2) shows: h^2 + k^2 + l^2.
struct ExtraLine {
  std::string_view hkl;
  int squares;
};
inline constexpr std::array<ExtraLine, 3> kFluoriteExtraLines = {{
    {"2 0 0", 4},
    {"2 2 2", 12},
    {"4 2 0", 20},
}};

// An extra line's true two-theta on silicon's cell, by Bragg's law from 1 1 1's.
//   FluoriteExtraTwoTheta(0) -> 32.96 (2 0 0)
double FluoriteExtraTwoTheta(std::size_t index);

// A found reflection more than twice as strong (height times width) as the strongest
// found of those silicon makes at least twice as strong holds a sample line:
// UnlikeSilicon. Silicon's own profile, and one of equal heights, keep all six.
//
//   4 0 0 of area 900 beside 1 1 1 of 100, 2 2 0 of 60 -> 4 0 0 UnlikeSilicon
void DropUnlikeSilicon(std::span<ReflectionSearch, 6> reflections);

// The checks of a set of two or more found, in this order:
// - the scale: the least-squares line through their offsets needs a scale beyond maxScale,
//   and the line at maxScale leaves one further than their positions tell apart (0.04
//   degree, or the step): OtherPhaseScale (fluorite beside silicon is 0.8 %);
// - a strong line (a fifth of the strongest found) at 2 0 0, 2 2 2 or 4 2 0 of that line:
//   FluoriteLines;
// - two found where the profile covers more: TooFewLines;
// - silicon's strongest reflection that the profile covers not found, and no clear peak
//   where it stands (one a sample line spoiled counts): NotStrongest.
// points are the profile (with the spans of SiliconReach); predicted where the film's
// offset puts each reflection.
// What the checks of a set share with those of another reference's lines.

// How far from the line at maxScale a set's positions may lie before the scale they need
// is told apart from it, at least: beyond a film's own bends and a faint peak's error.
inline constexpr double kScaleTolerance = 0.04;

// Whether the profile goes 0.3 degree (three points) to each side of at.
bool CoversPlace(std::span<const ProfilePoint> points, double at);

// The offsets of the found reflections against true two-theta - the pivot, by least
// squares; the scale held within maxScale gives the spread of what is left.
struct SetLine {
  double shift = 0.0;
  double scale = 0.0;
  double boundedHalfSpread = 0.0;

  double At(double t) const { return t + shift + scale * (t - FilmOffset::kOffsetPivot); }
};

// What both set checks measure of the found before their checks: the profile's step, the
// line through their offsets, their median width (the upper of two middles), how near a place a
// line is looked for, and whether the scale they need is another phase's (beyond maxScale, and told
// apart from it by more than kScaleTolerance or the step): OtherPhaseScale.
struct SetMeasures {
  double step = 0.0;
  SetLine line;
  double width = 0.0;
  double tolerance = 0.0;
  bool otherPhaseScale = false;
};
SetMeasures MeasureSet(std::span<const ReflectionSearch> reflections,
                       std::span<const ProfilePoint> points, double maxScale);

// Whether a clear peak (minSnr), at least a fifth of strongestArea (height times width),
// stands within tolerance of at: fitted from width, K-alpha doublets as options say.
bool StrongLineAt(std::span<const ProfilePoint> points, double at, double tolerance, double width,
                  double step, double strongestArea, const SiliconFinderOptions& options);

SiliconSetCheck CheckSiliconSet(std::span<const ReflectionSearch, 6> reflections,
                                std::span<const ProfilePoint> points,
                                std::span<const double, 6> predicted,
                                const SiliconFinderOptions& options);

}  // namespace pellum
