#include "front/desktop/main_window.h"

#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>

#include "app/window_commands.h"
#include "front/desktop/program_icon.h"

namespace pellum {

PellumWindow::PellumWindow(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("mainWindow"));
  setWindowIcon(ProgramIcon());
  chart_ = new ChartWidget(state_, this);
  setCentralWidget(chart_);
  platform_ = std::make_unique<QtPlatform>(*this, *chart_);

  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  AddCommand(file, QStringLiteral("&Open"), IDM_OPEN);
  AddCommand(file, QStringLiteral("&Exit"), IDM_EXIT);
  QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
  AddCommand(help, QStringLiteral("&About Pellum..."), IDM_ABOUT);

  HandleCreate(state_, *platform_);
}

QAction* PellumWindow::AddCommand(QMenu* menu, const QString& text, int commandId) {
  QAction* action = menu->addAction(text);
  action->setData(commandId);
  connect(action, &QAction::triggered, this, [this, commandId] { Command(commandId); });
  return action;
}

void PellumWindow::Command(int commandId) {
  HandleCommand(state_, *platform_, commandId);
}

void PellumWindow::closeEvent(QCloseEvent* event) {
  HandleDestroy(state_);
  event->accept();
}

}  // namespace pellum
