#pragma once

#include <span>
#include <vector>

#include "peaks/peak_candidates.h"
#include "peaks/silicon_finder.h"

namespace pellum {

// The building blocks every finder of a reference's lines shares: one window per line,
// searched on its own, then the checks across the lines found.

// One reflection's part of the profile: where its candidates come from and its peak is
// fitted.
struct Zone {
  std::span<const ProfilePoint> points;
  double step = 0.0;
  double noise = 0.0;
  std::vector<PeakCandidate> candidates;
};

// The options held within what a film can need: beyond these the reach, and the memory it
// takes, would grow without use.
//   window 10 -> 2        maxScale 0.2 -> 0.05
SiliconFinderOptions Bounded(SiliconFinderOptions options);

// The zone of the line whose true two-theta is reference: the points within reach of it
// (maxOffset, the window and the widest peak's flanks), their step, noise and candidates.
Zone MakeZone(std::span<const ProfilePoint> points, double reference,
              const SiliconFinderOptions& options);

// Where the film's offset puts the line whose true two-theta is reference, held within
// maxOffset of it; r takes the reference and the window of +- window about that place,
// which is returned.
//   reference 28.442, offset +0.3, window 0.6 -> 28.742, r's window 28.142 to 29.342
double PlaceWindow(ReflectionSearch& r, double reference, const FilmOffset& offset,
                   const SiliconFinderOptions& options);

// The window's candidates, nearest the prediction first, are fitted until one is clear, of
// plausible width and away from the window's and the profile's edges (Found); else r keeps
// the first one tried and why it was not taken. Each fit starts from the candidate's own
// width, or from width when it is not 0.
void SearchWindow(ReflectionSearch& r, const Zone& zone, double predicted,
                  const SiliconFinderOptions& options, double width = 0.0);

// The checks across the lines found, in order: shared peaks, implausible widths, lines off
// the common line, blends with sample lines (reflection_checks.h). step is the coarsest
// step of the zones.
void CheckAcross(std::span<ReflectionSearch> reflections, std::span<const double> predicted,
                 const SiliconFinderOptions& options, double step);

}  // namespace pellum
