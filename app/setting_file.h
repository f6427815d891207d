#pragma once

#include <string>
#include <string_view>

namespace pellum {

// The desktop program's settings are small files of one line each in its configuration
// folder (last-folder, model). Both read and write them the same way.

// The file's first readBytes bytes at the most, without a final line end: a file of any
// size costs no more. Empty when path is empty, is not a regular file or cannot be read;
// the caller judges what it holds.
//
//   "significant\n" -> "significant"
std::string ReadSettingLine(const std::string& path, std::size_t readBytes);

// Keeps line and a line end at path, its folder made when needed, complete or not at all.
// False when it could not be written; an empty path keeps nothing and is no failure.
bool WriteSettingLine(const std::string& path, std::string_view line);

}  // namespace pellum
