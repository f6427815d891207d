#include "app/cif_export_command.h"

#include <filesystem>

#include "app/suggested_output_path.h"
#include "ui/user_texts.h"

namespace pellum {
namespace {

namespace fs = std::filesystem;

std::string SuggestedPath(const AppState& state) {
  if (state.convertedPath.empty())
    return SuggestedFilmPath(state, ".cif", texts::kDefaultCifName);
  return fs::path(state.convertedPath).replace_extension(".cif").string();
}

// The file a path names once links are followed, so that a link to the input counts as
// the input.
fs::path Resolved(const std::string& path) {
  std::error_code error;
  const fs::path resolved = fs::weakly_canonical(fs::absolute(path, error), error);
  return error ? fs::path(path) : resolved;
}

bool ReplacesSource(const std::string& path, const std::vector<CifSource>& sources) {
  const fs::path target = Resolved(path);
  for (const CifSource& source : sources)
    if (target == Resolved(source.inputPath) || target == Resolved(source.outputPath))
      return true;
  return false;
}

}  // namespace

CifCalibration CifCalibrationOf(const AppState& state) {
  return {state.quality.straightLine, state.coefficients, state.quality, state.calibrationRule, "",
          state.calibrationReference};
}

std::vector<CifSource> CifSourcesOf(const AppState& state) {
  if (state.convertedPath.empty())
    return {};
  return {{state.convertedPath, state.convertedOutputPath, state.convertedStamp}};
}

void ExportCif(const AppState& state, Platform& platform) {
  if (!state.calibrated)
    return;
  const FileFilter filter{std::string(texts::kCifFilter), "*.cif"};
  std::string path;
  if (!platform.ShowSaveFileDialog(texts::kExportCifTitle, std::span(&filter, 1),
                                   SuggestedPath(state), path))
    return;
  const std::vector<CifSource> sources = CifSourcesOf(state);
  if (ReplacesSource(path, sources)) {
    platform.ShowMessage(path, texts::kCifWouldReplaceSource, MessageKind::Error);
    return;
  }
  if (WriteCifFile(path, CifCalibrationOf(state), sources, platform))
    platform.ShowMessage(std::string(texts::kCifSavedPrefix) + path, texts::kInfoCaption,
                         MessageKind::Information);
}

}  // namespace pellum
