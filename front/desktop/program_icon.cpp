#include "front/desktop/program_icon.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace pellum {

QIcon ProgramIcon() {
  QSvgRenderer renderer(QStringLiteral(":/icons/pellum.svg"));
  QIcon icon;
  if (!renderer.isValid()) {
    return icon;
  }
  for (int size : {16, 32, 48, 256}) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    icon.addPixmap(QPixmap::fromImage(image));
  }
  return icon;
}

}  // namespace pellum
