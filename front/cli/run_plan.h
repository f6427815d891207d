#pragma once

#include <optional>
#include <string>
#include <vector>

#include "front/cli/cli_options.h"

namespace pellum::cli {

// What one command will write, checked before anything is: each input's output, and which
// inputs may not be converted because their output would destroy a file the user has.
struct InputPlan {
  std::string inputPath;   // absolute, as the listing's first line names its output
  std::string outputPath;  // empty when the input has no output of its own (not .pid/.txt)
  // Empty to convert; else the caption under which the output path is refused.
  std::string refusal;
};

struct RunPlan {
  std::vector<InputPlan> inputs;
  std::string usageError;  // non-empty: nothing may be written (exit 2)
};

// Resolves every input, the report, the chart and each output to the file it names,
// following links. Refused before anything is written (a usage error): a reading longer than
// an entry holds, a report or chart that would be an input or an output, or that is both,
// and a chart of an unknown kind or in a folder that does not exist. Refused per input:
// an output that would be an input ("The output would replace an input file!") and an
// output that an earlier input of the same command already gives ("Two inputs give the
// same output!"); the earlier output is kept. The profile of --two-theta-from is an input.
RunPlan PlanRun(const CliOptions& options);

}  // namespace pellum::cli
