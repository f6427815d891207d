#include "front/desktop/main_window.h"

#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <iostream>

#include "app/calibration_record_commands.h"
#include "app/window_commands.h"
#include "front/desktop/program_icon.h"

namespace pellum {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("mainWindow"));
  setWindowIcon(ProgramIcon());
  // The trace lines of every paint go to standard output, where a user following a
  // calibration reads them.
  chart_ = new ChartWidget(state_, std::cout, this);
  setCentralWidget(chart_);
  platform_ = std::make_unique<QtPlatform>(*this, *chart_);

  panel_ = new QualityPanel(this);
  PlacePanel();

  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  AddCommand(file, QStringLiteral("&Open"), IDM_OPEN);
  saveCalibration_ =
      AddCommand(file, QStringLiteral("Save &Calibration..."), MenuCommand::SaveCalibration);
  AddCommand(file, QStringLiteral("&Exit"), IDM_EXIT);
  QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
  copyCalibration_ =
      AddCommand(edit, QStringLiteral("&Copy Calibration"), MenuCommand::CopyCalibration);
  QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
  QAction* togglePanel = panel_->toggleViewAction();
  togglePanel->setText(QStringLiteral("&Calibration Panel"));
  view->addAction(togglePanel);
  QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
  AddCommand(help, QStringLiteral("&About Pellum..."), IDM_ABOUT);

  HandleCreate(state_, *platform_);
  ShowCalibration();
}

// The chart's texts need about three parts width to two of height: its coefficients stand to
// the right of the plot. The panel goes beside the chart where the screen leaves room for
// both at the chart's own size, and below it where not, so the chart keeps its width.
void MainWindow::PlacePanel() {
  const QSize chart = chart_->sizeHint();
  const int menu = menuBar()->sizeHint().height();
  const QSize room = screen()->availableGeometry().size() * 9 / 10;
  QSize wanted(chart.width() + panel_->sizeHint().width(), chart.height() + menu);
  if (wanted.width() <= room.width()) {
    addDockWidget(Qt::RightDockWidgetArea, panel_);
  } else {
    addDockWidget(Qt::BottomDockWidgetArea, panel_);
    wanted = QSize(chart.width(), chart.height() + menu + panel_->sizeHint().height());
  }
  resize(wanted.boundedTo(room));
}

void MainWindow::ShowCalibration() {
  panel_->ShowSummary(CalibrationSummary(state_));
  saveCalibration_->setEnabled(state_.calibrated);
  copyCalibration_->setEnabled(state_.calibrated);
}

QAction* MainWindow::AddCommand(QMenu* menu, const QString& text, MenuCommand command) {
  QAction* action = menu->addAction(text);
  action->setData(static_cast<int>(command));
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
