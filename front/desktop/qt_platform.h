#pragma once

#include <QMainWindow>
#include <QWidget>
#include <functional>

#include "app/platform.h"

namespace pellum {

// The shell's desktop in Qt Widgets: every dialog and message box is modal and owned by
// the main window; the chart is the widget that InvalidateChart repaints, and the status
// lines go to the main window's status bar.
class QtPlatform : public Platform {
 public:
  QtPlatform(QMainWindow& mainWindow, QWidget& chart) : mainWindow_(mainWindow), chart_(chart) {}

  void ShowMessage(std::string_view text, std::string_view caption, MessageKind kind) override;
  void ShowEntryDialog(EntryTexts& entries, ReferenceEntries& reference,
                       std::string& inputPath) override;
  bool ShowOpenFileDialog(const OpenFileSettings& settings, std::string& inputPath,
                          std::string& inputTitle) override;
  bool AskQuestion(std::string_view text, std::string_view caption, std::string_view acceptText,
                   std::string_view declineText) override;
  bool ShowSaveFileDialog(std::string_view title, std::span<const FileFilter> filters,
                          const std::string& suggestedPath, std::string& path) override;
  bool DrawChartPicture(PictureFormat format, int width, int height,
                        const std::function<void(Canvas&)>& paint, std::string& bytes) override;
  void ShowStatus(std::string_view text) override;
  void SetClipboardText(std::string_view text) override;
  void ShowAboutBox() override;
  void SetWindowTitle(std::string_view title) override;
  void InvalidateChart() override;
  // Repaints the chart and runs the window's own follow-up (its panel and commands).
  void CalibrationChanged() override;
  void OnCalibrationChanged(std::function<void()> follow) { follow_ = std::move(follow); }
  void CloseMainWindow() override;

 private:
  // Dialog units as the font defines them: a quarter of the average character's width
  // and an eighth of its height. The dialogs are placed in them, relative to the chart.
  QPoint ChartPointInDialogUnits(int x, int y) const;

  QMainWindow& mainWindow_;
  QWidget& chart_;
  std::function<void()> follow_;
};

}  // namespace pellum
