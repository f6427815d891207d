#pragma once

#include <QFileDialog>
#include <span>
#include <string>
#include <string_view>

#include "app/open_file_settings.h"

namespace pellum {

// Prepares dialog for naming a file to write: captioned title, one type filter per entry
// of filters, starting on suggestedPath with the filter whose pattern matches its
// extension selected (else the first). A name typed without extension gets the selected
// filter's; choosing another filter changes the extension of the name in the field when
// it is one of the filters' ("chart.svg" becomes "chart.png"). Replacing a file that
// exists is confirmed by the dialog. The toolkit's own dialog, as for opening.
void SetUpSaveFileDialog(QFileDialog& dialog, std::string_view title,
                         std::span<const FileFilter> filters, const std::string& suggestedPath);

// Runs it modally over owner; true with the chosen file's absolute path in path, false
// (path untouched) when the user cancels.
bool RunSaveFileDialog(QWidget* owner, std::string_view title, std::span<const FileFilter> filters,
                       const std::string& suggestedPath, std::string& path);

}  // namespace pellum
