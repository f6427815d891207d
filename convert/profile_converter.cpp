#include "convert/profile_converter.h"

#include <array>

#include "convert/conversion_finish.h"
#include "convert/field_number.h"
#include "convert/fixed_rows.h"
#include "convert/line_reader.h"
#include "convert/output_naming.h"
#include "convert/row_block.h"
#include "convert/token.h"
#include "io/input_file.h"
#include "io/replacing_output_file.h"
#include "ui/user_texts.h"

namespace pellum {

namespace {

constexpr int kTwoThetaField = 0;
constexpr int kIntensityField = 1;

// The header names four columns while every row carries only the first two: readers of
// .pro files expect this header exactly as it is.
constexpr std::string_view kHeader = "2 theta (degree)\tI/I(max)x100\treflec_x\treflec_y\n";

}  // namespace

bool FindProfileMaximum(std::istream& in, double& maximum) {
  maximum = 0.0;
  std::string line;
  if (!ReadTextLine(in, line, kKeptLineBytes)) {
    return false;
  }
  std::array<std::string_view, kIntensityField + 1> fields;
  while (ReadTextLine(in, line, kKeptLineBytes)) {
    // Only a strictly greater intensity replaces the maximum, so it stays 0.0 when no
    // intensity is positive, and a not-a-number never becomes it.
    if (SplitLineTokens(line, fields) == fields.size()) {
      const double intensity = ParseFieldNumber(fields[kIntensityField]);
      if (intensity > maximum) {
        maximum = intensity;
      }
    }
  }
  return true;
}

ConversionOutcome WriteCalibratedProfile(std::istream& in, std::ostream& out, double maximum,
                                         const CalibrationCoefficients& coefficients,
                                         ConversionStats* stats) {
  std::string block;
  block.reserve(kRowBlockSize + 128);
  block.append(kHeader);

  std::string line;
  if (!ReadTextLine(in, line, kKeptLineBytes)) {
    FlushRowBlock(out, block);
    return in.bad() ? ConversionOutcome::ReadFailed : ConversionOutcome::InvalidFormat;
  }

  std::uint64_t skipped = 0;
  std::uint64_t outside = 0;
  std::array<std::string_view, kIntensityField + 1> fields;
  while (ReadTextLine(in, line, kKeptLineBytes)) {
    // Both numbers must come from this line; a line without its intensity is skipped.
    if (SplitLineTokens(line, fields) != fields.size()) {
      ++skipped;
      continue;
    }
    const double reading = ParseFieldNumber(fields[kTwoThetaField]);
    outside += OutsideCalibratedRange(stats, reading) ? 1 : 0;
    const double twoTheta = CalibratedTwoTheta(coefficients, reading);
    const double relative = ParseFieldNumber(fields[kIntensityField]) / maximum * 100.0;

    AppendFixedRow(block, twoTheta, 6);
    block.push_back('\t');
    AppendFixedRow(block, relative, 6);
    block.push_back('\n');
    if (block.size() >= kRowBlockSize && !FlushRowBlock(out, block)) {
      return ConversionOutcome::WriteFailed;
    }
  }
  if (in.bad()) {
    return ConversionOutcome::ReadFailed;
  }
  if (stats != nullptr) {
    stats->skippedLines = skipped;
    stats->rowsOutsideRange = outside;
  }
  if (!FlushRowBlock(out, block) || !out.flush()) {
    return ConversionOutcome::WriteFailed;
  }
  return ConversionOutcome::Converted;
}

int ConvertProfileFile(const std::string& inputPath, const CalibrationCoefficients& coefficients,
                       MessageSink& messages, ConversionStats* stats) {
  return ConvertProfileFile(inputPath, coefficients, messages, stats, {});
}

int ConvertProfileFile(const std::string& inputPath, const CalibrationCoefficients& coefficients,
                       MessageSink& messages, ConversionStats* stats,
                       const std::function<void()>& betweenPasses) {
  std::string baseName;
  if (MakeBaseName(inputPath, baseName, messages) == 0) {
    return 0;
  }
  const std::string outputPath = MakeOutputPath(baseName, ".pro");

  InputFile input;
  if (!input.Open(inputPath)) {
    return 0;
  }
  double maximum = 0.0;
  const bool headed = FindProfileMaximum(input.Stream(), maximum);
  if (input.Stream().bad()) {
    return RefuseUnreadInput(inputPath, messages);
  }
  if (!headed) {
    messages.ShowMessage(inputPath, texts::kInvalidFormat, MessageKind::Error);
    return 0;
  }
  if (betweenPasses) {
    betweenPasses();
  }
  input.Rewind();

  ReplacingOutputFile output(outputPath);
  if (!output.Open()) {
    return RefuseOutput(outputPath, messages);
  }
  const ConversionOutcome outcome =
      WriteCalibratedProfile(input.Stream(), output.Stream(), maximum, coefficients, stats);
  return FinishConversion(outcome, output, inputPath, outputPath, messages);
}

}  // namespace pellum
