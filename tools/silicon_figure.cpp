// pellum-silicon-figure PROFILE SVG: draws what the silicon finder sees in PROFILE (the
// figure of docs/silicon-finder.md, from examples/film-profile.txt) into SVG.
#include <iostream>
#include <string>

#include "io/input_file.h"
#include "io/replacing_output_file.h"
#include "tools/silicon_figure_svg.h"
#include "ui/path_names.h"

int main(int argc, char** argv) {
  using namespace pellum;
  if (argc != 3) {
    std::cerr << "usage: pellum-silicon-figure PROFILE SVG\n";
    return 2;
  }
  const std::string profile = argv[1];
  InputFile input;
  if (!input.Open(profile)) {
    std::cerr << "pellum-silicon-figure: cannot open " << profile << '\n';
    return 1;
  }
  const ProfileReading reading = ReadProfilePoints(input.Stream(), SiliconReach());
  if (reading.outcome != ProfileReadOutcome::Read) {
    std::cerr << "pellum-silicon-figure: cannot read " << profile << '\n';
    return 1;
  }
  const SiliconSearch search = FindSiliconReflections(reading.points);
  const std::string name(FileNameOf(profile));
  ReplacingOutputFile output(argv[2]);
  if (!output.Open()) {
    std::cerr << "pellum-silicon-figure: cannot open " << argv[2] << '\n';
    return 1;
  }
  output.Stream() << SiliconFigureSvg(reading.points, search, name);
  if (!output.Commit()) {
    std::cerr << "pellum-silicon-figure: cannot write " << argv[2] << '\n';
    return 1;
  }
  return 0;
}
