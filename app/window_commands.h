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
// at state.folderSettingPath when there is one, and shows "Pellum - (untitled)".
void HandleCreate(AppState& state, Platform& platform);

// The chart's drawing area has a new size, in device pixels.
void HandleResize(AppState& state, int clientWidth, int clientHeight);

// Draws the chart from the current points and coefficients, with one trace line on trace
// for every label it formats.
void HandlePaint(const AppState& state, Canvas& canvas, std::ostream& trace);

// A menu command. IDM_OPEN calibrates and, with at least one point, converts a file and
// shows its name in the title; IDM_ABOUT shows the About box; IDM_EXIT closes the window;
// SaveCalibration and CopyCalibration keep the last calibration in a file or on the
// clipboard, and ExportCif writes it (with the file the last Open converted) as a powder
// CIF; these three do nothing before the first. SaveChart saves the chart as a picture.
// Any other identifier is ignored.
void HandleCommand(AppState& state, Platform& platform, MenuCommand command, std::ostream& console);

// The window is gone: the calibration points are released.
void HandleDestroy(AppState& state);

}  // namespace pellum
