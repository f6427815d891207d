// Arbitrary text through the decimal reader and the entry dialog's validation.
//
// The reader must agree with C's strtod, in the C locale, on the number it matched: the
// same end and the same bits, once a Fortran exponent letter d or D is read as e. Where it
// matched nothing, strtod may only have found what the reader refuses on purpose (inf, nan).
// The validation must refuse with exactly one of its three warnings, or accept silently.
#include <algorithm>
#include <bit>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "calib/entry_texts.h"
#include "calib/entry_validation.h"
#include "calib/parse_decimal.h"
#include "tests/support/message_log.h"

namespace {

bool SameBits(double a, double b) {
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

bool IsCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The reader's words that strtod alone knows: infinity and not-a-number in any case.
bool StartsWithStrtodWord(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsCSpace(text[i])) {
    ++i;
  }
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    ++i;
  }
  return i < text.size() && (text[i] == 'i' || text[i] == 'I' || text[i] == 'n' || text[i] == 'N');
}

void CheckAgainstStrtod(std::string_view text) {
  double value = -1.0;
  const std::size_t end = pellum::ParseDecimalPrefix(text, value);
  if (end > text.size()) {
    std::abort();
  }
  if (!SameBits(pellum::ParseDecimal(text), value)) {
    std::abort();
  }
  // strtod stops at a zero byte; so does the reader, which sees no number in one.
  const std::string terminated(text);
  char* strtodEnd = nullptr;
  const double strtodValue = std::strtod(terminated.c_str(), &strtodEnd);
  const auto strtodLength = static_cast<std::size_t>(strtodEnd - terminated.c_str());
  if (end == 0) {
    if (!SameBits(value, 0.0) || (strtodLength != 0 && !StartsWithStrtodWord(text))) {
      std::abort();
    }
    return;
  }
  // The matched prefix alone reads the same, and agrees with strtod once d/D reads as e.
  std::string prefix(text.substr(0, end));
  double again = -1.0;
  if (pellum::ParseDecimalPrefix(prefix, again) != end || !SameBits(again, value)) {
    std::abort();
  }
  const bool fortran = prefix.find_first_of("dD") != std::string::npos;
  std::replace_if(
      prefix.begin(), prefix.end(), [](char c) { return c == 'd' || c == 'D'; }, 'e');
  char* prefixEnd = nullptr;
  const double expected = std::strtod(prefix.c_str(), &prefixEnd);
  if (static_cast<std::size_t>(prefixEnd - prefix.c_str()) != end || !SameBits(expected, value)) {
    std::abort();
  }
  // Without a Fortran exponent strtod on the whole text stops where the reader stopped,
  // except that it may also take a hexadecimal number after a leading "0".
  if (!fortran && strtodLength != end && !(strtodLength > end && text.find_first_of("xX") == end)) {
    std::abort();
  }
  if (!fortran && strtodLength == end && !SameBits(strtodValue, value)) {
    std::abort();
  }
}

// Six slots from the text, split at line ends, as six entry fields typed in a row.
void CheckValidation(std::string_view text) {
  pellum::EntryTexts entries;
  std::size_t slot = 0;
  while (slot < pellum::EntryTexts::kSlotCount && !text.empty()) {
    const std::size_t cut = std::min(text.find('\n'), text.size());
    entries.SetSlot(slot++, text.substr(0, cut));
    text.remove_prefix(std::min(cut + 1, text.size()));
  }
  const pellum::ParsedEntries values = pellum::ParseEntries(entries);
  bool anyTooLarge = false;
  for (std::size_t i = 0; i < pellum::EntryTexts::kSlotCount; ++i) {
    if (entries.Slot(i).size() > pellum::EntryTexts::kMaxSlotLength ||
        !SameBits(values[i], pellum::ParseDecimal(entries.Slot(i)))) {
      std::abort();
    }
    anyTooLarge = anyTooLarge || values[i] >= 100.0;
  }
  pellum::testing::MessageLog log;
  const bool valid = pellum::ValidateEntries(entries, values, log);
  if (valid) {
    if (!log.messages.empty() || anyTooLarge) {
      std::abort();
    }
    return;
  }
  if (log.messages.size() != 1 || log.messages[0].caption != "Warning!" ||
      log.messages[0].kind != pellum::MessageKind::Warning) {
    std::abort();
  }
  const std::string& warning = log.messages[0].text;
  const bool known =
      warning == "2 theta value must be below 100." ||
      warning.starts_with("2 theta value must be a number: reading ") ||
      warning == "At least two reflections with different 2 theta values are needed.";
  if (!known || anyTooLarge != (warning == "2 theta value must be below 100.")) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // strtod reads the decimal point of the locale in force; the reader never does.
  std::setlocale(LC_ALL, "C");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckAgainstStrtod(text);
  CheckValidation(text);
  return 0;
}
