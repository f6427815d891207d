#include "convert/conversion_finish.h"

namespace pellum {

int FinishConversion(ConversionOutcome outcome, ReplacingOutputFile& output,
                     const std::string& inputPath, const std::string& outputPath,
                     MessageSink& messages) {
  if (outcome == ConversionOutcome::InvalidFormat) {
    output.Discard();
    messages.ShowMessage(inputPath, "Invalid file format!", MessageKind::Error);
    return 0;
  }
  if (outcome == ConversionOutcome::ReadFailed) {
    output.Discard();
    return RefuseUnreadInput(inputPath, messages);
  }
  if (outcome != ConversionOutcome::Converted || !output.Commit()) {
    output.Discard();
    messages.ShowMessage(outputPath, "Cannot write the output file!", MessageKind::Error);
    return 0;
  }
  messages.ShowMessage("Output file is saved as " + outputPath, "Info", MessageKind::Information);
  return 1;
}

int RefuseUnreadInput(const std::string& inputPath, MessageSink& messages) {
  messages.ShowMessage(inputPath, "Cannot read the input file!", MessageKind::Error);
  return 0;
}

int RefuseOutput(const std::string& outputPath, MessageSink& messages) {
  messages.ShowMessage(outputPath, "Cannot open an output file!", MessageKind::Error);
  return 0;
}

}  // namespace pellum
