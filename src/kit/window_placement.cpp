#include "window_placement.h"

#include <algorithm>

WindowPlacement WindowPlacement::From(Qt::WindowStates states, const QRect& normalGeometry)
{
    WindowPlacement placement;
    if (states.testFlag(Qt::WindowMinimized))
        placement.show = kShowMinimized;
    else if (states.testFlag(Qt::WindowMaximized) || states.testFlag(Qt::WindowFullScreen))
        placement.show = kShowMaximized;
    else
        placement.show = kShowNormal;
    placement.left = normalGeometry.left();
    placement.top = normalGeometry.top();
    placement.right = normalGeometry.left() + normalGeometry.width();
    placement.bottom = normalGeometry.top() + normalGeometry.height();
    return placement;
}

Qt::WindowStates WindowPlacement::WindowStates() const
{
    switch (show) {
    case kShowMinimized:
        return Qt::WindowMinimized;
    case kShowMaximized:
        return Qt::WindowMaximized;
    default:
        return Qt::WindowNoState;
    }
}

QRect PlaceOnScreens(const QRect& stored, const QList<QRect>& screens)
{
    const QRect rect = stored.isValid() ? stored : WindowPlacement().NormalRect();
    if (screens.isEmpty())
        return rect;

    const int needWidth = std::min(kMinVisible, rect.width());
    const int needHeight = std::min(kMinVisible, rect.height());
    const QRect titleBand(rect.topLeft(), QSize(rect.width(), needHeight));
    for (const QRect& screen : screens) {
        const QRect shown = titleBand.intersected(screen);
        if (shown.width() >= needWidth && shown.height() >= needHeight)
            return rect;
    }

    const QRect& primary = screens.first();
    const QSize size = rect.size().boundedTo(primary.size());
    const int x =
        std::clamp(rect.left(), primary.left(), primary.left() + primary.width() - size.width());
    const int y =
        std::clamp(rect.top(), primary.top(), primary.top() + primary.height() - size.height());
    return {QPoint(x, y), size};
}
