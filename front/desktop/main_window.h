#pragma once

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/app_state.h"
#include "app/window_commands.h"
#include "front/desktop/chart_widget.h"
#include "front/desktop/qt_platform.h"
#include "front/desktop/quality_panel.h"

namespace pellum {

// The main window: the menu, the title, the chart and a status bar, over the shell's state
// for the whole run. Menu items carry their command identifiers (QAction::data) and go
// through the shell's command handling, as any other identifier would.
class MainWindow : public QMainWindow {
 public:
  // folderSettingPath keeps the open-file dialog's last folder between runs; empty keeps
  // nothing.
  explicit MainWindow(std::string folderSettingPath = DefaultFolderSettingPath(),
                      QWidget* parent = nullptr);

  // Where the last folder is kept: "last-folder" in the user's configuration folder for
  // Pellum ($XDG_CONFIG_HOME/Pellum, by default ~/.config/Pellum); empty when the system
  // names none.
  static std::string DefaultFolderSettingPath();

  // Runs a command by identifier, as the menu does.
  void Command(MenuCommand command);

  AppState& State() { return state_; }
  ChartWidget* Chart() const { return chart_; }
  QualityPanel* Panel() const { return panel_; }

 protected:
  // The close button and Exit end the same way: the window goes and the points with it.
  void closeEvent(QCloseEvent* event) override;

 private:
  QAction* AddCommand(QMenu* menu, const QString& text, MenuCommand command,
                      const QKeySequence& shortcut = {});
  void PlacePanel();
  // The panel and the commands that need a calibration follow the state after a command.
  void ShowCalibration();

  AppState state_;
  ChartWidget* chart_ = nullptr;
  QualityPanel* panel_ = nullptr;
  QAction* saveCalibration_ = nullptr;
  QAction* exportCif_ = nullptr;
  QAction* copyCalibration_ = nullptr;
  QAction* calibrationChart_ = nullptr;
  QAction* correctionChart_ = nullptr;
  std::vector<std::pair<QAction*, ModelRule>> modelActions_;
  std::unique_ptr<QtPlatform> platform_;
};

}  // namespace pellum
