#pragma once

#include <span>
#include <vector>

#include "peaks/peak_candidates.h"

namespace pellum {

// Where a film puts the reflections: one whose true two-theta is t appears at
// t + shift + scale (t - kOffsetPivot). A shifted film has shift alone; one that shrank in
// development has a scale too (-0.004 for 0.4 % shorter).
struct FilmOffset {
  static constexpr double kOffsetPivot = 60.0;

  double shift = 0.0;
  double scale = 0.0;
  int support = 0;  // how many reflections agree with it

  double At(double trueTwoTheta) const {
    return trueTwoTheta + shift + scale * (trueTwoTheta - kOffsetPivot);
  }
};

struct FilmOffsetLimits {
  double tolerance = 0.05;  // how near a candidate must come to agree, degrees
  double maxScale = 0.01;   // the largest scale error a film may have
};

// The offset on which most reflections agree. references[k] is reflection k's true
// two-theta and candidates[k] the candidates found within reach of it. Every candidate
// proposes a shift, and every two candidates of two reflections a shift and a scale (held
// within maxScale); the offset that puts clear candidates (strength 8) of the most
// reflections within tolerance of where it predicts them wins, then candidates of the
// most reflections, then the one with candidates three times as strong, then the smallest
// (the set nearest the table: a fluorite-type phase beside silicon sits further off, and
// may be stronger); it is then fitted by least squares to the candidates
// that agree with it, its scale held within maxScale. No candidate at all: no offset,
// support 0.
//
//   candidates at 28.742, 47.603 and 56.422 (and a stronger sample peak at 29.406)
//   -> shift 0.3, scale 0, support 3
FilmOffset EstimateFilmOffset(std::span<const double> references,
                              std::span<const std::vector<PeakCandidate>> candidates,
                              const FilmOffsetLimits& limits);

}  // namespace pellum
