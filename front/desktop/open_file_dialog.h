#pragma once

#include <QFileDialog>
#include <QStringList>
#include <string>

#include "app/open_file_settings.h"

namespace pellum {

// A type filter as a file dialog shows it: the description, with its pattern added in
// parentheses unless the description already names it (in any letter case).
//
//   {"Listing Files (*.PID)", "*.pid"}                    -> "Listing Files (*.PID)"
//   {"Listings", "*.pid"}                                 -> "Listings (*.pid)"
//   {"Listings and Profiles (*.pid *.txt)", "*.pid *.txt"} -> as it is
QString FilterText(const FileFilter& filter);
QStringList FilterTexts(const OpenFileSettings& settings);

// Prepares dialog from settings, captioned with settings.title, starting on startPath (its
// folder, with the file selected) or, when it is empty, in settings.initialFolder if that
// is a folder, else in the current folder. The toolkit's own dialog is used
// rather than the desktop's, so it looks and behaves the same on every desktop, in tests
// and offscreen; its patterns match without regard to letter case.
void SetUpOpenFileDialog(QFileDialog& dialog, const OpenFileSettings& settings,
                         const std::string& startPath);

// Runs the dialog modally over owner. On a choice stores the file's absolute path and its
// name without folders, in the file system's encoding, and returns true; on cancel
// returns false and leaves both untouched.
bool RunOpenFileDialog(QWidget* owner, const OpenFileSettings& settings, std::string& inputPath,
                       std::string& inputTitle);

}  // namespace pellum
