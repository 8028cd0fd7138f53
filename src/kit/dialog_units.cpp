#include "dialog_units.h"

#include <QFontMetricsF>
#include <cmath>

CDialogUnits::CDialogUnits(const QFont& font)
{
    const QFontMetricsF metrics(font);
    // The average over the alphabet rather than the font's own average width, which some
    // fonts leave unset.
    static const QString alphabet =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const double width = metrics.horizontalAdvance(alphabet) / alphabet.size();
    if (width > 0)
        m_baseX = width;
    if (metrics.height() > 0)
        m_baseY = metrics.height();
}

int CDialogUnits::X(int units) const
{
    return static_cast<int>(std::lround(units * m_baseX / 4.0));
}

int CDialogUnits::Y(int units) const
{
    return static_cast<int>(std::lround(units * m_baseY / 8.0));
}
