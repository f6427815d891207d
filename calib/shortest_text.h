#pragma once

#include <charconv>
#include <string>

namespace pellum {

// The shortest text that reads back to the same double, as std::to_chars writes it:
//   ShortestText(0.1) -> "0.1"   ShortestText(-1.7676e-06) -> "-1.7676e-06"
//   ShortestText(1e300) -> "1e+300"
inline std::string ShortestText(double value) {
  std::string text(32, '\0');
  const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
  text.resize(static_cast<std::size_t>(result.ptr - text.data()));
  return text;
}

}  // namespace pellum
