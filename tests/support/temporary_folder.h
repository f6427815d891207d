#pragma once

#include <cstddef>
#include <string>

#ifdef _WIN32
#include <filesystem>
#include <random>
#include <system_error>
#else
#include <stdlib.h>
#endif

namespace pellum::testing {

// Creates a new folder from pattern, a path ending in "XXXXXX", as mkdtemp does: the X's
// become letters, pattern the folder's path. False when no folder could be made.
inline bool MakeTemporaryFolder(std::string& pattern) {
#ifdef _WIN32
  // Windows has no mkdtemp: new names are tried until one is free.
  static std::mt19937 generator{std::random_device{}()};
  const std::size_t start = pattern.size() - 6;
  for (int attempt = 0; attempt < 100; ++attempt) {
    for (std::size_t i = start; i < pattern.size(); ++i)
      pattern[i] = "abcdefghijklmnopqrstuvwxyz0123456789"[generator() % 36];
    std::error_code error;
    if (std::filesystem::create_directory(pattern, error)) {
      // As Windows spells it when it makes a path absolute: with the drive and backslashes.
      pattern = std::filesystem::absolute(pattern, error).string();
      return true;
    }
  }
  return false;
#else
  return ::mkdtemp(pattern.data()) != nullptr;
#endif
}

}  // namespace pellum::testing
