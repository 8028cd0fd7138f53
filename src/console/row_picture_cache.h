#pragma once

#include <QHash>
#include <QPixmap>
#include <QString>
#include <functional>

class QPainter;

// Pictures of whole list rows, drawn once and copied to the screen at each repaint. A row of
// the visitors list is five texts in three fonts and colours; a visitor arriving at the top
// moves every visible row, and drawing them all again cost several times what copying their
// pictures does. A row's picture is kept under a key that names everything it shows (the
// caller builds it), so a changed row simply gets a new picture.
//
// Only the rows of a screen or two are kept: when there are more, all are dropped at once.
class CRowPictureCache final
{
public:
    using Draw = std::function<void(QPainter& painter)>;

    // The picture kept under key; when there is none, one of that size (device-independent
    // pixels) is drawn by draw, at the device pixel ratio, and kept.
    const QPixmap& Picture(const QString& key, const QSize& size, qreal pixelRatio,
                           const Draw& draw);

private:
    QHash<QString, QPixmap> m_pictures;
};
