#include "app/remembered_folder.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "io/replacing_output_file.h"

namespace pellum {
namespace {

bool Keepable(const std::string& folder) {
  return !folder.empty() && folder.size() <= kMaxRememberedFolderBytes &&
         std::filesystem::path(folder).is_absolute() &&
         folder.find_first_of(std::string_view("\n\r\0", 3)) == std::string::npos;
}

}  // namespace

std::string ReadRememberedFolder(const std::string& settingPath) {
  std::error_code error;
  if (settingPath.empty() || !std::filesystem::is_regular_file(settingPath, error))
    return {};
  std::ifstream in(settingPath, std::ios::binary);
  if (!in)
    return {};
  // At most one byte more than a kept line can hold, so a file of any size costs no more.
  std::string text(kMaxRememberedFolderBytes + 2, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  if (in.bad())
    return {};
  text.resize(static_cast<std::size_t>(in.gcount()));
  if (!text.empty() && text.back() == '\n')
    text.pop_back();
  if (!Keepable(text))
    return {};
  return std::filesystem::is_directory(text, error) ? text : std::string();
}

bool WriteRememberedFolder(const std::string& settingPath, const std::string& folder) {
  if (settingPath.empty() || !Keepable(folder))
    return true;
  std::error_code error;
  const std::filesystem::path parent = std::filesystem::path(settingPath).parent_path();
  if (!parent.empty())
    std::filesystem::create_directories(parent, error);
  ReplacingOutputFile out(settingPath);
  if (!out.Open())
    return false;
  out.Stream() << folder << '\n';
  return out.Commit();
}

}  // namespace pellum
