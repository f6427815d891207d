#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "app/app_state.h"

namespace pellum {

// Where a save-file dialog starts: name beside the last converted file, else in the folder
// of the last file chosen (kept from an earlier run), else in the current folder.
//
//   inputPath "/data/film.pid"                 -> "/data/calibration.cal"
//   no input, initialFolder "/home/me/films"   -> "/home/me/films/calibration.cal"
//   neither                                    -> "calibration.cal"
inline std::string SuggestedOutputPath(const AppState& state, std::string_view name) {
  namespace fs = std::filesystem;
  const fs::path folder = !state.inputPath.empty() ? fs::path(state.inputPath).parent_path()
                                                   : fs::path(state.openFileSettings.initialFolder);
  return (folder / name).string();
}

// The same, named after the film: the last chosen file's name without its extension and
// suffix, or defaultName before any file was chosen.
//
//   inputPath "/data/film.pid", suffix "-chart.svg"  -> "/data/film-chart.svg"
//   inputPath "/data/film.pid", suffix ".cal"        -> "/data/film.cal"
//   no input                                         -> "calibration-chart.svg" (defaultName)
inline std::string SuggestedFilmPath(const AppState& state, std::string_view suffix,
                                     std::string_view defaultName) {
  namespace fs = std::filesystem;
  if (state.inputPath.empty())
    return SuggestedOutputPath(state, defaultName);
  const fs::path input(state.inputPath);
  return (input.parent_path() / (input.stem().string() + std::string(suffix))).string();
}

}  // namespace pellum
