#include "peaks/reflection_checks.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "peaks/line_sums.h"

namespace pellum {
namespace {

std::vector<std::size_t> FoundIndices(std::span<const ReflectionSearch> reflections) {
  std::vector<std::size_t> found;
  for (std::size_t k = 0; k < reflections.size(); ++k) {
    if (reflections[k].Found()) {
      found.push_back(k);
    }
  }
  return found;
}

double Offset(const ReflectionSearch& r) {
  return r.position - r.reference;
}

// The line through two found reflections' offsets, against true two-theta.
struct Line {
  double at = 0.0;  // the offset at reference 0
  double slope = 0.0;

  double OffsetAt(double reference) const { return at + slope * reference; }
};

Line Through(const ReflectionSearch& a, const ReflectionSearch& b) {
  Line line;
  line.slope = (Offset(b) - Offset(a)) / (b.reference - a.reference);
  line.at = Offset(a) - line.slope * a.reference;
  return line;
}

// The line through two found reflections with its slope held within maxScale: beyond it,
// the bounded slope through their middle.
Line BoundedThrough(const ReflectionSearch& a, const ReflectionSearch& b, double maxScale) {
  const Line line = Through(a, b);
  if (std::abs(line.slope) <= maxScale) {
    return line;
  }
  Line bounded;
  bounded.slope = std::clamp(line.slope, -maxScale, maxScale);
  const double middle = 0.5 * (a.reference + b.reference);
  bounded.at = 0.5 * (Offset(a) + Offset(b)) - bounded.slope * middle;
  return bounded;
}

}  // namespace

void DropSharedPeaks(std::span<ReflectionSearch> reflections, std::span<const double> predicted) {
  for (std::size_t i = 0; i < reflections.size(); ++i) {
    for (std::size_t j = i + 1; j < reflections.size(); ++j) {
      ReflectionSearch& a = reflections[i];
      ReflectionSearch& b = reflections[j];
      if (!a.Found() || !b.Found() ||
          std::abs(a.position - b.position) >= std::max(a.fwhm, b.fwhm)) {
        continue;
      }
      const bool aFarther =
          std::abs(a.position - predicted[i]) > std::abs(b.position - predicted[j]);
      (aFarther ? a : b).verdict = PeakVerdict::Shared;
    }
  }
}

double MedianFoundWidth(std::span<const ReflectionSearch> reflections) {
  std::vector<double> widths;
  for (std::size_t k : FoundIndices(reflections)) {
    widths.push_back(reflections[k].fwhm);
  }
  if (widths.size() < 2) {
    return 0.0;
  }
  std::sort(widths.begin(), widths.end());
  const std::size_t n = widths.size();
  return n % 2 == 1 ? widths[n / 2] : 0.5 * (widths[n / 2 - 1] + widths[n / 2]);
}

void DropImplausibleWidths(std::span<ReflectionSearch> reflections) {
  const std::vector<std::size_t> found = FoundIndices(reflections);
  if (found.size() < 3) {
    return;
  }
  const double median = MedianFoundWidth(reflections);
  for (std::size_t k : found) {
    const double w = reflections[k].fwhm;
    if (w > 2.5 * median || 2.5 * w < median) {
      reflections[k].verdict = PeakVerdict::ImplausibleWidth;
    }
  }
}

void DropOffTheLine(std::span<ReflectionSearch> reflections, double agreement, double maxScale,
                    double floor) {
  // How near the line each must lie: agreement, or closer by what its su allows.
  const auto near = [&](const ReflectionSearch& r) {
    return floor > 0.0 ? std::min(agreement, std::max(floor, 4.0 * r.su)) : agreement;
  };
  const std::vector<std::size_t> found = FoundIndices(reflections);
  if (found.size() == 2) {
    ReflectionSearch& a = reflections[found[0]];
    ReflectionSearch& b = reflections[found[1]];
    const Line line = BoundedThrough(a, b, maxScale);
    if (std::abs(Offset(a) - line.OffsetAt(a.reference)) > agreement) {
      (a.snr < b.snr ? a : b).verdict = PeakVerdict::OffTheLine;
    }
    return;
  }
  if (found.size() < 3) {
    return;
  }
  std::vector<bool> bestOn;
  std::size_t bestCount = 0;
  double bestClarity = 0.0;
  for (std::size_t i = 0; i < found.size(); ++i) {
    for (std::size_t j = i + 1; j < found.size(); ++j) {
      const Line line = BoundedThrough(reflections[found[i]], reflections[found[j]], maxScale);
      std::vector<bool> on(found.size());
      std::size_t count = 0;
      double clarity = 0.0;
      for (std::size_t m = 0; m < found.size(); ++m) {
        const ReflectionSearch& r = reflections[found[m]];
        on[m] = std::abs(Offset(r) - line.OffsetAt(r.reference)) <= near(r);
        if (on[m]) {
          ++count;
          clarity += std::log(r.snr);
        }
      }
      if (count > bestCount || (count == bestCount && clarity > bestClarity)) {
        bestOn = on;
        bestCount = count;
        bestClarity = clarity;
      }
    }
  }
  if (bestOn.empty()) {
    // No line within the film's scale holds even the pair it was drawn through: none agrees
    // with another, and the line through one reflection alone is the clearest one's.
    const auto clearest = std::max_element(found.begin(), found.end(), [&](auto a, auto b) {
      return reflections[a].snr < reflections[b].snr;
    });
    bestOn.assign(found.size(), false);
    bestOn[static_cast<std::size_t>(clearest - found.begin())] = true;
  }
  for (std::size_t m = 0; m < found.size(); ++m) {
    if (!bestOn[m]) {
      reflections[found[m]].verdict = PeakVerdict::OffTheLine;
    }
  }
}

namespace {

// The least-squares line through the offsets of the found reflections other than skip.
Line LeastSquaresWithout(std::span<const ReflectionSearch> reflections,
                         const std::vector<std::size_t>& found, std::size_t skip) {
  LineSums sums;
  for (std::size_t k : found) {
    if (k != skip)
      sums.Add(reflections[k].reference, Offset(reflections[k]));
  }
  Line line;
  line.slope = sums.Slope();
  line.at = sums.Intercept(line.slope);
  return line;
}

}  // namespace

void DropBlends(std::span<ReflectionSearch> reflections, double floor) {
  while (true) {
    const std::vector<std::size_t> found = FoundIndices(reflections);
    if (found.size() < 4) {
      return;
    }
    std::size_t worst = found.front();
    double worstExcess = 0.0;
    for (std::size_t k : found) {
      const ReflectionSearch& r = reflections[k];
      const double off =
          std::abs(Offset(r) - LeastSquaresWithout(reflections, found, k).OffsetAt(r.reference));
      const double excess = off / std::max(floor, 5.0 * r.su);
      if (excess > worstExcess) {
        worst = k;
        worstExcess = excess;
      }
    }
    if (worstExcess <= 1.0) {
      return;
    }
    reflections[worst].verdict = PeakVerdict::OffTheLine;
  }
}

}  // namespace pellum
