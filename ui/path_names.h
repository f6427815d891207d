#pragma once

#include <cstddef>
#include <string_view>

namespace pellum {

// Whether c separates the folders of a path. On Windows both '\' and '/' do; elsewhere only
// '/', and a backslash is an ordinary character of a file name.
constexpr bool IsPathSeparator(char c) {
#ifdef _WIN32
  return c == '/' || c == '\\';
#else
  return c == '/';
#endif
}

// Where the file's own name starts in path: just after the last separator, or 0.
//
//   "/data/film.pid" -> 6      "film.pid" -> 0      "run.2/" -> 6
//   "C:\data\film.pid" -> 8 on Windows, 0 elsewhere
constexpr std::size_t FileNameStart(std::string_view path) {
  for (std::size_t i = path.size(); i > 0; --i) {
    if (IsPathSeparator(path[i - 1]))
      return i;
  }
  return 0;
}

// The file's own name: what follows the last separator.
constexpr std::string_view FileNameOf(std::string_view path) {
  return path.substr(FileNameStart(path));
}

}  // namespace pellum
