#include "app/setting_file.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "io/replacing_output_file.h"

namespace pellum {

std::string ReadSettingLine(const std::string& path, std::size_t readBytes) {
  std::error_code error;
  if (path.empty() || !std::filesystem::is_regular_file(path, error))
    return {};
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return {};
  std::string text(readBytes, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  if (in.bad())
    return {};
  text.resize(static_cast<std::size_t>(in.gcount()));
  if (!text.empty() && text.back() == '\n')
    text.pop_back();
  return text;
}

bool WriteSettingLine(const std::string& path, std::string_view line) {
  if (path.empty())
    return true;
  std::error_code error;
  const std::filesystem::path parent = std::filesystem::path(path).parent_path();
  if (!parent.empty())
    std::filesystem::create_directories(parent, error);
  ReplacingOutputFile out(path);
  if (!out.Open())
    return false;
  out.Stream() << line << '\n';
  return out.Commit();
}

}  // namespace pellum
