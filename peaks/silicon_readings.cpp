#include "peaks/silicon_readings.h"

#include "calib/fixed_notation.h"

namespace pellum {

std::string ReadingText(const ReflectionSearch& reflection) {
  if (!reflection.Found()) {
    return "-1";
  }
  std::string text;
  AppendFixed(text, reflection.position, 4);
  return text;
}

std::array<std::string, 6> ReadingTexts(const SiliconSearch& search) {
  std::array<std::string, 6> texts;
  for (std::size_t k = 0; k < texts.size(); ++k) {
    texts[k] = ReadingText(search.reflections[k]);
  }
  return texts;
}

std::string TwoThetaListText(const SiliconSearch& search) {
  std::string list;
  for (const std::string& text : ReadingTexts(search)) {
    list += (list.empty() ? "" : ",") + text;
  }
  return list;
}

}  // namespace pellum
