#include "convert/cif_export.h"

#include <set>

#include "convert/cif_text.h"
#include "convert/input_dispatch.h"
#include "io/input_file.h"
#include "io/replacing_output_file.h"
#include "ui/path_names.h"
#include "ui/user_texts.h"

namespace pellum {
namespace {

std::string FileName(const std::string& path) {
  return std::string(FileNameOf(path));
}

std::string Describe(const CifSource& source) {
  return (IsProfilePath(source.inputPath) ? "profile " : "peak listing ") + source.inputPath +
         ", converted to " + source.outputPath;
}

bool Refuse(std::string_view text, std::string_view caption, MessageSink& messages) {
  messages.ShowMessage(text, caption, MessageKind::Error);
  return false;
}

// A source changed since its conversion (or while its block was read) would give the CIF
// rows the output does not hold.
bool Unchanged(const CifSource& source) {
  return source.stamp.valid && StampOf(source.inputPath) == source.stamp;
}

}  // namespace

bool WriteCifFile(const std::string& path, const CifCalibration& calibration,
                  const std::vector<CifSource>& sources, MessageSink& messages) {
  for (const CifSource& source : sources) {
    if (!Unchanged(source))
      return Refuse(source.inputPath, texts::kInputChangedSinceConversion, messages);
  }
  std::set<std::string> taken{std::string(kCifCalibrationBlock)};
  std::vector<CifLink> links;
  for (const CifSource& source : sources)
    links.push_back({CifBlockCode(FileName(source.inputPath), taken), Describe(source)});

  ReplacingOutputFile output(path);
  if (!output.Open())
    return Refuse(path, texts::kCannotWriteCif, messages);
  WriteCifCalibrationBlock(output.Stream(), calibration, links);
  for (std::size_t i = 0; i < sources.size(); ++i) {
    const std::string& inputPath = sources[i].inputPath;
    InputFile input;
    if (!input.Open(inputPath))
      return Refuse(inputPath, texts::kCannotReadInput, messages);
    CifDataBlock block{links[i].blockCode, links[i].description,
                       CifCalibrationIdOf(calibration.reference), 0.0};
    if (!calibration.reference.IsBuiltInTable())
      block.wavelength = calibration.reference.wavelength;
    const ConversionOutcome outcome =
        IsProfilePath(inputPath)
            ? WriteCifProfileBlock(input.Stream(), output.Stream(), block, calibration.coefficients)
            : WriteCifPeakBlock(input.Stream(), output.Stream(), block, calibration.coefficients);
    if (outcome == ConversionOutcome::WriteFailed)
      return Refuse(path, texts::kCannotWriteCif, messages);
    if (outcome != ConversionOutcome::Converted)
      return Refuse(inputPath, texts::kCannotReadInput, messages);
    if (!Unchanged(sources[i]))
      return Refuse(inputPath, texts::kInputChangedSinceConversion, messages);
  }
  // Once more just before an earlier CIF is replaced: a source changed after its block was
  // read leaves the CIF and the outputs telling different stories.
  for (const CifSource& source : sources) {
    if (!Unchanged(source))
      return Refuse(source.inputPath, texts::kInputChangedSinceConversion, messages);
  }
  return output.Commit() || Refuse(path, texts::kCannotWriteCif, messages);
}

}  // namespace pellum
