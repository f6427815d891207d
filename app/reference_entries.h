#pragma once

#include <map>
#include <string>
#include <vector>

#include "refs/radiation.h"
#include "refs/reference_choice.h"
#include "refs/standard.h"

namespace pellum {

// The reference the Calibration Data dialog calibrates against, as chosen there: a standard
// and a radiation, the built-in silicon table with Cu K-alpha1 by default. The readings
// typed for each other reference are kept for the run, one text per line of it, so that
// switching to another reference and back finds them again; the built-in table's six
// readings stay in the window's EntryTexts as they always have.
//   {"lab6-660c", "cr", {{"lab6-660c cr", {"30.5", "-1", ...}}}}
struct ReferenceEntries {
  std::string standard{kBuiltInTableName};
  std::string radiation{kDefaultRadiation};
  std::map<std::string, std::vector<std::string>> readings;

  bool IsDefault() const { return standard == kBuiltInTableName && radiation == kDefaultRadiation; }
  // "lab6-660c cr": the key of the readings, and the setting's line.
  std::string Key() const { return standard + ' ' + radiation; }
  // The readings of the reference chosen, one per line of its lineCount lines, "-1" (not
  // available) for those never typed.
  std::vector<std::string>& ReadingsOf(std::size_t lineCount) {
    std::vector<std::string>& texts = readings[Key()];
    texts.resize(lineCount, "-1");
    return texts;
  }
};

// The request of the choice: its standard and radiation, as pellum-cli's --standard and
// --radiation would give them.
inline ReferenceRequest RequestOf(const ReferenceEntries& entries) {
  ReferenceRequest request;
  request.standard = entries.standard;
  request.radiation = entries.radiation;
  return request;
}

// Whether a standard and a radiation make a reference the dialog offers: a built-in name
// and a radiation of the table, the built-in table with Cu K-alpha1 only.
//   ("lab6-660c", "cr") -> true   ("si", "cr") -> false   ("si-640e", "w") -> false
inline bool IsOfferedReference(const std::string& standard, const std::string& radiation) {
  if (FindRadiation(radiation) == nullptr)
    return false;
  if (standard == kBuiltInTableName)
    return radiation == kDefaultRadiation;
  return FindStandard(standard) != nullptr;
}

}  // namespace pellum
