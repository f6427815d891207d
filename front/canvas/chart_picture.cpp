#include "front/canvas/chart_picture.h"

#include <QBuffer>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include "front/canvas/painter_canvas.h"

namespace pellum {
namespace {

constexpr const char* kTitle = "Pellum calibration chart";
// A screen's pixels per inch. The default font is sized in points, so a picture drawn at
// another resolution (an SVG generator's own is 72) would hold the window's texts at another
// size in proportion to the chart: three quarters of it at 72.
constexpr int kPixelsPerInch = 96;

bool PaintOn(QPaintDevice& device, QSize area, const std::function<void(Canvas&)>& paint) {
  QPainter painter;
  if (!painter.begin(&device))
    return false;
  {
    PainterCanvas canvas(painter, area);
    paint(canvas);
  }
  return painter.end();
}

bool DrawSvg(QSize area, const std::function<void(Canvas&)>& paint, QBuffer& out) {
  QSvgGenerator svg;
  svg.setOutputDevice(&out);
  svg.setSize(area);
  svg.setViewBox(QRect(QPoint(0, 0), area));
  svg.setResolution(kPixelsPerInch);
  svg.setTitle(QString::fromLatin1(kTitle));
  return PaintOn(svg, area, paint);
}

bool DrawPng(QSize area, const std::function<void(Canvas&)>& paint, QBuffer& out) {
  QImage image(area, QImage::Format_RGB32);
  if (image.isNull())
    return false;
  image.fill(Qt::white);
  return PaintOn(image, area, paint) && image.save(&out, "PNG");
}

bool DrawPdf(QSize area, const std::function<void(Canvas&)>& paint, QBuffer& out) {
  constexpr double kPointsPerInch = 72.0;
  QPdfWriter pdf(&out);
  pdf.setResolution(kPixelsPerInch);
  pdf.setPageSize(QPageSize(QSizeF(area.width() * kPointsPerInch / kPixelsPerInch,
                                   area.height() * kPointsPerInch / kPixelsPerInch),
                            QPageSize::Point));
  pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
  pdf.setTitle(QString::fromLatin1(kTitle));
  return PaintOn(pdf, area, paint);
}

}  // namespace

bool DrawPicture(PictureFormat format, QSize area, const std::function<void(Canvas&)>& paint,
                 QByteArray& bytes) {
  if (area.isEmpty())
    return false;
  QBuffer out;
  out.open(QIODevice::WriteOnly);
  bool drawn = false;
  switch (format) {
    case PictureFormat::Svg:
      drawn = DrawSvg(area, paint, out);
      break;
    case PictureFormat::Png:
      drawn = DrawPng(area, paint, out);
      break;
    case PictureFormat::Pdf:
      drawn = DrawPdf(area, paint, out);
      break;
  }
  out.close();
  if (drawn)
    bytes = out.data();
  return drawn;
}

}  // namespace pellum
