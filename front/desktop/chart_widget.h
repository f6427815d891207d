#pragma once

#include <QWidget>
#include <iostream>

#include "app/app_state.h"

namespace pellum {

// The main window's client area: the calibration chart, drawn from the shell's state at
// every paint and scaled to the area's size. Each paint writes the label trace lines.
class ChartWidget : public QWidget {
 public:
  ChartWidget(AppState& state, std::ostream& trace, QWidget* parent = nullptr);

  // Wide enough for the coefficient labels to the right of the square chart.
  QSize sizeHint() const override { return QSize(960, 640).expandedTo(minimumSizeHint()); }
  // No smaller than every text of the chart needs to stay readable (MinimumChartSize).
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  AppState& state_;
  std::ostream& trace_;
};

}  // namespace pellum
