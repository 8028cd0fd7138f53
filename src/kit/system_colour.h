#pragma once

#include <QColor>
#include <QPalette>

// The desktop colours the console's windows were designed around, named the way their Parts
// name them. Qt has no such table, so each is derived from the widget's palette: the console
// then follows a light or dark desktop without knowing which one it runs on.
enum class SysColour
{
    ButtonFace,
    ButtonText,
    ButtonShadow,
    ButtonHighlight, // the brightest edge of a raised frame
    Light3D,         // the edge just inside it
    DarkShadow3D,
    ActiveCaption,
    GradientActiveCaption,
    InactiveCaption,
    GradientInactiveCaption,
    CaptionText,
    ScrollBar,
    Window,
    WindowText,
    Highlight,
    HighlightText,
    HotTrack, // text of an item under the mouse: pure blue on the usual light palette
    GrayText,
    MenuBar,
    Menu,
    MenuText,
};

QColor SystemColour(SysColour role, const QPalette& palette);
