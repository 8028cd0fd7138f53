#pragma once

#include "system_colour.h"

#include <QColor>
#include <QPalette>
#include <variant>

// A colour as a window asks for it: either a fixed one, or one of the desktop colours (with an
// opacity) that is looked up in the palette each time it is painted, so that a widget set up
// with "the scroll-bar colour" keeps matching the desktop after a theme change.
class CThemeColour final
{
public:
    CThemeColour(const QColor& fixed) : m_source(fixed) {}
    CThemeColour(Qt::GlobalColor fixed) : m_source(QColor(fixed)) {}
    CThemeColour(SysColour role, int alpha = 255) : m_source(role), m_alpha(alpha) {}

    QColor Resolve(const QPalette& palette) const;

private:
    std::variant<QColor, SysColour> m_source;
    int m_alpha = 255;
};
