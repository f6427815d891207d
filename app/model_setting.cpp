#include "app/model_setting.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "io/replacing_output_file.h"

namespace pellum {

ModelRule ReadModelSetting(const std::string& settingPath) {
  std::error_code error;
  if (settingPath.empty() || !std::filesystem::is_regular_file(settingPath, error))
    return ModelRule::ChiSquare;
  std::ifstream in(settingPath, std::ios::binary);
  // The longest name and its line end, and one byte more to tell a longer file.
  std::string text(16, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  if (in.bad())
    return ModelRule::ChiSquare;
  text.resize(static_cast<std::size_t>(in.gcount()));
  if (!text.empty() && text.back() == '\n')
    text.pop_back();
  return ParseModelRule(text).value_or(ModelRule::ChiSquare);
}

bool WriteModelSetting(const std::string& settingPath, ModelRule rule) {
  if (settingPath.empty())
    return true;
  std::error_code error;
  const std::filesystem::path parent = std::filesystem::path(settingPath).parent_path();
  if (!parent.empty())
    std::filesystem::create_directories(parent, error);
  ReplacingOutputFile out(settingPath);
  if (!out.Open())
    return false;
  out.Stream() << ModelRuleName(rule) << '\n';
  return out.Commit();
}

}  // namespace pellum
