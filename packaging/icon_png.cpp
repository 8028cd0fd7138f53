// parlendo-icon-png SVG SIZE PNG: draws the SVG into a SIZE x SIZE PNG for the icon theme.
// Runs at build time, so the PNG icon always matches the SVG one; the same SVG and Qt give the
// same bytes (no time stamps or text chunks are written).

#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: parlendo-icon-png SVG SIZE PNG\n");
        return EXIT_FAILURE;
    }
    // No window is made; the offscreen platform keeps the tool working without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QString source = QString::fromLocal8Bit(argv[1]);
    bool ok = false;
    const int size = QByteArray(argv[2]).toInt(&ok);
    const QString target = QString::fromLocal8Bit(argv[3]);
    if (!ok || size < 16 || size > 1024) {
        std::fprintf(stderr, "parlendo-icon-png: SIZE must be a number from 16 to 1024\n");
        return EXIT_FAILURE;
    }

    QSvgRenderer renderer(source);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "parlendo-icon-png: cannot read %s\n", argv[1]);
        return EXIT_FAILURE;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(0, 0, size, size));
    }
    QImageWriter writer(target, "png");
    // Best compression: the file is installed and packaged, and written once per build.
    writer.setQuality(0);
    if (!writer.write(image)) {
        std::fprintf(stderr, "parlendo-icon-png: cannot write %s: %s\n", argv[3],
                     qPrintable(writer.errorString()));
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
