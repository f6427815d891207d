#include "app/reference_setting.h"

#include "app/setting_file.h"

namespace pellum {

void ReadReferenceSetting(const std::string& settingPath, ReferenceEntries& entries) {
  // The longest names with their space and line end fit well within 64 bytes; one more
  // tells a longer file, which is not a setting.
  const std::string text = ReadSettingLine(settingPath, 64);
  const std::size_t space = text.find(' ');
  if (space == std::string::npos || text.size() >= 64)
    return;
  const std::string standard = text.substr(0, space);
  const std::string radiation = text.substr(space + 1);
  if (!IsOfferedReference(standard, radiation))
    return;
  entries.standard = standard;
  entries.radiation = radiation;
}

bool WriteReferenceSetting(const std::string& settingPath, const ReferenceEntries& entries) {
  return WriteSettingLine(settingPath, entries.Key());
}

}  // namespace pellum
