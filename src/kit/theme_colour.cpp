#include "theme_colour.h"

QColor CThemeColour::Resolve(const QPalette& palette) const
{
    if (const auto* fixed = std::get_if<QColor>(&m_source))
        return *fixed;
    QColor c = SystemColour(std::get<SysColour>(m_source), palette);
    c.setAlpha(m_alpha);
    return c;
}
