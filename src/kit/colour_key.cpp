#include "colour_key.h"

QImage ImageWithColourKey(const QImage& image, const QColor& key)
{
    if (image.isNull())
        return {};
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    if (!key.isValid())
        return out;
    const QRgb wanted = key.rgb() & RGB_MASK;
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            // Compared on opaque pixels only: a picture that already has transparency keeps it.
            if (qAlpha(line[x]) == 255 && (line[x] & RGB_MASK) == wanted)
                line[x] = 0;
        }
    }
    return out;
}

QPixmap PixmapWithColourKey(const QImage& image, const QColor& key)
{
    return QPixmap::fromImage(ImageWithColourKey(image, key));
}
