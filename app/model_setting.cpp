#include "app/model_setting.h"

#include "app/setting_file.h"

namespace pellum {

ModelRule ReadModelSetting(const std::string& settingPath) {
  // The longest name and its line end, and one byte more to tell a longer file.
  const std::string text = ReadSettingLine(settingPath, 16);
  return ParseModelRule(text).value_or(ModelRule::ChiSquare);
}

bool WriteModelSetting(const std::string& settingPath, ModelRule rule) {
  return WriteSettingLine(settingPath, ModelRuleName(rule));
}

}  // namespace pellum
