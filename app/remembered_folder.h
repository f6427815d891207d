#pragma once

#include <string>

namespace pellum {

// The one setting the program keeps between runs: the folder in which the user last chose
// a file to convert, so that the open-file dialog starts there after a restart. It is kept
// in a small text file of its own, the folder's absolute path on one line:
//
//   /home/me/films/2026\n
//
// The longest folder kept, in bytes: the longest path the system takes.
inline constexpr std::size_t kMaxRememberedFolderBytes = 4096;

// The folder kept at settingPath, or empty when there is none to use: the file is missing
// or unreadable, longer than kMaxRememberedFolderBytes and its line end, more than one line,
// not an absolute path, or not a folder that exists now. A setting that cannot be used is
// passed over, never reported: the dialog then starts in the current folder.
std::string ReadRememberedFolder(const std::string& settingPath);

// Keeps folder at settingPath, making the folders above it first, complete or not at all.
// False when it could not be written. A folder that cannot be kept on one line (empty,
// relative, too long, with a line end in its name) is not written, and that is no failure.
bool WriteRememberedFolder(const std::string& settingPath, const std::string& folder);

}  // namespace pellum
