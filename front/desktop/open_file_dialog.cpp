#include "front/desktop/open_file_dialog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace pellum {

QString FilterText(const FileFilter& filter) {
  const QString description = QString::fromStdString(filter.description);
  const QString pattern = QString::fromStdString(filter.pattern);
  const QString named = QLatin1Char('(') + pattern + QLatin1Char(')');
  return description.endsWith(named, Qt::CaseInsensitive) ? description
                                                          : description + QLatin1Char(' ') + named;
}

QStringList FilterTexts(const OpenFileSettings& settings) {
  QStringList texts;
  for (const FileFilter& filter : settings.filters) {
    texts << FilterText(filter);
  }
  return texts;
}

void SetUpOpenFileDialog(QFileDialog& dialog, const OpenFileSettings& settings,
                         const std::string& startPath) {
  dialog.setObjectName(QStringLiteral("openFileDialog"));
  dialog.setWindowTitle(QString::fromStdString(settings.title));
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode((settings.flags & kOpenFileMustExist) != 0 ? QFileDialog::ExistingFile
                                                                : QFileDialog::AnyFile);
  // The dialog's file list matches its patterns case-sensitively only when asked to.
  QDir::Filters listed = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::AllDirs;
  if (!settings.caseInsensitivePatterns) {
    listed |= QDir::CaseSensitive;
  }
  dialog.setFilter(listed);

  const QStringList filters = FilterTexts(settings);
  dialog.setNameFilters(filters);
  if (settings.filterIndex >= 0 && settings.filterIndex < filters.size()) {
    dialog.selectNameFilter(filters.at(settings.filterIndex));
  }
  dialog.setDefaultSuffix(QString::fromStdString(settings.defaultExtension));

  if (startPath.empty()) {
    const QFileInfo folder(QFile::decodeName(QByteArray::fromStdString(settings.initialFolder)));
    const bool useFolder = !settings.initialFolder.empty() && folder.isDir();
    dialog.setDirectory(useFolder ? QDir(folder.absoluteFilePath()) : QDir::current());
  } else {
    const QFileInfo start(QFile::decodeName(QByteArray::fromStdString(startPath)));
    dialog.setDirectory(start.absoluteDir());
    dialog.selectFile(start.fileName());
  }
}

bool RunOpenFileDialog(QWidget* owner, const OpenFileSettings& settings, std::string& inputPath,
                       std::string& inputTitle) {
  QFileDialog dialog(owner);
  SetUpOpenFileDialog(dialog, settings, inputPath);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return false;
  }
  const QFileInfo chosen(dialog.selectedFiles().constFirst());
  inputPath = QFile::encodeName(chosen.absoluteFilePath()).toStdString();
  inputTitle = QFile::encodeName(chosen.fileName()).toStdString();
  return true;
}

}  // namespace pellum
