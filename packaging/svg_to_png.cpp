// Renders an SVG drawing into a square PNG of the given size: the icon
// themes want bitmaps beside the scalable icon, and they are made from the
// drawing at build time rather than kept by hand.
//
//   svg_to_png INPUT.svg OUTPUT.png SIZE
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s INPUT.svg OUTPUT.png SIZE\n", argv[0]);
    return 2;
  }
  const QString input = QString::fromLocal8Bit(argv[1]);
  const QString output = QString::fromLocal8Bit(argv[2]);
  bool ok = false;
  const int size = QString::fromLatin1(argv[3]).toInt(&ok);
  if (!ok || size <= 0 || size > 4096) {
    std::fprintf(stderr, "svg_to_png: bad size %s\n", argv[3]);
    return 2;
  }
  QSvgRenderer svg(input);
  if (!svg.isValid()) {
    std::fprintf(stderr, "svg_to_png: cannot read %s\n", argv[1]);
    return 1;
  }
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    svg.render(&painter);
  }
  // No time or other text chunk: the same drawing gives the same bytes.
  if (!image.save(output, "PNG")) {
    std::fprintf(stderr, "svg_to_png: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
