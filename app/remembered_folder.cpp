#include "app/remembered_folder.h"

#include <filesystem>
#include <system_error>

#include "app/setting_file.h"

namespace pellum {
namespace {

bool Keepable(const std::string& folder) {
  return !folder.empty() && folder.size() <= kMaxRememberedFolderBytes &&
         std::filesystem::path(folder).is_absolute() &&
         folder.find_first_of(std::string_view("\n\r\0", 3)) == std::string::npos;
}

}  // namespace

std::string ReadRememberedFolder(const std::string& settingPath) {
  // At most one byte more than a kept line can hold, so a file of any size costs no more.
  const std::string text = ReadSettingLine(settingPath, kMaxRememberedFolderBytes + 2);
  if (!Keepable(text))
    return {};
  std::error_code error;
  return std::filesystem::is_directory(text, error) ? text : std::string();
}

bool WriteRememberedFolder(const std::string& settingPath, const std::string& folder) {
  if (settingPath.empty() || !Keepable(folder))
    return true;
  return WriteSettingLine(settingPath, folder);
}

}  // namespace pellum
