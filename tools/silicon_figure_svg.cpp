#include "tools/silicon_figure_svg.h"

#include <algorithm>
#include <cmath>

#include "calib/fixed_notation.h"
#include "calib/reference_table.h"
#include "peaks/silicon_readings.h"

namespace pellum {
namespace {

constexpr double kPanelWidth = 300.0;
constexpr double kPanelHeight = 220.0;
constexpr double kGap = 24.0;
constexpr double kTop = 56.0;
constexpr double kLeft = 24.0;
constexpr double kMargin = 0.3;  // degrees shown beyond the window on each side

std::string Number(double value, int decimals = 1) {
  std::string text;
  AppendFixed(text, value, decimals);
  return text;
}

// Maps two-theta and intensity into one panel.
struct Panel {
  double left = 0.0;
  double top = 0.0;
  double low = 0.0;
  double high = 1.0;
  double bottom = 0.0;
  double ceiling = 1.0;

  std::string X(double twoTheta) const {
    return Number(left + (twoTheta - low) / (high - low) * kPanelWidth);
  }
  std::string Y(double intensity) const {
    const double y = top + kPanelHeight - (intensity - bottom) / (ceiling - bottom) * kPanelHeight;
    return Number(std::clamp(y, top, top + kPanelHeight));
  }
};

double ModelAt(const PeakFit& fit, double x) {
  return fit.At(x);
}

void VerticalLine(std::string& svg, const Panel& p, double x, const char* style) {
  svg += "<line x1=\"" + p.X(x) + "\" y1=\"" + Number(p.top) + "\" x2=\"" + p.X(x) + "\" y2=\"" +
         Number(p.top + kPanelHeight) + "\" " + style + "/>\n";
}

void Text(std::string& svg, double x, double y, const std::string& text, const char* anchor,
          int size) {
  svg += "<text x=\"" + Number(x) + "\" y=\"" + Number(y) + "\" text-anchor=\"" + anchor +
         "\" font-size=\"" + std::to_string(size) + "\">" + text + "</text>\n";
}

void DrawPanel(std::string& svg, std::span<const ProfilePoint> points, const ReflectionSearch& r,
               std::size_t k, double left, double top) {
  Panel p{left, top, r.windowLow - kMargin, r.windowHigh + kMargin, 0.0, 1.0};
  std::vector<const ProfilePoint*> shown;
  for (const ProfilePoint& point : points) {
    if (point.twoTheta >= p.low && point.twoTheta <= p.high) {
      shown.push_back(&point);
    }
  }
  double least = HUGE_VAL;
  double most = -HUGE_VAL;
  for (const ProfilePoint* point : shown) {
    least = std::min(least, point->intensity);
    most = std::max(most, point->intensity);
  }
  if (shown.empty() || !(most > least)) {
    least = 0.0;
    most = 1.0;
  }
  p.bottom = least - 0.05 * (most - least);
  p.ceiling = most + 0.12 * (most - least);

  svg += "<rect x=\"" + p.X(r.windowLow) + "\" y=\"" + Number(top) + "\" width=\"" +
         Number((r.windowHigh - r.windowLow) / (p.high - p.low) * kPanelWidth) + "\" height=\"" +
         Number(kPanelHeight) + "\" fill=\"#dbe9f6\"/>\n";
  svg += "<rect x=\"" + Number(left) + "\" y=\"" + Number(top) + "\" width=\"" +
         Number(kPanelWidth) + "\" height=\"" + Number(kPanelHeight) +
         "\" fill=\"none\" stroke=\"#444\"/>\n";
  VerticalLine(svg, p, r.reference, "stroke=\"#777\" stroke-dasharray=\"2,3\"");

  svg += "<polyline fill=\"none\" stroke=\"#555\" stroke-width=\"0.8\" points=\"";
  for (const ProfilePoint* point : shown) {
    svg += p.X(point->twoTheta) + "," + p.Y(point->intensity) + " ";
  }
  svg += "\"/>\n";

  std::string heading = "Si " + std::string(ReferenceTable[k].hkl) + ": ";
  const bool refused = r.verdict == PeakVerdict::NotSilicon;
  if (r.Found() || refused) {
    // Found in red; a line of a set refused as not silicon's in orange, dashed.
    const std::string colour = refused ? "#e67e22" : "#c0392b";
    svg += "<polyline fill=\"none\" stroke=\"" + colour + "\" stroke-width=\"1.6\"" +
           (refused ? " stroke-dasharray=\"5,3\"" : "") + " points=\"";
    constexpr int kSamples = 200;
    for (int i = 0; i <= kSamples; ++i) {
      const double x = r.fit.low + (r.fit.high - r.fit.low) * i / kSamples;
      svg += p.X(x) + "," + p.Y(ModelAt(r.fit, x)) + " ";
    }
    svg += "\"/>\n";
    VerticalLine(svg, p, r.position, ("stroke=\"" + colour + "\"").c_str());
    heading += refused ? Number(r.position, 4) + "  refused"
                       : Number(r.position, 4) + "  FWHM " + Number(r.fwhm, 3) + "  S/N " +
                             Number(r.snr, 0);
  } else {
    heading += "not found";
  }
  Text(svg, left + kPanelWidth / 2, top - 8, heading, "middle", 13);
  for (double x : {r.windowLow, 0.5 * (r.windowLow + r.windowHigh), r.windowHigh}) {
    Text(svg, std::stod(p.X(x)), top + kPanelHeight + 15, Number(x, 2), "middle", 11);
  }
}

}  // namespace

std::string SiliconFigureSvg(std::span<const ProfilePoint> points, const SiliconSearch& search,
                             const std::string& title) {
  const double width = 2 * kLeft + 3 * kPanelWidth + 2 * kGap;
  const double height = kTop + 2 * (kPanelHeight + 52.0) + 24.0;
  std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Number(width, 0) +
                    "\" height=\"" + Number(height, 0) + "\" viewBox=\"0 0 " + Number(width, 0) +
                    " " + Number(height, 0) + "\" font-family=\"DejaVu Sans, sans-serif\">\n";
  svg += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
  if (search.Refused()) {
    Text(svg, width / 2, 24, "Refused in " + title + ": " + RefusalText(search), "middle", 16);
  } else {
    Text(svg, width / 2, 24, "Silicon reflections found in " + title, "middle", 16);
  }
  for (std::size_t k = 0; k < search.reflections.size(); ++k) {
    const double left = kLeft + static_cast<double>(k % 3) * (kPanelWidth + kGap);
    const double top = kTop + static_cast<double>(k / 3) * (kPanelHeight + 52.0);
    DrawPanel(svg, points, search.reflections[k], k, left, top);
  }
  Text(svg, width / 2, height - 12,
       std::string("shaded: search window about the common offset's prediction;  dotted: true "
                   "two-theta;  ") +
           (search.Refused()
                ? "orange, dashed: the lines of the set refused, fitted as a silicon "
                  "reflection would be"
                : "red: fitted pseudo-Voigt on a straight background and the found position"),
       "middle", 11);
  svg += "</svg>\n";
  return svg;
}

}  // namespace pellum
