#include "front/cli/find_silicon.h"

#include <array>
#include <charconv>
#include <cmath>

#include "calib/fixed_notation.h"
#include "calib/reference_table.h"
#include "front/cli/cli_run.h"
#include "front/cli/console_messages.h"
#include "peaks/silicon_readings.h"
#include "ui/user_texts.h"

namespace pellum::cli {
namespace {

// "1 1 1" -> "111": one field, as the line's other values are.
std::string CompactHkl(std::string_view hkl) {
  std::string compact;
  for (char c : hkl) {
    if (c != ' ') {
      compact += c;
    }
  }
  return compact;
}

bool Search(const std::string& profile, const CliOptions& options, std::ostream& out,
            std::ostream& err, SiliconSearch& search, bool spacedHkl = false) {
  ConsoleMessages messages(out, err);
  if (!FindSiliconInProfile(profile, FinderOptions(options), search, messages)) {
    return false;
  }
  PrintSiliconSearch(search, out, spacedHkl);
  if (search.Refused()) {
    messages.ShowMessage(profile + ": " + RefusalText(search), texts::kNotSiliconLines,
                         MessageKind::Error);
    return false;
  }
  if (search.FoundCount() < 2) {
    messages.ShowMessage(profile, texts::kTooFewSiliconFound, MessageKind::Error);
    return false;
  }
  return true;
}

}  // namespace

SiliconFinderOptions FinderOptions(const CliOptions& o) {
  SiliconFinderOptions finder;
  if (o.maxScalePercent) {
    finder.maxScale = *o.maxScalePercent / 100.0;
  }
  if (o.radiationLines == "ka1") {
    finder.radiationLines = RadiationLines::KAlpha1;
  } else if (o.radiationLines == "ka12") {
    finder.radiationLines = RadiationLines::KAlpha12;
  }
  return finder;
}

// The height with one decimal, as counts are read; a profile in other units (1e-160 or
// 1e150 per count) gets six significant digits instead: "3.13934e+153".
void AppendHeight(std::string& line, double height) {
  if (height == 0.0 || (std::abs(height) >= 0.1 && std::abs(height) < 1e9)) {
    AppendFixed(line, height, 1);
    return;
  }
  std::array<char, 32> digits{};
  const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), height,
                                    std::chars_format::scientific, 5);
  line.append(digits.data(), result.ptr);
}

void AppendPeak(std::string& line, const ReflectionSearch& r) {
  if (r.Found()) {
    AppendFixed(line, r.position, 4);
    line += ' ';
    AppendHeight(line, r.height);
    line += ' ';
    AppendFixed(line, r.fwhm, 4);
    line += ' ';
    AppendFixed(line, r.snr, 1);
    line += ' ' + UncertaintyText(r);
  } else {
    line += "not-found";
  }
}

void PrintSiliconSearch(const SiliconSearch& search, std::ostream& out, bool spacedHkl) {
  for (std::size_t k = 0; k < search.reflections.size(); ++k) {
    const ReflectionSearch& r = search.reflections[k];
    const std::string_view hkl = ReferenceTable[k].hkl;
    std::string line = "peak " + (spacedHkl ? std::string(hkl) : CompactHkl(hkl)) + ' ';
    AppendPeak(line, r);
    out << line << '\n';
  }
  out << "two-theta " << TwoThetaListText(search) << '\n';
  if (search.kAlpha2) {
    out << "radiation-lines ka12\n";
  }
}

int RunFindSilicon(const CliOptions& options, std::ostream& out, std::ostream& err,
                   bool spacedHkl) {
  SiliconSearch search;
  return Search(*options.findSiliconProfile, options, out, err, search, spacedHkl) ? kExitDone
                                                                                   : kExitRefused;
}

bool ReadingsFromProfile(const CliOptions& options, std::ostream& out, std::ostream& err,
                         std::string& list) {
  SiliconSearch search;
  if (!Search(*options.twoThetaFromProfile, options, out, err, search)) {
    return false;
  }
  list = TwoThetaListText(search);
  return true;
}

}  // namespace pellum::cli
