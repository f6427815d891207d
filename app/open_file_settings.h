#pragma once

#include <string>
#include <vector>

namespace pellum {

// One entry of the open-file dialog's type list: the text the user sees and the
// wildcard pattern that selects the files it shows.
struct FileFilter {
  std::string description;  // "Listing Files (*.PID)"
  std::string pattern;      // "*.pid"
};

// The choice flags of the open-file dialog.
inline constexpr unsigned kOpenFileHideReadOnly = 0x4;  // no read-only check box
// Only a file that exists can be chosen: a name typed for a file that is not there is
// refused by the dialog itself, so a conversion never starts on a file nobody can read.
inline constexpr unsigned kOpenFileMustExist = 0x1000;

// How the open-file dialog is set up for the whole run. The toolkit's dialog reads it on
// every choice; the input path handed to the dialog with it is the name it starts on.
struct OpenFileSettings {
  // The dialog's caption: "Open Listing or Profile".
  std::string title;
  std::vector<FileFilter> filters;
  // Which filter the dialog starts on: 0 is the first of the list.
  int filterIndex = 0;
  // Appended (after a '.') to a typed name that has no extension: "pid".
  std::string defaultExtension;
  unsigned flags = 0;
  // Patterns match names without regard to letter case: FILM.PID is a listing as much as
  // film.pid is.
  bool caseInsensitivePatterns = true;
  // The folder the dialog starts in when it is given no file to start on: the folder of the
  // last file chosen, in this run or an earlier one; empty for the current folder. A folder
  // that no longer exists is passed over.
  std::string initialFolder;
};

}  // namespace pellum
