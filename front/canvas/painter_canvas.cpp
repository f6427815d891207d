#include "front/canvas/painter_canvas.h"

#include <QFontMetrics>
#include <QPen>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace pellum {
namespace {

// Whole device pixels, as a device context rounds its logical-to-device conversion.
double ToPixel(double v) {
  return std::floor(v + 0.5);
}

}  // namespace

PainterCanvas::PainterCanvas(QPainter& painter, QSize area) : painter_(painter), area_(area) {
  painter_.save();
  // One logical pixel whatever the chart's scale: a cosmetic pen keeps its width under the
  // painter's transform, and is as wide as one logical pixel is in device pixels, so that on
  // a screen of two device pixels per logical one the lines scale with the text.
  QPen pen(Qt::black);
  const QPaintDevice* device = painter_.device();
  pen.setWidthF(device != nullptr ? std::max(1.0, device->devicePixelRatioF()) : 1.0);
  pen.setCosmetic(true);
  painter_.setPen(pen);
  painter_.setBrush(Qt::white);
  painter_.setRenderHint(QPainter::Antialiasing, false);
  base_ = painter_.transform();
}

PainterCanvas::~PainterCanvas() {
  painter_.restore();
}

void PainterCanvas::Clear() {
  painter_.fillRect(QRect(QPoint(0, 0), area_), Qt::white);
}

void PainterCanvas::SetIsotropicMapping(int windowExtentX, int windowExtentY, int viewportExtentX,
                                        int viewportExtentY, int viewportOriginX,
                                        int viewportOriginY) {
  originX_ = viewportOriginX;
  originY_ = viewportOriginY;
  if (windowExtentX == 0 || windowExtentY == 0) {
    scaleX_ = scaleY_ = 0.0;  // a degenerate mapping puts everything on the origin
    return;
  }
  // Isotropic: the smaller of the two magnitudes on both axes; the signs say which way
  // each logical axis runs on the device.
  const double sx = static_cast<double>(viewportExtentX) / windowExtentX;
  const double sy = static_cast<double>(viewportExtentY) / windowExtentY;
  const double s = std::min(std::fabs(sx), std::fabs(sy));
  scaleX_ = sx < 0 ? -s : s;
  scaleY_ = sy < 0 ? -s : s;
}

QPointF PainterCanvas::ToDevice(int x, int y) const {
  return QPointF(ToPixel(originX_ + x * scaleX_), ToPixel(originY_ + y * scaleY_));
}

void PainterCanvas::MoveTo(int x, int y) {
  current_ = ToDevice(x, y);
}

void PainterCanvas::LineTo(int x, int y) {
  const QPointF end = ToDevice(x, y);
  painter_.drawLine(current_, end);
  current_ = end;
}

void PainterCanvas::TextOut(int x, int y, std::string_view text) {
  const QString qtext = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  const QFontMetricsF metrics(painter_.font(), painter_.device());
  const QPointF topLeft = ToDevice(x, y);
  // The text's own box, filled white first: the text hides what lies under it.
  const QRectF box(topLeft, QSizeF(metrics.horizontalAdvance(qtext), metrics.height()));
  painter_.fillRect(box, Qt::white);
  painter_.drawText(QPointF(topLeft.x(), topLeft.y() + metrics.ascent()), qtext);
}

int PainterCanvas::TextWidth(std::string_view text) const {
  const QString qtext = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  return static_cast<int>(
      std::ceil(QFontMetricsF(painter_.font(), painter_.device()).horizontalAdvance(qtext)));
}

int PainterCanvas::TextHeight() const {
  return static_cast<int>(std::ceil(QFontMetricsF(painter_.font(), painter_.device()).height()));
}

void PainterCanvas::SetZoom(double zoom) {
  // The cosmetic pen keeps its width; text and positions scale with the painter.
  QTransform zoomed = base_;
  zoomed.scale(zoom, zoom);
  painter_.setTransform(zoomed);
}

void PainterCanvas::Ellipse(int left, int top, int right, int bottom) {
  // Either pair of opposite corners will do.
  const QRectF box = QRectF(ToDevice(left, top), ToDevice(right, bottom)).normalized();
  painter_.drawEllipse(box);
}

}  // namespace pellum
