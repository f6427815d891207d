#include "convert/output_naming.h"
#include "ui/path_names.h"
#include "ui/user_texts.h"

namespace pellum {

int MakeBaseName(std::string_view path, std::string& baseName, MessageSink& messages) {
  // Only the file's own name is cut: a dot in a folder name (run.2/) must not move the
  // output into the parent folder.
  const std::size_t nameStart = FileNameStart(path);
  const std::size_t dot = path.find('.', nameStart);
  // The listing names its output on its first line: a path holding a line end would break
  // that line, and no film was ever stored under such a name.
  if (dot == std::string_view::npos || path.find_first_of("\r\n") != std::string_view::npos) {
    messages.ShowMessage(path, texts::kInvalidInputName, MessageKind::Error);
    return 0;
  }
  baseName.assign(path.substr(0, dot));
  return 1;
}

std::string MakeOutputPath(std::string_view baseName, std::string_view extension) {
  std::string outputPath;
  outputPath.reserve(baseName.size() + extension.size());
  outputPath.append(baseName);
  outputPath.append(extension);
  return outputPath;
}

}  // namespace pellum
