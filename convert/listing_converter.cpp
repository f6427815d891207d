#include "convert/listing_converter.h"

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

namespace pellum {

namespace {

// Two-theta (field 0) and intensity (field 4) of a listing row.
constexpr int kTwoThetaField = 0;
constexpr int kIntensityField = 4;

// Reads lines until one ends the header. False when the input ends first. A header line
// longer than the kept bytes is judged by the first field within them, and its line end is
// still found, so the heading after a long title line is found too.
bool SkipHeader(std::istream& in, std::string& line, std::string& token) {
  while (ReadTextLine(in, line, kKeptLineBytes)) {
    if (ExtractToken(0, line, token) == 1 && EndsListingHeader(token)) {
      return true;
    }
  }
  return false;
}

}  // namespace

// The column heading of a listing begins with "2-Theta". Its characters serve as a set.
bool EndsListingHeader(std::string_view firstField) {
  if (firstField.empty()) {
    return false;
  }
  switch (firstField.front()) {
    case '2':
    case '-':
    case 'T':
    case 'h':
    case 'e':
    case 't':
    case 'a':
      return true;
    default:
      return false;
  }
}

ConversionOutcome ConvertListing(std::istream& in, std::ostream& out, std::string_view outputPath,
                                 const CalibrationCoefficients& coefficients,
                                 ConversionStats* stats) {
  std::string block;
  block.reserve(kRowBlockSize + 256);
  block.append(outputPath);
  block.push_back('\n');

  std::string line;
  std::string token;
  if (!SkipHeader(in, line, token)) {
    FlushRowBlock(out, block);
    return in.bad() ? ConversionOutcome::ReadFailed : ConversionOutcome::InvalidFormat;
  }

  std::uint64_t skipped = 0;
  std::uint64_t outside = 0;
  std::array<std::string_view, kIntensityField + 1> fields;
  while (ReadTextLine(in, line, kKeptLineBytes)) {
    // A row needs its fifth field; a shorter or empty line would otherwise be converted
    // from a field of some earlier line.
    if (SplitLineTokens(line, fields) != fields.size()) {
      ++skipped;
      continue;
    }
    const double reading = ParseFieldNumber(fields[kTwoThetaField]);
    outside += OutsideCalibratedRange(stats, reading) ? 1 : 0;
    const double twoTheta = CalibratedTwoTheta(coefficients, reading);
    const double intensity = ParseFieldNumber(fields[kIntensityField]);

    block.append("0 0 0  ");
    AppendFixedRow(block, twoTheta, 6, 10);
    const std::size_t intensityAt = block.size();
    AppendFixedRow(block, intensity, 1, 10);
    // An intensity of ten characters or more (10000000.0) would run into the two-theta and
    // the row would no longer read back as its fields: one blank keeps them apart.
    if (block[intensityAt] != ' ')
      block.insert(intensityAt, 1, ' ');
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

  block.append("0 0 0\n");
  if (!FlushRowBlock(out, block) || !out.flush()) {
    return ConversionOutcome::WriteFailed;
  }
  return ConversionOutcome::Converted;
}

int ConvertListingFile(const std::string& inputPath, const CalibrationCoefficients& coefficients,
                       MessageSink& messages, ConversionStats* stats) {
  std::string baseName;
  if (MakeBaseName(inputPath, baseName, messages) == 0) {
    return 0;
  }
  const std::string outputPath = MakeOutputPath(baseName, ".dat");

  InputFile input;
  if (!input.Open(inputPath)) {
    return 0;
  }
  // The output is opened before the header is examined, so that an output that cannot
  // be written is reported first, as it always was; it replaces nothing until the end.
  ReplacingOutputFile output(outputPath);
  if (!output.Open()) {
    return RefuseOutput(outputPath, messages);
  }
  const ConversionOutcome outcome =
      ConvertListing(input.Stream(), output.Stream(), outputPath, coefficients, stats);
  return FinishConversion(outcome, output, inputPath, outputPath, messages);
}

}  // namespace pellum
