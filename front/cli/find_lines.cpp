#include "front/cli/find_lines.h"

#include "front/cli/cli_run.h"
#include "front/cli/console_messages.h"
#include "front/cli/find_silicon.h"
#include "front/cli/list_lines.h"
#include "front/cli/reference_calibration.h"
#include "refs/radiation.h"
#include "ui/user_texts.h"

namespace pellum::cli {
namespace {

// The K-alpha2 beside a wavelength of the user's is not known: its doublets cannot be fitted.
bool CheckRadiationLines(const CliOptions& options, const LineSet& set, std::ostream& err) {
  if (options.radiationLines == "ka12" && !(set.kAlpha2Ratio > 0.0)) {
    err << "pellum-cli: --radiation-lines ka12 needs --radiation: the K-alpha2 beside a "
           "wavelength of your own is not known\n";
    return false;
  }
  return true;
}

bool Search(const std::string& profile, const CliOptions& options, const Reference& reference,
            std::ostream& out, std::ostream& err, std::string& list) {
  LineSet set;
  std::string error;
  if (!LineSetOf(reference, set, error)) {
    err << "pellum-cli: " << error << '\n';
    return false;
  }
  if (!CheckRadiationLines(options, set, err))
    return false;
  ConsoleMessages messages(out, err);
  LineSearch search;
  if (!FindLinesInProfile(profile, set, FinderOptions(options), search, messages))
    return false;
  PrintLineSearch(search, set, out);
  const std::string material = reference.material;
  if (search.Refused()) {
    messages.ShowMessage(
        profile + ": " + RefusalText(search, set),
        std::string(texts::kNotLinesOf) + material + std::string(texts::kMessageEnd),
        MessageKind::Error);
    return false;
  }
  if (search.FoundCount() < 2) {
    messages.ShowMessage(
        profile, std::string(texts::kTooFewLinesOf) + material + std::string(texts::kMessageEnd),
        MessageKind::Error);
    return false;
  }
  list = TwoThetaListText(search);
  return true;
}

}  // namespace

void PrintLineSearch(const LineSearch& search, const LineSet& set, std::ostream& out) {
  for (std::size_t k = 0; k < search.lines.size(); ++k) {
    std::string line = "peak " + LineHklText(set.lines[k]) + ' ';
    AppendPeak(line, search.lines[k]);
    out << line << '\n';
  }
  out << "two-theta " << TwoThetaListText(search) << '\n';
  if (search.kAlpha2)
    out << "radiation-lines ka12\n";
}

int RunFindLines(const CliOptions& options, std::ostream& out, std::ostream& err) {
  Reference reference;
  std::string error;
  if (!ChooseReference(ReferenceRequestOf(options), reference, error)) {
    err << "pellum-cli: " << error << '\n';
    return kExitRefused;
  }
  if (reference.IsBuiltInTable()) {
    CliOptions silicon = options;
    silicon.findSiliconProfile = options.findLinesProfile;
    return RunFindSilicon(silicon, out, err, true);
  }
  std::string list;
  return Search(*options.findLinesProfile, options, reference, out, err, list) ? kExitDone
                                                                               : kExitRefused;
}

bool ReadingsFromProfileOf(const CliOptions& options, const Reference& reference, std::ostream& out,
                           std::ostream& err, std::string& list) {
  return Search(*options.twoThetaFromProfile, options, reference, out, err, list);
}

}  // namespace pellum::cli
