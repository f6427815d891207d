#pragma once

#include <iostream>
#include <string>
#include <string_view>

#include "app/app_state.h"
#include "app/platform.h"
#include "ui/canvas.h"

namespace pellum {

// The menu's commands, by their identifiers: a toolkit that delivers identifiers may cast
// them, and one that is not listed here is ignored.
// Save Calibration, Copy Calibration, Save Chart and Export CIF come after the first three,
// which keep theirs.
enum class MenuCommand : int {
  About = 40001,
  Open = 40004,
  Exit = 40005,
  SaveCalibration = 40006,
  CopyCalibration = 40007,
  SaveChart = 40008,
  ExportCif = 40009,
  // View: which chart the window shows.
  ShowCalibrationChart = 40010,
  ShowCorrectionChart = 40011,
  // Fit Model: the rule the next calibration follows, kept between runs.
  ModelChiSquare = 40012,
  ModelLine = 40013,
  ModelQuadratic = 40014,
  ModelSignificant = 40015,
};
inline constexpr MenuCommand IDM_ABOUT = MenuCommand::About;
inline constexpr MenuCommand IDM_OPEN = MenuCommand::Open;
inline constexpr MenuCommand IDM_EXIT = MenuCommand::Exit;

// The main window's caption for an input title: the program's name and the file's name,
// or "(untitled)" while no file has been converted.
//
//   MainTitleText("film.pid") -> "Pellum - film.pid"
//   MainTitleText("")         -> "Pellum - (untitled)"
std::string MainTitleText(std::string_view title);
void SetMainTitle(Platform& platform, std::string_view title);

// What the main window does with each event, in the order the toolkit delivers them.

// The window has just been made: sets up the open-file dialog, starting in the folder kept
// at state.folderSettingPath when there is one, takes the model rule kept at
// state.modelSettingPath and the reference kept at state.referenceSettingPath, and shows
// "Pellum - (untitled)".
void HandleCreate(AppState& state, Platform& platform);

// The chart's drawing area has a new size, in device pixels.
void HandleResize(AppState& state, int clientWidth, int clientHeight);

// Draws the chart shown (state.chartView) from the current points and coefficients; the
// calibration chart writes one trace line on trace for every label it formats.
void HandlePaint(const AppState& state, Canvas& canvas, std::ostream& trace);

// A menu command. IDM_OPEN calibrates and, with at least one point, converts a file and
// shows its name in the title; IDM_ABOUT shows the About box; IDM_EXIT closes the window;
// SaveCalibration and CopyCalibration keep the last calibration in a file or on the
// clipboard, and ExportCif writes it (with the file the last Open converted) as a powder
// CIF; these three do nothing before the first. SaveChart saves the chart shown as a
// picture. ShowCalibrationChart and ShowCorrectionChart choose the chart shown; the four
// Model commands choose the rule of the next fit and keep it (a setting that cannot be
// written is said once a run). Any other identifier is ignored.
void HandleCommand(AppState& state, Platform& platform, MenuCommand command, std::ostream& console);

// The window is gone: the calibration points are released.
void HandleDestroy(AppState& state);

// The Model command of a rule, and the rule of a Model command (ChiSquare for any other).
MenuCommand ModelCommandOf(ModelRule rule);
ModelRule ModelRuleOf(MenuCommand command);

}  // namespace pellum
