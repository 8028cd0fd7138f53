#include "focus_frame.h"

#include "contrast.h"

#include <QPainter>
#include <QPalette>

namespace {

constexpr int kWidth = 2;

} // namespace

QColor FocusFrameColour(const QPalette& palette, const QList<QColor>& backgrounds)
{
    return ReadableOn(palette.color(QPalette::Active, QPalette::Highlight), backgrounds,
                      kFrameContrast);
}

void DrawFocusFrame(QPainter& painter, const QRect& rect, const QPalette& palette,
                    const QList<QColor>& backgrounds)
{
    if (rect.width() <= 2 * kWidth || rect.height() <= 2 * kWidth)
        return;
    painter.save();
    QPen pen(FocusFrameColour(palette, backgrounds), kWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.setRenderHint(QPainter::Antialiasing, false);
    // A pen two pixels wide is centred on its line: one pixel in from each edge, it covers the
    // two outermost rows and columns of the rectangle.
    painter.drawRect(QRectF(rect).adjusted(1, 1, -1, -1));
    painter.restore();
}
