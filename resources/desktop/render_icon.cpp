// qv70-render-icon IN.svg SIZE OUT.png: the program icon as a square PNG of
// SIZE pixels for the desktop's icon theme. Used by the build only.

#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: qv70-render-icon IN.svg SIZE OUT.png\n");
    return 2;
  }
  const int size = std::atoi(argv[2]);
  QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
  if (!renderer.isValid() || size < 1 || size > 1024) {
    std::fprintf(stderr, "qv70-render-icon: cannot render \"%s\" at %s pixels\n", argv[1], argv[2]);
    return 1;
  }
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  renderer.render(&painter);
  painter.end();
  if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
    std::fprintf(stderr, "qv70-render-icon: cannot write \"%s\"\n", argv[3]);
    return 1;
  }
  return 0;
}
