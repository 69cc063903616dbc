// Converts one of the skin's bitmaps to the PNG a desktop entry shows as the
// program's icon: qv_bmp_to_png IN.bmp OUT.png
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "Usage: qv_bmp_to_png IN.bmp OUT.png\n");
    return 2;
  }
  const QImage image(QString::fromLocal8Bit(argv[1]));
  if (image.isNull()) {
    std::fprintf(stderr, "qv_bmp_to_png: cannot read %s\n", argv[1]);
    return 1;
  }
  if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
    std::fprintf(stderr, "qv_bmp_to_png: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
