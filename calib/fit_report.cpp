#include "calib/fit_report.h"

#include <array>
#include <utility>

#include "calib/fixed_notation.h"
#include "io/replacing_output_file.h"
#include "ui/user_texts.h"

namespace pellum {
namespace {

constexpr int kKeyWidth = 10;
constexpr int kValueWidth = 20;
constexpr int kValueDecimals = 6;

void AppendLine(std::string& out, std::string_view key, double value) {
  // "%10s": right-aligned, a longer key is written whole.
  if (key.size() < static_cast<std::size_t>(kKeyWidth))
    out.append(kKeyWidth - key.size(), ' ');
  out.append(key);
  AppendFixed(out, value, kValueDecimals, kValueWidth);
  out.push_back('\n');
}

}  // namespace

std::string FormatFitReport(const FitResult& r) {
  const std::array<std::pair<std::string_view, double>, 17> lines = {{
      {"m111:", r.sy},
      {"m112:", r.sx},
      {"m113:", r.sxx},
      {"m121:", r.sxy},
      {"m123:", r.sxxx},
      {"m131:", r.sxxy},
      {"m133:", r.sxxxx},
      {"m211:", r.s},
      {"delta3by3:", r.delta3},
      {"a1:", r.a1},
      {"a2:", r.a2},
      {"a3:", r.a3},
      {"chisquare3by3:", r.chiSquare3},
      {"delta2by2:", r.delta2},
      {"a2by2:", r.intercept},
      {"b2by2:", r.slope},
      {"chisquare2by2:", r.chiSquare2},
  }};
  std::string out;
  for (const auto& [key, value] : lines)
    AppendLine(out, key, value);
  return out;
}

int WriteFitReport(const FitResult& result, const std::string& path, std::ostream& console) {
  // Replaced only once complete: a write that fails halfway keeps the earlier report.
  ReplacingOutputFile file(path);
  if (file.Open()) {
    const std::string text = FormatFitReport(result);
    file.Stream().write(text.data(), static_cast<std::streamsize>(text.size()));
    if (file.Commit()) {
      return 0;
    }
  }
  // The user sees nothing of this: the calibration stands without its report.
  console << texts::kReportNotWrittenLine;
  return -1;
}

}  // namespace pellum
