#include "front/desktop/qt_platform.h"

#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QStatusBar>

#include "front/canvas/chart_picture.h"
#include "front/desktop/about_box.h"
#include "front/desktop/entry_dialog.h"
#include "front/desktop/message_box.h"
#include "front/desktop/open_file_dialog.h"
#include "front/desktop/question_box.h"
#include "front/desktop/save_file_dialog.h"

namespace pellum {

QPoint QtPlatform::ChartPointInDialogUnits(int x, int y) const {
  const QFontMetrics metrics = mainWindow_.fontMetrics();
  const QPoint offset(x * metrics.averageCharWidth() / 4, y * metrics.height() / 8);
  return chart_.mapToGlobal(offset);
}

void QtPlatform::ShowMessage(std::string_view text, std::string_view caption, MessageKind kind) {
  ShowMessageBox(&mainWindow_, text, caption, kind);
}

void QtPlatform::ShowEntryDialog(EntryTexts& entries, ReferenceEntries& reference,
                                 std::string& inputPath) {
  EntryDialog dialog(entries, reference, &mainWindow_);
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

bool QtPlatform::AskQuestion(std::string_view text, std::string_view caption,
                             std::string_view acceptText, std::string_view declineText) {
  return AskQuestionBox(&mainWindow_, text, caption, acceptText, declineText);
}

bool QtPlatform::ShowSaveFileDialog(std::string_view title, std::span<const FileFilter> filters,
                                    const std::string& suggestedPath, std::string& path) {
  return RunSaveFileDialog(&mainWindow_, title, filters, suggestedPath, path);
}

bool QtPlatform::DrawChartPicture(PictureFormat format, int width, int height,
                                  const std::function<void(Canvas&)>& paint, std::string& bytes) {
  QByteArray picture;
  if (!DrawPicture(format, QSize(width, height), paint, picture))
    return false;
  bytes.assign(picture.constData(), static_cast<std::size_t>(picture.size()));
  return true;
}

void QtPlatform::ShowStatus(std::string_view text) {
  mainWindow_.statusBar()->showMessage(
      QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void QtPlatform::SetClipboardText(std::string_view text) {
  QGuiApplication::clipboard()->setText(
      QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
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

void QtPlatform::CalibrationChanged() {
  chart_.update();
  if (follow_)
    follow_();
}

void QtPlatform::CloseMainWindow() {
  mainWindow_.close();
}

}  // namespace pellum
