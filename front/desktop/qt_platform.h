#pragma once

#include <QWidget>

#include "app/platform.h"

namespace pellum {

// The shell's desktop in Qt Widgets: every dialog and message box is modal and owned by
// the main window; the chart is the widget that InvalidateChart repaints.
class QtPlatform : public Platform {
 public:
  QtPlatform(QWidget& mainWindow, QWidget& chart) : mainWindow_(mainWindow), chart_(chart) {}

  void ShowMessage(std::string_view text, std::string_view caption, MessageKind kind) override;
  void ShowEntryDialog(EntryTexts& entries, std::string& inputPath) override;
  bool ShowOpenFileDialog(const OpenFileSettings& settings, std::string& inputPath,
                          std::string& inputTitle) override;
  bool AskQuestion(std::string_view text, std::string_view caption, std::string_view acceptText,
                   std::string_view declineText) override;
  bool ShowSaveFileDialog(std::string_view title, const FileFilter& filter,
                          const std::string& suggestedPath, std::string& path) override;
  void SetClipboardText(std::string_view text) override;
  void ShowAboutBox() override;
  void SetWindowTitle(std::string_view title) override;
  void InvalidateChart() override;
  void CloseMainWindow() override;

 private:
  // Dialog units as the font defines them: a quarter of the average character's width
  // and an eighth of its height. The dialogs are placed in them, relative to the chart.
  QPoint ChartPointInDialogUnits(int x, int y) const;

  QWidget& mainWindow_;
  QWidget& chart_;
};

}  // namespace pellum
