#include "front/desktop/chart_widget.h"

#include <QPainter>
#include <QResizeEvent>

#include "app/window_commands.h"
#include "front/canvas/painter_canvas.h"
#include "front/desktop/chart_minimum_size.h"

namespace pellum {

ChartWidget::ChartWidget(AppState& state, std::ostream& trace, QWidget* parent)
    : QWidget(parent), state_(state), trace_(trace) {
  setObjectName(QStringLiteral("chart"));
  // The chart clears its whole area itself, white, before drawing.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize ChartWidget::minimumSizeHint() const {
  return MinimumChartSize(fontMetrics());
}

void ChartWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PainterCanvas canvas(painter, size());
  HandlePaint(state_, canvas, trace_);
  // Whoever follows the trace sees each paint as it happens, also through a pipe.
  trace_.flush();
}

void ChartWidget::resizeEvent(QResizeEvent* event) {
  HandleResize(state_, event->size().width(), event->size().height());
  // The mapping depends on the whole area, so every pixel changes with its size.
  update();
}

}  // namespace pellum
