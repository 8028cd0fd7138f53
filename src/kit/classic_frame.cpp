#include "classic_frame.h"

#include "colour_math.h"
#include "system_colour.h"

#include <QPainter>

namespace {

// Top and left edges in one colour, bottom and right in the other, one pixel wide.
void Edge(QPainter& painter, const QRect& r, const QColor& topLeft, const QColor& bottomRight)
{
    painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), topLeft);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), topLeft);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
}

} // namespace

QRect DrawFlatButtonFrame(QPainter& painter, const QRect& rect, const QPalette& palette,
                          bool pressed, bool enabled)
{
    const QColor face = SystemColour(SysColour::ButtonFace, palette);
    QColor border =
        SystemColour(pressed ? SysColour::DarkShadow3D : SysColour::ButtonShadow, palette);
    if (!enabled)
        border = Blend(border, face, 0.5);
    Edge(painter, rect, border, border);
    const QRect inside = rect.adjusted(1, 1, -1, -1);
    painter.fillRect(inside, face);
    return inside;
}

QRect DrawBevel(QPainter& painter, const QRect& rect, const QPalette& palette, bool raised,
                int depth)
{
    const QColor light = SystemColour(SysColour::ButtonHighlight, palette);
    const QColor shadow = SystemColour(SysColour::ButtonShadow, palette);
    if (depth <= 1) {
        Edge(painter, rect, raised ? light : shadow, raised ? shadow : light);
        return rect.adjusted(1, 1, -1, -1);
    }
    const QColor outerLight = SystemColour(SysColour::Light3D, palette);
    const QColor outerDark = SystemColour(SysColour::DarkShadow3D, palette);
    const QRect inner = rect.adjusted(1, 1, -1, -1);
    if (raised) {
        Edge(painter, rect, outerLight, outerDark);
        Edge(painter, inner, light, shadow);
    } else {
        Edge(painter, rect, outerDark, light);
        Edge(painter, inner, shadow, outerLight);
    }
    return rect.adjusted(2, 2, -2, -2);
}
