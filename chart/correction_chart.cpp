#include "chart/correction_chart.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <vector>

#include "chart/chart_area.h"

namespace pellum {
namespace {

// Tenths of the calibration chart's units: a curve of a thousandth of a degree needs them.
constexpr int kExtent = 1200;
constexpr int kAxis = 1000;
constexpr int kMarkerRadius = 12;
constexpr int kTick = 15;
constexpr int kCurveSegments = 100;
constexpr int kLegendX = 1040;
constexpr int kLegendStep = 75;

constexpr std::string_view kTitle = "Correction = Actual 2 theta - Experimental 2 theta (degrees)";
constexpr std::string_view kExperimentalTitle = "Experimental 2 theta";

// The window of the chart, in data units: x across, the correction down.
struct Window {
  double xLow = 0.0, xHigh = 100.0;
  double yLow = -0.01, yHigh = 0.01;
};

double Correction(const CalibrationCoefficients& c, double x) {
  return CalibratedTwoTheta(c, x) - x;
}

int Logical(double fraction) {
  const double v = std::clamp(fraction * kAxis, -1e6, 1e6);
  return static_cast<int>(std::lround(std::isfinite(v) ? v : 0.0));
}

int X(const Window& w, double x) {
  return Logical((x - w.xLow) / (w.xHigh - w.xLow));
}
int Y(const Window& w, double y) {
  return Logical((y - w.yLow) / (w.yHigh - w.yLow));
}

double Su(const FitQuality* q, double x) {
  return q != nullptr && q->uncertaintiesDefined ? CorrectionUncertainty(*q, x) : NAN;
}

Window WindowOf(const CorrectionChartData& d) {
  Window w;
  if (d.points.empty() || d.quality == nullptr)
    return w;
  const double low = d.quality->rangeLow, high = d.quality->rangeHigh;
  const double margin = std::max(1.0, 0.08 * (high - low));
  w.xLow = low - margin;
  w.xHigh = high + margin;
  double yLow = HUGE_VAL, yHigh = -HUGE_VAL;
  const auto take = [&](double v) {
    if (std::isfinite(v)) {
      yLow = std::min(yLow, v);
      yHigh = std::max(yHigh, v);
    }
  };
  for (const CalibrationPoint& p : d.points)
    take(p.y - p.x);
  for (int k = 0; k <= kCurveSegments; ++k) {
    const double x = w.xLow + (w.xHigh - w.xLow) * k / kCurveSegments;
    const double c = Correction(d.coefficients, x);
    const double su = Su(d.quality, x);
    take(c);
    take(c - su);
    take(c + su);
  }
  if (!(yLow <= yHigh))
    return w;
  const double span = std::max(yHigh - yLow, 1e-4);
  const double middle = 0.5 * (yLow + yHigh);
  w.yLow = middle - 0.55 * span;
  w.yHigh = middle + 0.55 * span;
  return w;
}

// A value with the decimals its tick step needs: 0.002 with step 0.001 -> "0.002".
std::string TickText(double value, double step) {
  const int decimals = std::clamp(static_cast<int>(std::ceil(-std::log10(step) - 1e-9)), 0, 12);
  std::string text(48, '\0');
  const double shown = std::fabs(value) < step * 1e-6 ? 0.0 : value;  // no "-0.000"
  const auto r = std::to_chars(text.data(), text.data() + text.size(), shown,
                               std::chars_format::fixed, decimals);
  text.resize(static_cast<std::size_t>(r.ptr - text.data()));
  return text;
}

std::string Fixed(double value, int decimals) {
  std::string text(48, '\0');
  const auto r = std::to_chars(text.data(), text.data() + text.size(), value,
                               std::chars_format::fixed, decimals);
  text.resize(static_cast<std::size_t>(r.ptr - text.data()));
  return text;
}

std::vector<double> Ticks(double low, double high, int parts) {
  std::vector<double> ticks;
  const double step = NiceStep(high - low, parts);
  if (!(step > 0.0))
    return ticks;
  for (double t = std::ceil(low / step) * step; t <= high && ticks.size() < 50; t += step)
    ticks.push_back(t);
  return ticks;
}

// "3 1 1" -> "311"; "1 0 10" stays, where dropping the spaces would make it another hkl.
std::string HklLabel(std::string_view hkl) {
  std::string out;
  std::size_t digitsInIndex = 0;
  for (char c : hkl) {
    if (c == ' ') {
      digitsInIndex = 0;
      continue;
    }
    if (++digitsInIndex > 1)
      return std::string(hkl);
    out.push_back(c);
  }
  return out.empty() ? "?" : out;
}

std::string_view PointHkl(const CorrectionChartData& d, std::size_t i) {
  return i < d.hklTexts.size() ? std::string_view(d.hklTexts[i]) : ReflectionHkl(d.points[i].y);
}

std::vector<std::string> LegendLines(const CorrectionChartData& d) {
  std::vector<std::string> lines;
  if (d.quality == nullptr || d.points.empty())
    return lines;
  const FitQuality& q = *d.quality;
  lines.assign(d.referenceTitle.begin(), d.referenceTitle.end());
  lines.push_back(std::string("model: ") + (q.straightLine ? "straight line" : "quadratic"));
  lines.push_back("rms " + Fixed(q.rms, 5) + ", max " + Fixed(q.maxAbsResidual, 5));
  lines.push_back("o  reading (hkl), | its residual");
  lines.push_back("-  fitted correction");
  if (q.uncertaintiesDefined)
    lines.push_back(":  +/- 1 su of the correction");
  lines.push_back("calibrated range (dashed):");
  lines.push_back("   " + Fixed(q.rangeLow, 2) + " to " + Fixed(q.rangeHigh, 2));
  if (d.rowsOutsideRange > 0)
    lines.push_back(std::to_string(d.rowsOutsideRange) +
                    (d.rowsOutsideRange == 1 ? " row" : " rows") + " converted outside it");
  return lines;
}

struct Layout {
  Window window;
  std::vector<double> xTicks, yTicks;
  double xStep = 1.0, yStep = 1.0;
  std::vector<ChartText> texts;  // every text, in drawing order
};

Layout LayOut(const CorrectionChartData& d) {
  Layout l;
  l.window = WindowOf(d);
  const Window& w = l.window;
  l.xStep = NiceStep(w.xHigh - w.xLow, 5);
  l.yStep = NiceStep(w.yHigh - w.yLow, 5);
  l.xTicks = Ticks(w.xLow, w.xHigh, 5);
  l.yTicks = Ticks(w.yLow, w.yHigh, 5);
  l.texts.push_back({0, 1085, std::string(kTitle)});
  for (double t : l.yTicks)
    l.texts.push_back({-190, Y(w, t) + 30, TickText(t, l.yStep)});
  for (double t : l.xTicks)
    l.texts.push_back({X(w, t) - 40, -25, TickText(t, l.xStep)});
  l.texts.push_back({400, -85, std::string(kExperimentalTitle)});
  int y = kAxis;
  for (std::string& line : LegendLines(d)) {
    l.texts.push_back({kLegendX, y, std::move(line)});
    y -= kLegendStep;
  }
  if (d.quality != nullptr) {
    for (std::size_t i = 0; i < d.points.size(); ++i) {
      const CalibrationPoint& p = d.points[i];
      l.texts.push_back({X(w, p.x) - 20, Y(w, p.y - p.x) + 75, HklLabel(PointHkl(d, i))});
    }
  }
  return l;
}

void DrawAxes(Canvas& canvas, const Layout& l) {
  canvas.MoveTo(kAxis, 0);
  canvas.LineTo(0, 0);
  canvas.LineTo(0, kAxis);
  for (double t : l.yTicks) {
    canvas.MoveTo(-kTick, Y(l.window, t));
    canvas.LineTo(0, Y(l.window, t));
  }
  for (double t : l.xTicks) {
    canvas.MoveTo(X(l.window, t), -kTick);
    canvas.LineTo(X(l.window, t), 0);
  }
}

// A vertical of dashes 20 units long with gaps of 20.
void DrawDashedVertical(Canvas& canvas, int x) {
  for (int y = 0; y < kAxis; y += 40) {
    canvas.MoveTo(x, y);
    canvas.LineTo(x, std::min(y + 20, kAxis));
  }
}

void DrawCurve(Canvas& canvas, const Window& w, const CorrectionChartData& d, double suFactor,
               bool dotted) {
  for (int k = 0; k <= kCurveSegments; ++k) {
    const double x = w.xLow + (w.xHigh - w.xLow) * k / kCurveSegments;
    const double y = Correction(d.coefficients, x) + suFactor * Su(d.quality, x);
    const int lx = X(w, x), ly = Y(w, y);
    if (k == 0 || (dotted && k % 2 == 0)) {
      canvas.MoveTo(lx, ly);
    } else {
      canvas.LineTo(lx, ly);
    }
  }
}

double MinimumScale(const Canvas& canvas) {
  // Legend lines a step apart, and hkl labels of readings 7 degrees apart in a window of
  // about 70, 100 units.
  return std::max((canvas.TextHeight() + 1.0) / kLegendStep, (canvas.TextWidth("422") + 2.0) / 100);
}

}  // namespace

double NiceStep(double span, int parts) {
  if (!(span > 0.0) || !std::isfinite(span) || parts < 1)
    return 0.0;
  const double raw = span / parts;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0, 10.0}) {
    if (m * power >= raw * 0.999)
      return m * power;
  }
  return 10.0 * power;
}

void PaintCorrectionChart(Canvas& canvas, int clientWidth, int clientHeight,
                          const CorrectionChartData& d) {
  canvas.Clear();
  const Layout l = LayOut(d);
  SetChartAreaMapping(canvas, FitChartArea(canvas, clientWidth, clientHeight, l.texts,
                                           MinimumScale(canvas), kExtent));
  DrawAxes(canvas, l);
  const bool calibrated = d.quality != nullptr && !d.points.empty();
  if (calibrated) {
    DrawDashedVertical(canvas, X(l.window, d.quality->rangeLow));
    DrawDashedVertical(canvas, X(l.window, d.quality->rangeHigh));
    DrawCurve(canvas, l.window, d, 0.0, false);
    if (d.quality->uncertaintiesDefined) {
      DrawCurve(canvas, l.window, d, 1.0, true);
      DrawCurve(canvas, l.window, d, -1.0, true);
    }
    for (const CalibrationPoint& p : d.points) {
      const int x = X(l.window, p.x);
      const int y = Y(l.window, p.y - p.x);
      canvas.MoveTo(x, y);
      canvas.LineTo(x, Y(l.window, Correction(d.coefficients, p.x)));
      canvas.Ellipse(x + kMarkerRadius, y + kMarkerRadius, x - kMarkerRadius, y - kMarkerRadius);
    }
  }
  for (const ChartText& t : l.texts)
    canvas.TextOut(t.x, t.y, t.text);
}

}  // namespace pellum
