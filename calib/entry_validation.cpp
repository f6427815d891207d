#include "calib/entry_validation.h"

#include <algorithm>
#include <string>

#include "calib/parse_decimal.h"
#include "calib/reference_table.h"
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

// The first slot that does not hold one number, or kSlotCount.
std::size_t FirstNotANumber(const EntryTexts& texts) {
  std::size_t i = 0;
  while (i < EntryTexts::kSlotCount && HoldsOneNumber(texts.Slot(i)))
    ++i;
  return i;
}

// Which reading is wrong and how, so that a list of six on a command line or six fields
// need not be searched: "reading 3 (3 1 1) is empty".
std::string DescribeNotANumber(std::size_t slot, std::string_view text) {
  std::string what = std::string(texts::kNotANumber);
  what.pop_back();  // the sentence goes on after a colon
  what +=
      ": reading " + std::to_string(slot + 1) + " (" + std::string(ReferenceTable[slot].hkl) + ")";
  if (std::all_of(text.begin(), text.end(), IsBlank))
    return what + " is empty.";
  what += ", \"" + std::string(text) + "\",";
  double value = 0.0;
  const std::size_t end = ParseDecimalPrefix(text, value);
  if (end > 0 && end + 1 < text.size() && text[end] == ',' && text[end + 1] >= '0' &&
      text[end + 1] <= '9')
    return what + " has a decimal comma: use a point.";
  return what + " is not a number.";
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
  std::string refusal;
  if (AnyTooLarge(values)) {
    refusal = texts::kTooLarge;
  } else if (const std::size_t slot = FirstNotANumber(texts); slot < EntryTexts::kSlotCount) {
    refusal = DescribeNotANumber(slot, texts.Slot(slot));
  } else if (TooFewDistinctReadings(values)) {
    refusal = texts::kTooFewReadings;
  }
  if (refusal.empty())
    return true;
  messages.ShowMessage(refusal, texts::kWarningCaption, MessageKind::Warning);
  return false;
}

}  // namespace pellum
