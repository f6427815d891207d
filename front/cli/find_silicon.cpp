#include "front/cli/find_silicon.h"

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

bool Search(const std::string& profile, std::ostream& out, std::ostream& err,
            SiliconSearch& search) {
  ConsoleMessages messages(out, err);
  if (!FindSiliconInProfile(profile, {}, search, messages)) {
    return false;
  }
  PrintSiliconSearch(search, out);
  if (search.FoundCount() < 2) {
    messages.ShowMessage(profile, texts::kTooFewSiliconFound, MessageKind::Error);
    return false;
  }
  return true;
}

}  // namespace

std::string ProfileOptionsError(const CliOptions& o) {
  if (o.findSiliconProfile) {
    const bool alone = !o.twoThetaList && !o.twoThetaFromProfile && !o.calibrationPath &&
                       !o.calibrationOutPath && o.files.empty() && !o.chartPath &&
                       !o.correctionChartPath && !o.trace && !o.modelGiven &&
                       o.reportPath == texts::kReportFileName;
    return alone ? "" : "--find-silicon PROFILE takes no other option and no file";
  }
  if (o.twoThetaFromProfile && (o.twoThetaList || o.calibrationPath)) {
    return "--two-theta-from takes the place of --two-theta: give one of them, and no "
           "--calibration";
  }
  return "";
}

void PrintSiliconSearch(const SiliconSearch& search, std::ostream& out) {
  for (std::size_t k = 0; k < search.reflections.size(); ++k) {
    const ReflectionSearch& r = search.reflections[k];
    std::string line = "peak " + CompactHkl(ReferenceTable[k].hkl) + ' ';
    if (r.Found()) {
      AppendFixed(line, r.position, 4);
      line += ' ';
      AppendFixed(line, r.height, 1);
      line += ' ';
      AppendFixed(line, r.fwhm, 4);
      line += ' ';
      AppendFixed(line, r.snr, 1);
    } else {
      line += "not-found";
    }
    out << line << '\n';
  }
  out << "two-theta " << TwoThetaListText(search) << '\n';
}

int RunFindSilicon(const std::string& profile, std::ostream& out, std::ostream& err) {
  SiliconSearch search;
  return Search(profile, out, err, search) ? kExitDone : kExitRefused;
}

bool ReadingsFromProfile(const std::string& profile, std::ostream& out, std::ostream& err,
                         std::string& list) {
  SiliconSearch search;
  if (!Search(profile, out, err, search)) {
    return false;
  }
  list = TwoThetaListText(search);
  return true;
}

}  // namespace pellum::cli
