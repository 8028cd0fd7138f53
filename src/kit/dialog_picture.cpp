#include "dialog_picture.h"

#include "dialog_units.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

CDialogPicture::CDialogPicture(int width, int height, QWidget* parent) : QLabel(parent)
{
    const QSize size = CDialogUnits(font()).Size(width, height);
    const qreal ratio = devicePixelRatioF();
    QPixmap picture(size * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    QSvgRenderer art(QStringLiteral(":/console/dialog-picture.svg"));
    QPainter painter(&picture);
    art.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    setPixmap(picture);
    setFixedSize(size);
}
