// Build-time renderer: draws each SVG drawing to PNG files of the pixel sizes the program shows,
// so that the program itself needs no SVG support at run time (it starts faster and smaller).
// Usage: svg_to_png <in.svg> <out.png> <width> <height> [<in.svg> <out.png> <width> <height>]...
// The folders of the outputs are made as needed: not every build tool makes them.
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 5 || (argc - 1) % 4 != 0) {
        std::fprintf(stderr, "usage: svg_to_png <in.svg> <out.png> <width> <height> ...\n");
        return 2;
    }
    // Text in the drawings needs the font database, which needs a platform; no display is used.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    for (int i = 1; i + 3 < argc; i += 4) {
        const QString in = QString::fromLocal8Bit(argv[i]);
        const QString out = QString::fromLocal8Bit(argv[i + 1]);
        bool wideOk = false;
        bool highOk = false;
        const int width = QByteArray(argv[i + 2]).toInt(&wideOk);
        const int height = QByteArray(argv[i + 3]).toInt(&highOk);
        QSvgRenderer renderer(in);
        if (!renderer.isValid() || !wideOk || !highOk || width <= 0 || height <= 0) {
            std::fprintf(stderr, "svg_to_png: cannot render %s at %s x %s\n", argv[i], argv[i + 2],
                         argv[i + 3]);
            return 1;
        }
        QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        if (!QDir().mkpath(QFileInfo(out).absolutePath()) || !image.save(out, "PNG")) {
            std::fprintf(stderr, "svg_to_png: cannot write %s\n", argv[i + 1]);
            return 1;
        }
    }
    return 0;
}
