#include "front/desktop/save_file_dialog.h"

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QStringList>
#include <vector>

#include "front/desktop/open_file_dialog.h"

namespace pellum {
namespace {

// "*.svg" -> "svg": the extension a filter's pattern stands for.
QString ExtensionOf(const FileFilter& filter) {
  const std::size_t dot = filter.pattern.rfind('.');
  return dot == std::string::npos ? QString()
                                  : QString::fromStdString(filter.pattern.substr(dot + 1));
}

// The name in the field with its extension made the selected filter's, when it had
// another filter's extension; any other name stays as the user typed it.
QString WithExtension(const QString& name, const QString& extension,
                      const std::vector<QString>& extensions) {
  for (const QString& other : extensions) {
    const QString suffix = QLatin1Char('.') + other;
    if (!other.isEmpty() && name.endsWith(suffix, Qt::CaseInsensitive))
      return name.left(name.size() - suffix.size()) + QLatin1Char('.') + extension;
  }
  return name;
}

}  // namespace

void SetUpSaveFileDialog(QFileDialog& dialog, std::string_view title,
                         std::span<const FileFilter> filters, const std::string& suggestedPath) {
  dialog.setObjectName(QStringLiteral("saveFileDialog"));
  dialog.setWindowTitle(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  // Qt's own dialog on every desktop, as the open-file dialog, so tests drive the same one.
  dialog.setOption(QFileDialog::DontUseNativeDialog);

  QStringList texts;
  std::vector<QString> extensions;
  for (const FileFilter& filter : filters) {
    texts << FilterText(filter);
    extensions.push_back(ExtensionOf(filter));
  }
  dialog.setNameFilters(texts);
  const QString suggested = QFile::decodeName(QByteArray::fromStdString(suggestedPath));
  std::size_t first = 0;
  for (std::size_t i = 0; i < extensions.size(); ++i) {
    if (suggested.endsWith(QLatin1Char('.') + extensions[i], Qt::CaseInsensitive)) {
      first = i;
      break;
    }
  }
  if (!texts.isEmpty()) {
    dialog.selectNameFilter(texts.at(static_cast<qsizetype>(first)));
    dialog.setDefaultSuffix(extensions[first]);
  }
  dialog.selectFile(suggested);

  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                   [&dialog, texts, extensions](const QString& text) {
                     const qsizetype index = texts.indexOf(text);
                     if (index < 0)
                       return;
                     const QString& extension = extensions[static_cast<std::size_t>(index)];
                     dialog.setDefaultSuffix(extension);
                     auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                     if (field != nullptr)
                       field->setText(WithExtension(field->text(), extension, extensions));
                   });
}

bool RunSaveFileDialog(QWidget* owner, std::string_view title, std::span<const FileFilter> filters,
                       const std::string& suggestedPath, std::string& path) {
  QFileDialog dialog(owner);
  SetUpSaveFileDialog(dialog, title, filters, suggestedPath);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return false;
  path = QFile::encodeName(QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath())
             .toStdString();
  return true;
}

}  // namespace pellum
