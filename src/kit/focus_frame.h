#pragma once

#include <QColor>
#include <QList>
#include <QRect>

class QPainter;
class QPalette;

// The frame that shows where the keyboard focus is on a widget that paints itself (the toolbar
// buttons, the navigation column, the rows of the lists, the links): two pixels in the palette's
// highlight colour just inside the rectangle, the colour made to stand out against the background
// it is drawn on (both ends of a gradient, say). Drawn whenever the widget has the focus, however
// the focus came.

QColor FocusFrameColour(const QPalette& palette, const QList<QColor>& backgrounds);
void DrawFocusFrame(QPainter& painter, const QRect& rect, const QPalette& palette,
                    const QList<QColor>& backgrounds);
