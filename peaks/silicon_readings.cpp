#include "peaks/silicon_readings.h"

#include <algorithm>
#include <cmath>

#include "calib/fixed_notation.h"
#include "calib/reference_table.h"
#include "ui/user_texts.h"

namespace pellum {

std::string ReadingText(const ReflectionSearch& reflection) {
  if (!reflection.Found()) {
    return "-1";
  }
  std::string text;
  AppendFixed(text, reflection.position, 4);
  return text;
}

std::string UncertaintyText(const ReflectionSearch& reflection) {
  const double tenThousandths = std::max(1.0, std::ceil(reflection.su * 1e4 - 1e-9));
  std::string text;
  AppendFixed(text, tenThousandths / 1e4, 4);
  return text;
}

std::string ReadingWithUncertaintyText(const ReflectionSearch& reflection) {
  if (!reflection.Found()) {
    return "-1";
  }
  return ReadingText(reflection) + " \xc2\xb1 " +
         UncertaintyText(reflection);  // plus-minus in UTF-8
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

std::string RefusalText(const SiliconSearch& search) {
  const SiliconSetCheck& check = search.check;
  std::string text;
  switch (check.refusal) {
    case SetRefusal::None:
      break;
    case SetRefusal::OtherPhaseScale:
      text = texts::kOtherPhaseScale;
      AppendFixed(text, 100.0 * std::abs(check.scale), 1);
      text += texts::kScaleSuffix;
      break;
    case SetRefusal::FluoriteLines:
      text = std::string(texts::kFluoriteLines) + check.extraHkl + " at ";
      AppendFixed(text, check.extraPosition, 2);
      text += texts::kWhereSiliconHasNone;
      break;
    case SetRefusal::TooFewLines:
      text = texts::kOnlyTwoLines;
      if (!check.strongestFound) {
        text += texts::kNotTheStrongest;
      } else {
        text += std::string(texts::kProfileCovers) + std::to_string(check.covered);
      }
      break;
    case SetRefusal::NotStrongest:
      text = std::string(texts::kStrongestMissing) +
             std::string(ReferenceTable[check.strongest].hkl) + std::string(texts::kNotFoundSuffix);
      break;
    case SetRefusal::LookAlikeLines:  // another reference's refusals only
    case SetRefusal::StrongLinesMissing:
      break;
  }
  return text;
}

}  // namespace pellum
