#pragma once

#include <QRect>

class QPainter;
class QPalette;

// The frames of the classic look, drawn from the palette. Each returns what lies inside it.

// A one-pixel flat push-button frame around a face in the button colour: darker while held
// down, faded while disabled.
QRect DrawFlatButtonFrame(QPainter& painter, const QRect& rect, const QPalette& palette,
                          bool pressed, bool enabled);

// A bevel of the given depth (1: a thin toolbar edge, 2: a full push button), lit from the top
// left when raised and from the bottom right when sunken. The face is not filled.
QRect DrawBevel(QPainter& painter, const QRect& rect, const QPalette& palette, bool raised,
                int depth);
