#pragma once

#include <QPainter>
#include <QSize>
#include <QTransform>

#include "ui/canvas.h"

namespace pellum {

// Draws the chart with a QPainter. The isotropic mapping is kept here and every point is
// converted to the painter's coordinates (the device's logical pixels) before drawing, so
// text keeps the font's own size and lines stay one logical pixel wide whatever the chart's
// scale: one device pixel on an ordinary screen, two on a screen of twice the density.
class PainterCanvas : public Canvas {
 public:
  // Draws on painter, whose device's drawing area is `area` device pixels (the client area).
  // The painter's state is saved here and restored by the destructor.
  PainterCanvas(QPainter& painter, QSize area);
  ~PainterCanvas() override;
  PainterCanvas(const PainterCanvas&) = delete;
  PainterCanvas& operator=(const PainterCanvas&) = delete;

  void Clear() override;
  void SetIsotropicMapping(int windowExtentX, int windowExtentY, int viewportExtentX,
                           int viewportExtentY, int viewportOriginX, int viewportOriginY) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void TextOut(int x, int y, std::string_view text) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  int TextWidth(std::string_view text) const override;
  int TextHeight() const override;
  void SetZoom(double zoom) override;

  // Where logical (x, y) lands on the device under the current mapping, in whole pixels:
  // with the chart's mapping on 1000 x 600, (0, 0) -> (200, 540) and (10, 10) -> (250, 490).
  QPointF ToDevice(int x, int y) const;

 private:
  QPainter& painter_;
  QSize area_;
  QTransform base_;  // the painter's own transform, which a zoom scales
  double scaleX_ = 1.0;
  double scaleY_ = 1.0;
  double originX_ = 0.0;
  double originY_ = 0.0;
  QPointF current_;
};

}  // namespace pellum
