#include "peaks/dense_solve.h"

#include <cmath>
#include <utility>

namespace pellum {
namespace {

// Scales a's columns, then its rows (and b with them), so that each has 1 as its largest
// magnitude: a fit's equations mix heights of thousands of counts with widths of
// hundredths of a degree, and the pivots are then compared on one scale. Returns the
// column scales, or nothing when a row or column is zero or not finite.
std::optional<std::vector<double>> Equilibrate(std::vector<double>& a, std::vector<double>& b) {
  const std::size_t n = b.size();
  std::vector<double> columns(n, 0.0);
  for (std::size_t row = 0; row < n; ++row) {
    for (std::size_t k = 0; k < n; ++k) {
      columns[k] = std::max(columns[k], std::abs(a[row * n + k]));
    }
  }
  for (std::size_t row = 0; row < n; ++row) {
    double largest = 0.0;
    for (std::size_t k = 0; k < n; ++k) {
      if (!(columns[k] > 0.0) || !std::isfinite(columns[k])) {
        return std::nullopt;
      }
      a[row * n + k] /= columns[k];
      largest = std::max(largest, std::abs(a[row * n + k]));
    }
    if (!(largest > 0.0)) {
      return std::nullopt;
    }
    for (std::size_t k = 0; k < n; ++k) {
      a[row * n + k] /= largest;
    }
    b[row] /= largest;
  }
  return columns;
}

}  // namespace

std::optional<std::vector<double>> SolveDense(std::vector<double> a, std::vector<double> b) {
  const std::size_t n = b.size();
  if (a.size() != n * n) {
    return std::nullopt;
  }
  const std::optional<std::vector<double>> columns = Equilibrate(a, b);
  if (!columns) {
    return std::nullopt;
  }
  for (std::size_t column = 0; column < n; ++column) {
    std::size_t pivot = column;
    for (std::size_t row = column + 1; row < n; ++row) {
      if (std::abs(a[row * n + column]) > std::abs(a[pivot * n + column])) {
        pivot = row;
      }
    }
    // A pivot lost in rounding: the system has no one solution.
    if (!(std::abs(a[pivot * n + column]) > 1e-14)) {
      return std::nullopt;
    }
    if (pivot != column) {
      for (std::size_t k = 0; k < n; ++k) {
        std::swap(a[pivot * n + k], a[column * n + k]);
      }
      std::swap(b[pivot], b[column]);
    }
    for (std::size_t row = column + 1; row < n; ++row) {
      const double factor = a[row * n + column] / a[column * n + column];
      for (std::size_t k = column; k < n; ++k) {
        a[row * n + k] -= factor * a[column * n + k];
      }
      b[row] -= factor * b[column];
    }
  }
  std::vector<double> x(n, 0.0);
  for (std::size_t row = n; row-- > 0;) {
    double sum = b[row];
    for (std::size_t k = row + 1; k < n; ++k) {
      sum -= a[row * n + k] * x[k];
    }
    x[row] = sum / a[row * n + row];
  }
  for (std::size_t k = 0; k < n; ++k) {
    x[k] /= (*columns)[k];
    if (!std::isfinite(x[k])) {
      return std::nullopt;
    }
  }
  return x;
}

}  // namespace pellum
