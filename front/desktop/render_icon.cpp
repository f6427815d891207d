// Renders the program's SVG icon to the PNG sizes a desktop's icon theme expects:
//   pellum_render_icon icons/pellum.svg OUTDIR  ->  OUTDIR/pellum-16.png ... pellum-256.png
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  if (argc != 3) {
    std::fputs("usage: pellum_render_icon SVG OUTDIR\n", stderr);
    return 2;
  }
  QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
  if (!renderer.isValid()) {
    std::fprintf(stderr, "pellum_render_icon: cannot read %s\n", argv[1]);
    return 1;
  }
  for (int size : {16, 32, 48, 256}) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    const QString path =
        QString::fromLocal8Bit(argv[2]) + QStringLiteral("/pellum-%1.png").arg(size);
    if (!image.save(path)) {
      std::fprintf(stderr, "pellum_render_icon: cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}
