#include "calib/entry_validation.h"

#include <algorithm>

#include "calib/parse_decimal.h"
#include "ui/user_texts.h"

namespace pellum {
namespace {

// Two-theta on a Guinier film stays below 100 degrees; a larger reading is a typing slip.
constexpr double kLargestTwoTheta = 100.0;

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// "28,44" would read as 28 and an empty slot as a reading at 0 degrees, each silently
// bending the fit: a slot must hold one number and nothing else besides blanks.
bool HoldsOneNumber(std::string_view text) {
  double value = 0.0;
  const std::size_t end = ParseDecimalPrefix(text, value);
  if (end == 0)
    return false;
  return std::all_of(text.begin() + static_cast<std::ptrdiff_t>(end), text.end(), IsBlank);
}

bool AnyTooLarge(const ParsedEntries& values) {
  return std::any_of(values.begin(), values.end(), [](double v) { return v >= kLargestTwoTheta; });
}

bool AnyNotANumber(const EntryTexts& texts) {
  for (std::size_t i = 0; i < EntryTexts::kSlotCount; ++i) {
    if (!HoldsOneNumber(texts.Slot(i)))
      return true;
  }
  return false;
}

// A line through one abscissa has no slope: the fit needs two different readings. With no
// reading at all the user has chosen not to calibrate, which is allowed.
bool TooFewDistinctReadings(const ParsedEntries& values) {
  bool haveFirst = false;
  double first = 0.0;
  for (double v : values) {
    if (!(v >= 0.0))
      continue;
    if (!haveFirst) {
      haveFirst = true;
      first = v;
    } else if (v != first) {
      return false;
    }
  }
  return haveFirst;
}

}  // namespace

ParsedEntries ParseEntries(const EntryTexts& texts) {
  ParsedEntries values{};
  for (std::size_t i = 0; i < EntryTexts::kSlotCount; ++i)
    values[i] = ParseDecimal(texts.Slot(i));
  return values;
}

bool ValidateEntries(const EntryTexts& texts, const ParsedEntries& values, MessageSink& messages) {
  std::string_view refusal;
  if (AnyTooLarge(values)) {
    refusal = texts::kTooLarge;
  } else if (AnyNotANumber(texts)) {
    refusal = texts::kNotANumber;
  } else if (TooFewDistinctReadings(values)) {
    refusal = texts::kTooFewReadings;
  }
  if (refusal.empty())
    return true;
  messages.ShowMessage(refusal, texts::kWarningCaption, MessageKind::Warning);
  return false;
}

}  // namespace pellum
