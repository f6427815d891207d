#pragma once

#include <cmath>

namespace pellum {

// sqrt(x^2 + y^2) without overflow, to the last bit where the C library allows: the
// uncertainties and the calibration record are compared byte for byte between systems.
// Linux's C library gives the correctly rounded value all but very rarely; the Windows C
// runtime's is a bit off in about one case in eight, so there Pellum computes it itself:
// the squares exactly as pairs of doubles (fma), their square root corrected by one Newton
// step.
inline double AccurateHypot(double x, double y) {
#ifdef _WIN32
  x = std::fabs(x);
  y = std::fabs(y);
  if (std::isinf(x) || std::isinf(y))
    return HUGE_VAL;
  if (std::isnan(x) || std::isnan(y))
    return x + y;
  if (x < y)
    std::swap(x, y);
  if (y == 0.0)
    return x;
  // Scaled by a power of two, which is exact, so that the squares neither overflow nor
  // underflow.
  int exponent = 0;
  std::frexp(x, &exponent);
  const double xs = std::ldexp(x, -exponent), ys = std::ldexp(y, -exponent);
  const double xx = xs * xs, xxError = std::fma(xs, xs, -xx);
  const double yy = ys * ys, yyError = std::fma(ys, ys, -yy);
  const double sum = xx + yy;
  const double sumError = (xx - sum) + yy;  // exact: xx >= yy
  const double low = sumError + xxError + yyError;
  double root = std::sqrt(sum);
  root += (std::fma(-root, root, sum) + low) / (2.0 * root);
  return std::ldexp(root, exponent);
#else
  return std::hypot(x, y);
#endif
}

}  // namespace pellum
