#pragma once

#include <optional>
#include <string_view>

#include "ui/path_names.h"

namespace pellum {

// The kinds of picture a chart is saved as, named by the file's extension.
enum class PictureFormat { Svg, Png, Pdf };

// The format a file name asks for, by its extension in any letter case; none when the
// name has no extension or another one. Only the last name of the path counts.
//
//   "chart.svg" -> Svg      "/lab/Film 7.PNG" -> Png      "a.pdf" -> Pdf
//   "chart.gif", "chart", "/lab.svg/chart", ".svg/" -> none
inline std::optional<PictureFormat> PictureFormatOf(std::string_view path) {
  const std::string_view name = FileNameOf(path);
  const std::size_t dot = name.find_last_of('.');
  if (dot == std::string_view::npos)
    return std::nullopt;
  const std::string_view extension = name.substr(dot + 1);
  const auto is = [extension](std::string_view lower) {
    if (extension.size() != lower.size())
      return false;
    for (std::size_t i = 0; i < lower.size(); ++i) {
      const char c = extension[i];
      if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != lower[i])
        return false;
    }
    return true;
  };
  if (is("svg"))
    return PictureFormat::Svg;
  if (is("png"))
    return PictureFormat::Png;
  if (is("pdf"))
    return PictureFormat::Pdf;
  return std::nullopt;
}

}  // namespace pellum
