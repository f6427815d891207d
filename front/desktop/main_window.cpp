#include "front/desktop/main_window.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <algorithm>
#include <filesystem>
#include <iostream>

#include "app/calibration_record_commands.h"
#include "app/window_commands.h"
#include "front/desktop/chart_minimum_size.h"
#include "front/desktop/program_icon.h"
#include "ui/user_texts.h"

namespace pellum {

MainWindow::MainWindow(std::string folderSettingPath, QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("mainWindow"));
  setWindowIcon(ProgramIcon());
  state_.folderSettingPath = std::move(folderSettingPath);
  // The model rule and the reference are kept beside the last folder.
  if (!state_.folderSettingPath.empty()) {
    state_.modelSettingPath = (std::filesystem::path(state_.folderSettingPath).parent_path() /
                               std::string(texts::kModelSettingName))
                                  .string();
    state_.referenceSettingPath = (std::filesystem::path(state_.folderSettingPath).parent_path() /
                                   std::string(texts::kReferenceSettingName))
                                      .string();
  }
  // The trace lines of every paint go to standard output, where a user following a
  // calibration reads them.
  chart_ = new ChartWidget(state_, std::cout, this);
  setCentralWidget(chart_);
  platform_ = std::make_unique<QtPlatform>(*this, *chart_);
  // The panel shows the calibration the chart shows from the moment of the fit.
  platform_->OnCalibrationChanged([this] { ShowCalibration(); });
  // Made now, so that the window's size and minimum count it from the start.
  statusBar()->setObjectName(QStringLiteral("statusBar"));

  panel_ = new QualityPanel(this);

  // The shortcuts are added to the menu's items, whose Alt letters stay as they are.
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  AddCommand(file, QStringLiteral("&Open"), IDM_OPEN, QKeySequence::Open);
  AddCommand(file, QStringLiteral("Save Chart &As..."), MenuCommand::SaveChart,
             QKeySequence(Qt::CTRL | Qt::Key_S));
  saveCalibration_ =
      AddCommand(file, QStringLiteral("Save &Calibration..."), MenuCommand::SaveCalibration);
  exportCif_ = AddCommand(file, QStringLiteral("Export C&IF..."), MenuCommand::ExportCif);
  AddCommand(file, QStringLiteral("&Exit"), IDM_EXIT, QKeySequence(Qt::CTRL | Qt::Key_Q));
  QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
  copyCalibration_ =
      AddCommand(edit, QStringLiteral("&Copy Calibration"), MenuCommand::CopyCalibration);
  QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
  auto* charts = new QActionGroup(this);
  calibrationChart_ =
      AddCommand(view, QStringLiteral("Ca&libration Chart"), MenuCommand::ShowCalibrationChart,
                 QKeySequence(Qt::CTRL | Qt::Key_1));
  correctionChart_ =
      AddCommand(view, QStringLiteral("C&orrection Chart"), MenuCommand::ShowCorrectionChart,
                 QKeySequence(Qt::CTRL | Qt::Key_2));
  for (QAction* chart : {calibrationChart_, correctionChart_}) {
    chart->setCheckable(true);
    charts->addAction(chart);
  }
  view->addSeparator();
  QAction* togglePanel = panel_->toggleViewAction();
  togglePanel->setText(QStringLiteral("&Calibration Panel"));
  view->addAction(togglePanel);
  QMenu* fit = menuBar()->addMenu(QStringLiteral("F&it"));
  auto* models = new QActionGroup(this);
  const struct {
    const char* text;
    ModelRule rule;
  } modelItems[] = {
      {"&Smaller Chi-Square (the report's rule)", ModelRule::ChiSquare},
      {"Straight &Line", ModelRule::Line},
      {"&Quadratic", ModelRule::Quadratic},
      {"Quadratic Only If a3 Is Si&gnificant (95 %)", ModelRule::Significant},
  };
  for (const auto& item : modelItems) {
    QAction* model = AddCommand(fit, QString::fromUtf8(item.text), ModelCommandOf(item.rule));
    model->setCheckable(true);
    models->addAction(model);
    modelActions_.push_back({model, item.rule});
  }
  QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
  AddCommand(help, QStringLiteral("&About Pellum..."), IDM_ABOUT, QKeySequence(Qt::Key_F1));

  // Placed once the menus are made: the menu bar's height counts.
  PlacePanel();
  HandleCreate(state_, *platform_);
  ShowCalibration();
}

std::string MainWindow::DefaultFolderSettingPath() {
  // The XDG rule: a relative XDG_CONFIG_HOME is invalid and ignored. Taken as it is, the
  // setting would be written into whatever folder the program was started from.
  if (const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
      !xdg.isEmpty() && QDir::isRelativePath(xdg))
    qunsetenv("XDG_CONFIG_HOME");
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
  if (folder.isEmpty())
    return {};
  return QFile::encodeName(
             folder + QLatin1Char('/') +
             QString::fromUtf8(texts::kFolderSettingName.data(),
                               static_cast<qsizetype>(texts::kFolderSettingName.size())))
      .toStdString();
}

// The chart's texts need about three parts width to two of height: its coefficients stand to
// the right of the plot. The panel goes beside the chart where the screen leaves room for
// both at the chart's own size, and below it where not, so the chart keeps its width. The
// window is never smaller than the chart's minimum with the panel (MinimumChartSize).
void MainWindow::PlacePanel() {
  const int menu = menuBar()->sizeHint().height() + statusBar()->sizeHint().height();
  // The window manager's frame (a title bar, borders) is not known before the window is
  // shown, yet it takes its room from the screen too: a title bar's height and a few pixels
  // are kept free for it, so that the whole window stays on the screen.
  const int frame = style()->pixelMetric(QStyle::PM_TitleBarHeight) + 8;
  const QSize screenRoom = screen()->availableGeometry().size() - QSize(8, frame);
  const QSize room = screenRoom * 9 / 10;
  // On a screen too small for the chart's own minimum (a small screen at twice the
  // density), the chart may be smaller: it then draws itself shrunk, every text whole.
  const QSize chartRoom(screenRoom.width(), screenRoom.height() - menu);
  chart_->setMinimumSize(MinimumChartSize(chart_->fontMetrics()).boundedTo(chartRoom));
  const QSize chart = chart_->sizeHint().boundedTo(room).expandedTo(chart_->minimumSize());
  const QSize panel = panel_->sizeHint();
  QSize wanted(chart.width() + panel.width(), chart.height() + menu);
  if (wanted.width() <= room.width()) {
    addDockWidget(Qt::RightDockWidgetArea, panel_);
  } else {
    addDockWidget(Qt::BottomDockWidgetArea, panel_);
    wanted = QSize(chart.width(), chart.height() + menu + panel.height());
    // No room below either: the panel waits in the View menu.
    if (chart_->minimumHeight() + menu + panel_->minimumSizeHint().height() > screenRoom.height())
      panel_->hide();
  }
  // What the bars take beyond their hints comes off the chart's minimum too.
  const QSize over = minimumSizeHint() - screenRoom;
  chart_->setMinimumSize(chart_->minimumWidth() - std::max(0, over.width()),
                         chart_->minimumHeight() - std::max(0, over.height()));
  resize(wanted.boundedTo(room));
}

void MainWindow::ShowCalibration() {
  panel_->ShowSummary(PanelSummary(state_));
  calibrationChart_->setChecked(state_.chartView == ChartView::Calibration);
  correctionChart_->setChecked(state_.chartView == ChartView::Correction);
  for (const auto& [action, rule] : modelActions_)
    action->setChecked(state_.modelRule == rule);
  saveCalibration_->setEnabled(state_.calibrated);
  exportCif_->setEnabled(state_.calibrated);
  copyCalibration_->setEnabled(state_.calibrated);
}

QAction* MainWindow::AddCommand(QMenu* menu, const QString& text, MenuCommand command,
                                const QKeySequence& shortcut) {
  QAction* action = menu->addAction(text);
  action->setData(static_cast<int>(command));
  action->setShortcut(shortcut);
  connect(action, &QAction::triggered, this, [this, command] { Command(command); });
  return action;
}

void MainWindow::Command(MenuCommand command) {
  HandleCommand(state_, *platform_, command, std::cout);
  ShowCalibration();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  HandleDestroy(state_);
  event->accept();
}

}  // namespace pellum
