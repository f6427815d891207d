#include "peaks/peak_fit.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "peaks/dense_solve.h"

namespace pellum {
namespace {

// The parameters: level and slope of the background, then for each peak (the fitted one
// first) its height, Lorentzian share (0 Gaussian to 1 Lorentzian), centre and width. The
// share stays within 0 and 1: a negative Gaussian or Lorentzian part would let a peak take
// the shape of its neighbours' flanks.
constexpr std::size_t kBackgroundParameters = 2;
constexpr std::size_t kShapeParameters = 4;
constexpr int kRounds = 4;
constexpr int kIterations = 100;
// A doublet fit whose K-alpha2 the profile does not show crawls along a bound of the shares
// for all its iterations; a K-alpha doublet fit stops sooner.
constexpr int kDoubletIterations = 25;

struct Bounds {
  double low = 0.0;
  double high = 0.0;
};

struct Problem {
  std::span<const ProfilePoint> points;
  double origin = 0.0;
  double halfRange = 1.0;
  std::vector<Bounds> centres;  // per peak
  Bounds widths;
  bool kAlpha2 = false;
  double kAlpha2Ratio = kKAlpha2WavelengthRatio;
  // Each peak's K-alpha2 centre and its slope, for the K-alpha1 centre they were worked out
  // for: Bragg's law once per step of the fit, not once per point.
  struct KAlpha2Place {
    double centre = -1.0;
    double at = 0.0;
    double slope = 0.0;
  };
  mutable std::vector<KAlpha2Place> kAlpha2Places;
};

std::size_t PeakCount(const std::vector<double>& p) {
  return (p.size() - kBackgroundParameters) / kShapeParameters;
}

// The K-alpha2 line of the peak whose parameters start at p[at]: its value at x, its
// derivatives added to gradient when that is not null.
double AddKAlpha2(const std::vector<double>& p, std::size_t at, double x, double* gradient,
                  Problem::KAlpha2Place& place, double ratio) {
  if (place.centre != p[at + 2]) {
    place = {p[at + 2], KAlpha2TwoTheta(p[at + 2], ratio), KAlpha2Slope(p[at + 2], ratio)};
  }
  const double height = kKAlpha2HeightShare * p[at];
  const double share = p[at + 1];
  const double width = p[at + 3];
  const double z = (x - place.at) / width;
  const double g = std::exp(-PeakShape::kGaussianFactor * z * z);
  const double l = 1.0 / (1.0 + 4.0 * z * z);
  const double shape = (1.0 - share) * g + share * l;
  if (gradient != nullptr) {
    const double byZ = height * ((1.0 - share) * (-2.0 * PeakShape::kGaussianFactor * z * g) +
                                 share * (-8.0 * z * l * l));
    gradient[at] += kKAlpha2HeightShare * shape;
    gradient[at + 1] += height * (l - g);
    gradient[at + 2] += -byZ / width * place.slope;
    gradient[at + 3] += -byZ * z / width;
  }
  return height * shape;
}

// The model at x, and its derivatives by each parameter when gradient is not null.
double Evaluate(const std::vector<double>& p, const Problem& problem, double x, double* gradient) {
  const double u = (x - problem.origin) / problem.halfRange;
  double f = p[0] + p[1] * u;
  if (gradient != nullptr) {
    gradient[0] = 1.0;
    gradient[1] = u;
  }
  for (std::size_t k = 0; k < PeakCount(p); ++k) {
    const std::size_t at = kBackgroundParameters + k * kShapeParameters;
    const double height = p[at];
    const double share = p[at + 1];
    const double width = p[at + 3];
    const double z = (x - p[at + 2]) / width;
    const double g = std::exp(-PeakShape::kGaussianFactor * z * z);
    const double l = 1.0 / (1.0 + 4.0 * z * z);
    const double shape = (1.0 - share) * g + share * l;
    f += height * shape;
    if (gradient != nullptr) {
      const double byZ = height * ((1.0 - share) * (-2.0 * PeakShape::kGaussianFactor * z * g) +
                                   share * (-8.0 * z * l * l));
      gradient[at] = shape;
      gradient[at + 1] = height * (l - g);
      gradient[at + 2] = -byZ / width;
      gradient[at + 3] = -byZ * z / width;
    }
    if (problem.kAlpha2) {
      if (problem.kAlpha2Places.size() <= k) {
        problem.kAlpha2Places.resize(k + 1);
      }
      f += AddKAlpha2(p, at, x, gradient, problem.kAlpha2Places[k], problem.kAlpha2Ratio);
    }
  }
  return f;
}

double SquaredResiduals(const std::vector<double>& p, const Problem& problem) {
  double sum = 0.0;
  for (const ProfilePoint& point : problem.points) {
    const double r = point.intensity - Evaluate(p, problem, point.twoTheta, nullptr);
    sum += r * r;
  }
  return sum;
}

bool Admissible(const std::vector<double>& p, const Problem& problem) {
  for (std::size_t k = 0; k < PeakCount(p); ++k) {
    const std::size_t at = kBackgroundParameters + k * kShapeParameters;
    const double centre = p[at + 2];
    const double width = p[at + 3];
    if (!(centre >= problem.centres[k].low && centre <= problem.centres[k].high) ||
        !(width >= problem.widths.low && width <= problem.widths.high)) {
      return false;
    }
  }
  return true;
}

// The heights and the background for the shares, centres and widths in p, by linear
// least squares: where Levenberg-Marquardt starts.
bool SolveHeights(std::vector<double>& p, const Problem& problem) {
  const std::size_t peaks = PeakCount(p);
  const std::size_t n = kBackgroundParameters + peaks;
  std::vector<double> normal(n * n, 0.0);
  std::vector<double> right(n, 0.0);
  std::vector<double> gradient(p.size());
  std::vector<double> row(n);
  for (const ProfilePoint& point : problem.points) {
    Evaluate(p, problem, point.twoTheta, gradient.data());
    row[0] = gradient[0];
    row[1] = gradient[1];
    for (std::size_t k = 0; k < peaks; ++k) {
      row[kBackgroundParameters + k] = gradient[kBackgroundParameters + k * kShapeParameters];
    }
    for (std::size_t i = 0; i < n; ++i) {
      right[i] += row[i] * point.intensity;
      for (std::size_t j = 0; j < n; ++j) {
        normal[i * n + j] += row[i] * row[j];
      }
    }
  }
  const std::optional<std::vector<double>> solution = SolveDense(normal, right);
  if (!solution) {
    return false;
  }
  p[0] = (*solution)[0];
  p[1] = (*solution)[1];
  for (std::size_t k = 0; k < peaks; ++k) {
    p[kBackgroundParameters + k * kShapeParameters] = (*solution)[kBackgroundParameters + k];
  }
  return true;
}

// Levenberg-Marquardt from p, with Marquardt's scaling of the damping by the curvature.
// Returns the sum of squared residuals at the end.
double Minimise(std::vector<double>& p, const Problem& problem) {
  const std::size_t n = p.size();
  double squares = SquaredResiduals(p, problem);
  double damping = 1e-3;
  std::vector<double> gradient(n);
  const int iterations = problem.kAlpha2 ? kDoubletIterations : kIterations;
  for (int iteration = 0; iteration < iterations; ++iteration) {
    std::vector<double> normal(n * n, 0.0);
    std::vector<double> right(n, 0.0);
    for (const ProfilePoint& point : problem.points) {
      const double r = point.intensity - Evaluate(p, problem, point.twoTheta, gradient.data());
      for (std::size_t i = 0; i < n; ++i) {
        right[i] += gradient[i] * r;
        for (std::size_t j = 0; j <= i; ++j) {
          normal[i * n + j] += gradient[i] * gradient[j];
        }
      }
    }
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = 0; j < i; ++j) {
        normal[j * n + i] = normal[i * n + j];
      }
    }
    bool improved = false;
    while (!improved && damping < 1e12) {
      std::vector<double> damped = normal;
      for (std::size_t i = 0; i < n; ++i) {
        damped[i * n + i] += damping * std::max(normal[i * n + i], 1e-300);
      }
      const std::optional<std::vector<double>> step = SolveDense(damped, right);
      if (step) {
        std::vector<double> next = p;
        for (std::size_t i = 0; i < n; ++i) {
          next[i] += (*step)[i];
        }
        // A share beyond 0 or 1 is held at the bound, and the rest of the step is kept.
        for (std::size_t k = 0; k < PeakCount(next); ++k) {
          double& share = next[kBackgroundParameters + k * kShapeParameters + 1];
          share = std::clamp(share, 0.0, 1.0);
        }
        const double nextSquares =
            Admissible(next, problem) ? SquaredResiduals(next, problem) : squares * 2.0 + 1.0;
        if (nextSquares < squares) {
          const double gain = squares - nextSquares;
          p = std::move(next);
          squares = nextSquares;
          damping = std::max(damping * 0.1, 1e-12);
          improved = true;
          // A step that no longer changes the sum in its tenth significant digit ends it.
          if (gain <= 1e-10 * squares) {
            return squares;
          }
          continue;
        }
      }
      damping *= 10.0;
    }
    if (!improved) {
      break;  // no step lowers the sum: a minimum
    }
  }
  return squares;
}

// The standard uncertainty of the first peak's centre. The covariance of the parameters is
// A^-1 M A^-1, A = sum of J J^T over the points and M = sum of J J^T var; the variance of a
// point is taken in proportion to the model there, as counting statistics make it, with
// the proportion from the residuals (1 for counts, less for counts per second): a fit that
// leaves more than the counts explain gets a larger su. Where the model is not positive
// (a background subtracted), every point gets the mean squared residual instead.
// 0 when A is singular.
double CentreUncertainty(const std::vector<double>& p, const Problem& problem) {
  const std::size_t n = p.size();
  std::vector<double> normal(n * n, 0.0);
  std::vector<double> gradient(n);
  double perModel = 0.0;
  double squares = 0.0;
  bool positive = true;
  for (const ProfilePoint& point : problem.points) {
    const double model = Evaluate(p, problem, point.twoTheta, gradient.data());
    const double r = point.intensity - model;
    squares += r * r;
    positive = positive && model > 0.0;
    perModel += model > 0.0 ? r * r / model : 0.0;
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = 0; j < n; ++j) {
        normal[i * n + j] += gradient[i] * gradient[j];
      }
    }
  }
  const double freedom = static_cast<double>(problem.points.size() - n);
  std::vector<double> unit(n, 0.0);
  unit[kBackgroundParameters + 2] = 1.0;
  const std::optional<std::vector<double>> v = SolveDense(normal, unit);
  if (!v || !(freedom > 0.0)) {
    return 0.0;
  }
  double variance = 0.0;
  for (const ProfilePoint& point : problem.points) {
    const double model = Evaluate(p, problem, point.twoTheta, gradient.data());
    double jv = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
      jv += gradient[i] * (*v)[i];
    }
    const double pointVariance = positive ? perModel / freedom * model : squares / freedom;
    variance += jv * jv * pointVariance;
  }
  return std::sqrt(variance);
}

struct Range {
  std::size_t first = 0;
  std::size_t last = 0;  // one past
  double low = 0.0;
  double high = 0.0;
};

Range PointsWithin(std::span<const ProfilePoint> points, double low, double high) {
  const auto byTwoTheta = [](const ProfilePoint& point, double x) { return point.twoTheta < x; };
  const auto first = std::lower_bound(points.begin(), points.end(), low, byTwoTheta);
  auto last = first;
  while (last != points.end() && last->twoTheta <= high) {
    ++last;
  }
  return {static_cast<std::size_t>(first - points.begin()),
          static_cast<std::size_t>(last - points.begin()), low, high};
}

// The nearest neighbour on each side whose flank (1.5 widths) reaches the peak's range,
// and that is not the peak itself (closer than `apart` times its width).
std::vector<PeakGuess> ReachingNeighbours(const PeakGuess& peak,
                                          const std::vector<PeakGuess>& others, double reach,
                                          double apart) {
  std::optional<PeakGuess> below;
  std::optional<PeakGuess> above;
  for (const PeakGuess& other : others) {
    const double distance = std::abs(other.centre - peak.centre);
    if (distance < apart * peak.fwhm || distance - 1.5 * other.fwhm > reach) {
      continue;
    }
    std::optional<PeakGuess>& side = other.centre < peak.centre ? below : above;
    if (!side || distance < std::abs(side->centre - peak.centre)) {
      side = other;
    }
  }
  std::vector<PeakGuess> reaching;
  for (const std::optional<PeakGuess>& side : {below, above}) {
    if (side) {
      reaching.push_back(*side);
    }
  }
  return reaching;
}

PeakShape ShapeAt(const std::vector<double>& p, std::size_t k) {
  const std::size_t at = kBackgroundParameters + k * kShapeParameters;
  return {p[at + 2], p[at + 3], p[at] * (1.0 - p[at + 1]), p[at] * p[at + 1]};
}

// The rounds of one fit: the range follows the fitted peak until it holds the same points.
PeakFit FitRounds(std::span<const ProfilePoint> points, const PeakGuess& guess,
                  const std::vector<PeakGuess>& neighbours, double step, double maxFwhm,
                  bool kAlpha2, double ratio) {
  PeakFit fit;
  fit.kAlpha2 = kAlpha2;
  fit.kAlpha2Ratio = ratio;
  std::vector<double> p(kBackgroundParameters + kShapeParameters * (1 + neighbours.size()), 0.0);
  const auto place = [&p](std::size_t k, const PeakGuess& g) {
    p[kBackgroundParameters + k * kShapeParameters + 1] = 0.5;
    p[kBackgroundParameters + k * kShapeParameters + 2] = g.centre;
    p[kBackgroundParameters + k * kShapeParameters + 3] = g.fwhm;
  };
  place(0, guess);
  for (std::size_t k = 0; k < neighbours.size(); ++k) {
    place(k + 1, neighbours[k]);
  }

  Problem problem;
  problem.widths = {0.5 * step, 2.0 * maxFwhm};
  problem.kAlpha2 = kAlpha2;
  problem.kAlpha2Ratio = ratio;
  Range previous{0, 0, 0.0, 0.0};
  for (int round = 0; round < kRounds; ++round) {
    const PeakShape peak = ShapeAt(p, 0);
    const double reach = std::max(1.5 * peak.fwhm, 5.0 * step);
    double low = peak.centre - reach;
    double high = (kAlpha2 ? KAlpha2TwoTheta(peak.centre, ratio) : peak.centre) + reach;
    problem.centres = {{low, high}};
    for (const PeakGuess& neighbour : neighbours) {
      const double around = std::max(neighbour.fwhm, 2.0 * step);
      problem.centres.push_back({neighbour.centre - around, neighbour.centre + around});
      low = std::min(low, neighbour.centre - around);
      high = std::max(high, neighbour.centre + around);
    }
    const Range range = PointsWithin(points, low, high);
    if (round > 0 && range.first == previous.first && range.last == previous.last) {
      break;
    }
    previous = range;
    const std::size_t count = range.last - range.first;
    problem.points = points.subspan(range.first, count);
    problem.origin = 0.5 * (low + high);
    problem.halfRange = 0.5 * (high - low);
    if (count < p.size() + 3 || !SolveHeights(p, problem)) {
      return PeakFit{};
    }
    const double squares = Minimise(p, problem);
    fit.converged = std::isfinite(squares);
    fit.low = low;
    fit.high = high;
    fit.pointCount = count;
    fit.residualRms = std::sqrt(squares / static_cast<double>(count - p.size()));
    fit.background = {problem.origin, p[0], p[1] / problem.halfRange};
  }
  fit.peak = ShapeAt(p, 0);
  fit.centreSu = CentreUncertainty(p, problem);
  for (std::size_t k = 0; k < neighbours.size(); ++k) {
    fit.neighbours.push_back(ShapeAt(p, k + 1));
  }
  return fit;
}

}  // namespace

PeakFit FitPeak(std::span<const ProfilePoint> points, const PeakFitRequest& request) {
  const double step = request.step > 0.0 ? request.step : kProfileBinWidth;
  // The peak alone first. Fitted alone, a peak takes in the flanks of close neighbours
  // and comes out too wide; so neighbours down to 0.4 of that width are fitted with it,
  // and those then closer than 0.8 of its width as fitted with them were bumps of the
  // peak itself, not peaks: it is fitted again without them.
  const PeakFit alone = FitRounds(points, request.peak, {}, step, request.maxFwhm, request.kAlpha2,
                                  request.kAlpha2Ratio);
  const PeakGuess peak =
      alone.converged ? PeakGuess{alone.peak.centre, alone.peak.fwhm} : request.peak;
  const double reach = std::max(1.5 * peak.fwhm, 5.0 * step);
  std::vector<PeakGuess> others = request.neighbours;
  if (request.kAlpha2) {
    // A candidate where the peak's own K-alpha2 stands is that line, not a neighbour.
    const double own = KAlpha2TwoTheta(peak.centre, request.kAlpha2Ratio);
    std::erase_if(others,
                  [&](const PeakGuess& g) { return std::abs(g.centre - own) < 0.5 * peak.fwhm; });
  }
  const std::vector<PeakGuess> neighbours = ReachingNeighbours(peak, others, reach, 0.4);
  if (neighbours.empty()) {
    return alone;
  }
  const PeakFit together = FitRounds(points, peak, neighbours, step, request.maxFwhm,
                                     request.kAlpha2, request.kAlpha2Ratio);
  if (!together.converged) {
    return alone;
  }
  const PeakGuess fitted{together.peak.centre, together.peak.fwhm};
  const std::vector<PeakGuess> apart = ReachingNeighbours(fitted, neighbours, reach, 0.8);
  if (apart.size() == neighbours.size()) {
    return together;
  }
  if (apart.empty()) {
    return alone;
  }
  const PeakFit fewer =
      FitRounds(points, peak, apart, step, request.maxFwhm, request.kAlpha2, request.kAlpha2Ratio);
  return fewer.converged ? fewer : alone;
}

double PeakFit::At(double twoTheta) const {
  const auto doublet = [this](const PeakShape& shape, double x) {
    double y = shape.At(x);
    if (kAlpha2) {
      PeakShape second = shape;
      second.centre = KAlpha2TwoTheta(shape.centre, kAlpha2Ratio);
      second.gaussianHeight *= kKAlpha2HeightShare;
      second.lorentzianHeight *= kKAlpha2HeightShare;
      y += second.At(x);
    }
    return y;
  };
  double y = background.At(twoTheta) + doublet(peak, twoTheta);
  for (const PeakShape& neighbour : neighbours) {
    y += doublet(neighbour, twoTheta);
  }
  return y;
}

}  // namespace pellum
