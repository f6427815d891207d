#pragma once

#include <string>

#include "convert/conversion_outcome.h"
#include "io/replacing_output_file.h"
#include "ui/message_sink.h"

namespace pellum {

// Ends a conversion into output: on success the output replaces the file at outputPath
// and "Output file is saved as <outputPath>" is shown under "Info"; otherwise the earlier
// file stays untouched and the failure is shown:
//   InvalidFormat         -> inputPath under "Invalid file format!"
//   ReadFailed            -> inputPath under "Cannot read the input file!"
//   WriteFailed, or a failing close or rename
//                         -> outputPath under "Cannot write the output file!"
// Returns 1 on success, 0 otherwise.
int FinishConversion(ConversionOutcome outcome, ReplacingOutputFile& output,
                     const std::string& inputPath, const std::string& outputPath,
                     MessageSink& messages);

// inputPath under "Cannot read the input file!"; returns 0.
int RefuseUnreadInput(const std::string& inputPath, MessageSink& messages);

// outputPath under "Cannot open an output file!"; returns 0.
int RefuseOutput(const std::string& outputPath, MessageSink& messages);

}  // namespace pellum
