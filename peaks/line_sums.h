#pragma once

namespace pellum {

// The sums of an unweighted least-squares straight line y = intercept + slope x, taken point
// by point in the caller's order (the result's bits depend on it).
//
//   LineSums s; s.Add(0, 1); s.Add(2, 5);   s.Slope() -> 2, s.Intercept(2) -> 1
//   fewer than two different x              -> slope 0, the mean y (0 with no point)
struct LineSums {
  double n = 0.0, sx = 0.0, sy = 0.0, sxx = 0.0, sxy = 0.0;

  void Add(double x, double y) {
    n += 1.0;
    sx += x;
    sy += y;
    sxx += x * x;
    sxy += x * y;
  }
  double Slope() const {
    const double spread = n * sxx - sx * sx;
    return spread > 0.0 ? (n * sxy - sx * sy) / spread : 0.0;
  }
  double Intercept(double slope) const { return n > 0.0 ? (sy - slope * sx) / n : 0.0; }
};

}  // namespace pellum
