#include "front/cli/list_lines.h"

#include "calib/fixed_notation.h"
#include "calib/shortest_text.h"
#include "front/cli/cli_run.h"

namespace pellum::cli {

ReferenceRequest ReferenceRequestOf(const CliOptions& o) {
  ReferenceRequest request;
  if (o.standard)
    request.standard = *o.standard;
  request.lattice = o.lattice;
  request.radiation = o.radiation;
  request.wavelength = o.wavelength;
  return request;
}

void PrintReference(const Reference& reference, std::ostream& out) {
  std::string text = "standard " + reference.standard;
  if (!reference.IsBuiltInTable()) {
    text += ' ' + ShortestText(reference.a);
    if (reference.c > 0.0)
      text += ' ' + ShortestText(reference.c);
  }
  text += "\nwavelength " + ShortestText(reference.wavelength) + '\n';
  for (const ReferenceLine& line : reference.lines) {
    text += "line " + std::to_string(line.h) + ' ' + std::to_string(line.k) + ' ' +
            std::to_string(line.l) + ' ';
    AppendFixed(text, line.d, 6);
    text += ' ';
    AppendFixed(text, line.twoTheta, 6);
    text += ' ';
    AppendFixed(text, line.intensity, 1);
    text += '\n';
  }
  out << text;
}

int RunListLines(const CliOptions& options, std::ostream& out, std::ostream& err) {
  Reference reference;
  std::string error;
  if (!ChooseReference(ReferenceRequestOf(options), reference, error)) {
    err << "pellum-cli: " << error << '\n';
    return kExitRefused;
  }
  PrintReference(reference, out);
  return kExitDone;
}

}  // namespace pellum::cli
