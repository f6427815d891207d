#include "peaks/film_offset.h"

#include <algorithm>
#include <cmath>

namespace pellum {
namespace {

// The strongest candidates of each reflection that propose offsets; the rest only agree.
constexpr std::size_t kProposing = 8;

// A candidate this strong is a peak for certain, not a rise of the noise.
constexpr double kClearStrength = 8.0;
// Sets whose strengths differ by less than this factor are alike in strength.
constexpr double kStrengthFactor = 3.0;

struct Score {
  int clear = 0;  // agreeing candidates that are clear peaks
  int agreeing = 0;
  double strength = 0.0;
  double size = 0.0;  // how far the offset moves the reflections, on average

  bool BetterThan(const Score& other) const {
    if (clear != other.clear) {
      return clear > other.clear;
    }
    if (agreeing != other.agreeing) {
      return agreeing > other.agreeing;
    }
    if (strength > kStrengthFactor * other.strength ||
        other.strength > kStrengthFactor * strength) {
      return strength > other.strength;
    }
    // Of two sets of peaks alike, the one nearer the table is silicon's: a phase on a
    // cell close to silicon's (fluorite) sits further off, and may be stronger.
    if (size != other.size) {
      return size < other.size;
    }
    return strength > other.strength;
  }
};

// The candidate of reflection k that agrees best with offset (the strongest within
// tolerance of where it predicts k), or none.
const PeakCandidate* Agreeing(const FilmOffset& offset, double reference,
                              const std::vector<PeakCandidate>& candidates, double tolerance) {
  const PeakCandidate* best = nullptr;
  const double predicted = offset.At(reference);
  for (const PeakCandidate& candidate : candidates) {
    if (std::abs(candidate.centre - predicted) <= tolerance &&
        (best == nullptr || candidate.strength > best->strength)) {
      best = &candidate;
    }
  }
  return best;
}

Score Rate(const FilmOffset& offset, std::span<const double> references,
           std::span<const std::vector<PeakCandidate>> candidates, double tolerance) {
  Score score;
  for (std::size_t k = 0; k < references.size(); ++k) {
    score.size += std::abs(offset.At(references[k]) - references[k]);
    if (const PeakCandidate* c = Agreeing(offset, references[k], candidates[k], tolerance)) {
      ++score.agreeing;
      score.clear += c->strength >= kClearStrength ? 1 : 0;
      // A strength beyond 1000 is certain either way; it should not outweigh the rest.
      score.strength += std::min(c->strength, 1000.0);
    }
  }
  return score;
}

// Least squares through the agreeing candidates: offset against true two-theta.
FilmOffset Refine(const FilmOffset& offset, std::span<const double> references,
                  std::span<const std::vector<PeakCandidate>> candidates,
                  const FilmOffsetLimits& limits) {
  double n = 0.0, sx = 0.0, sy = 0.0, sxx = 0.0, sxy = 0.0;
  for (std::size_t k = 0; k < references.size(); ++k) {
    if (const PeakCandidate* c = Agreeing(offset, references[k], candidates[k], limits.tolerance)) {
      const double x = references[k] - FilmOffset::kOffsetPivot;
      const double y = c->centre - references[k];
      n += 1.0;
      sx += x;
      sy += y;
      sxx += x * x;
      sxy += x * y;
    }
  }
  FilmOffset refined = offset;
  refined.support = static_cast<int>(n);
  const double spread = n * sxx - sx * sx;
  if (n >= 2.0 && spread > 0.0) {
    // A film's scale error is bounded; beyond the bound the shift is fitted at the bound.
    const double scale =
        std::clamp((n * sxy - sx * sy) / spread, -limits.maxScale, limits.maxScale);
    refined.scale = scale;
    refined.shift = (sy - scale * sx) / n;
  } else if (n == 1.0) {
    refined.scale = 0.0;
    refined.shift = sy;
  }
  return refined;
}

}  // namespace

FilmOffset EstimateFilmOffset(std::span<const double> references,
                              std::span<const std::vector<PeakCandidate>> candidates,
                              const FilmOffsetLimits& limits) {
  FilmOffset best;
  Score bestScore;
  const auto consider = [&](const FilmOffset& offset) {
    const Score score = Rate(offset, references, candidates, limits.tolerance);
    if (score.BetterThan(bestScore)) {
      best = offset;
      bestScore = score;
    }
  };
  const auto proposing = [&](std::size_t k) {
    return std::span<const PeakCandidate>(candidates[k])
        .first(std::min(kProposing, candidates[k].size()));
  };
  for (std::size_t i = 0; i < references.size(); ++i) {
    for (const PeakCandidate& a : proposing(i)) {
      consider({a.centre - references[i], 0.0, 0});
      for (std::size_t j = i + 1; j < references.size(); ++j) {
        for (const PeakCandidate& b : proposing(j)) {
          const double offsetA = a.centre - references[i];
          const double offsetB = b.centre - references[j];
          const double scale = (offsetB - offsetA) / (references[j] - references[i]);
          if (std::abs(scale) <= limits.maxScale) {
            consider({offsetA - scale * (references[i] - FilmOffset::kOffsetPivot), scale, 0});
          } else {
            // Beyond the bound, the pair proposes the bounded scale through its middle.
            const double bounded = std::clamp(scale, -limits.maxScale, limits.maxScale);
            const double middle = 0.5 * (references[i] + references[j]);
            consider({0.5 * (offsetA + offsetB) - bounded * (middle - FilmOffset::kOffsetPivot),
                      bounded, 0});
          }
        }
      }
    }
  }
  if (bestScore.agreeing == 0) {
    return {};
  }
  return Refine(best, references, candidates, limits);
}

}  // namespace pellum
