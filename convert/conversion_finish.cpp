#include "convert/conversion_finish.h"
#include "ui/user_texts.h"

namespace pellum {

int FinishConversion(ConversionOutcome outcome, ReplacingOutputFile& output,
                     const std::string& inputPath, const std::string& outputPath,
                     MessageSink& messages) {
  if (outcome == ConversionOutcome::InvalidFormat) {
    output.Discard();
    messages.ShowMessage(inputPath, texts::kInvalidFormat, MessageKind::Error);
    return 0;
  }
  if (outcome == ConversionOutcome::ReadFailed) {
    output.Discard();
    return RefuseUnreadInput(inputPath, messages);
  }
  if (outcome != ConversionOutcome::Converted || !output.Commit()) {
    output.Discard();
    messages.ShowMessage(outputPath, texts::kCannotWriteOutput, MessageKind::Error);
    return 0;
  }
  messages.ShowMessage(std::string(texts::kOutputSavedPrefix) + outputPath, texts::kInfoCaption,
                       MessageKind::Information);
  return 1;
}

int RefuseUnreadInput(const std::string& inputPath, MessageSink& messages) {
  messages.ShowMessage(inputPath, texts::kCannotReadInput, MessageKind::Error);
  return 0;
}

int RefuseOutput(const std::string& outputPath, MessageSink& messages) {
  messages.ShowMessage(outputPath, texts::kCannotOpenOutput, MessageKind::Error);
  return 0;
}

}  // namespace pellum
