#include "row_picture_cache.h"

#include <QPainter>

namespace {

// Two screens of rows, selected and not: at most a few megabytes.
constexpr qsizetype kMaxPictures = 48;

} // namespace

const QPixmap& CRowPictureCache::Picture(const QString& key, const QSize& size, qreal pixelRatio,
                                         const Draw& draw)
{
    const auto found = m_pictures.constFind(key);
    if (found != m_pictures.cend())
        return *found;
    if (m_pictures.size() >= kMaxPictures)
        m_pictures.clear();
    QPixmap picture(size * pixelRatio);
    picture.setDevicePixelRatio(pixelRatio);
    {
        QPainter painter(&picture);
        draw(painter);
    }
    return *m_pictures.insert(key, std::move(picture));
}
