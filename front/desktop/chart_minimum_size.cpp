#include "front/desktop/chart_minimum_size.h"

#include <QString>
#include <algorithm>
#include <cmath>

namespace pellum {
namespace {

// Texts stand at least this far apart, in pixels, and from the area's edges.
constexpr double kGap = 1.0;

double Width(const QFontMetrics& font, const char* text) {
  return font.horizontalAdvance(QString::fromLatin1(text)) + kGap;
}

int Pixels(double v) {
  return static_cast<int>(std::ceil(v));
}

}  // namespace

QSize MinimumChartSize(const QFontMetrics& font) {
  const double line = font.height() + kGap;
  // Widest forms: a reading's label ("28.4"), a reference label, a coefficient line with a
  // two-digit exponent, the equation.
  const double pointLabel = Width(font, "00.0");
  const double referenceLabel = Width(font, "88.030");
  const double axisTitle = Width(font, "Actual 2 theta");
  const double coefficientLine = Width(font, "    a1 = -0.00000000E-10");
  const double equation = Width(
      font, "Actual 2 theta = a1 + a2 x Experimental 2 theta + a3 x (Experimental 2 theta)^2");

  const double scale =
      std::max({line / 4, pointLabel / 7, referenceLabel / 12, axisTitle / 23,
                line / 7 /* reference labels 7 units apart */, line / 10 /* coefficient lines */});
  // "Experimental 2 theta" hangs 5 units below the origin, which leaves a tenth of the
  // height beneath it: 0.1 H >= 5 s + line with s = H / 120.
  const int height = std::max(Pixels(120 * scale), Pixels(line * 120 / 7));
  const double s = height / 120.0;
  // The origin at a fifth of the width: the rest holds 110 units and a coefficient line, or
  // 5 units and the equation; "Actual 2 theta" starts 35 units left of the origin.
  const int width = std::max({Pixels((110 * s + coefficientLine) / 0.8),
                              Pixels((5 * s + equation) / 0.8), Pixels(35 * s / 0.2), height});
  return {width, height};
}

}  // namespace pellum
