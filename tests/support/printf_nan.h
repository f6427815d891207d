#pragma once

#include <cmath>
#include <string>

namespace pellum::testing {

// printf's text of value with a NaN's sign shown, as the C library of Linux shows it and as
// Pellum writes it on every system: "-nan" for a NaN with the sign bit set. The Windows C
// runtime leaves that sign out ("nan"), so there its text is mended in the same width.
inline std::string WithNanSign(std::string text, double value) {
#ifdef _WIN32
  const std::size_t at = text.find("nan");
  if (std::isnan(value) && std::signbit(value) && at != std::string::npos &&
      (at == 0 || text[at - 1] != '-')) {
    if (at > 0 && text[at - 1] == ' ')
      text[at - 1] = '-';
    else {
      std::string mended(text, 0, at);
      mended += '-';
      mended.append(text, at, std::string::npos);
      text = mended;
    }
  }
#else
  (void)value;
#endif
  return text;
}

}  // namespace pellum::testing
