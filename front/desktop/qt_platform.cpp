#include "front/desktop/qt_platform.h"

#include <QFontMetrics>

#include "front/desktop/about_box.h"
#include "front/desktop/entry_dialog.h"
#include "front/desktop/message_box.h"
#include "front/desktop/open_file_dialog.h"

namespace pellum {

QPoint QtPlatform::ChartPointInDialogUnits(int x, int y) const {
  const QFontMetrics metrics = mainWindow_.fontMetrics();
  const QPoint offset(x * metrics.averageCharWidth() / 4, y * metrics.height() / 8);
  return chart_.mapToGlobal(offset);
}

void QtPlatform::ShowMessage(std::string_view text, std::string_view caption, MessageKind kind) {
  ShowMessageBox(&mainWindow_, text, caption, kind);
}

void QtPlatform::ShowEntryDialog(EntryTexts& entries, std::string& inputPath) {
  EntryDialog dialog(entries, &mainWindow_);
  dialog.SetProfilePath(inputPath);
  // At the top-left corner of the chart, leaving most of it in view.
  dialog.move(ChartPointInDialogUnits(0, 0));
  dialog.exec();
  if (dialog.ReadingsTaken()) {
    inputPath = dialog.ProfilePath();
  }
}

bool QtPlatform::ShowOpenFileDialog(const OpenFileSettings& settings, std::string& inputPath,
                                    std::string& inputTitle) {
  return RunOpenFileDialog(&mainWindow_, settings, inputPath, inputTitle);
}

void QtPlatform::ShowAboutBox() {
  AboutBox box(&mainWindow_);
  box.move(ChartPointInDialogUnits(32, 32));
  box.exec();
}

void QtPlatform::SetWindowTitle(std::string_view title) {
  mainWindow_.setWindowTitle(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())));
}

void QtPlatform::InvalidateChart() {
  chart_.update();
}

void QtPlatform::CloseMainWindow() {
  mainWindow_.close();
}

}  // namespace pellum
