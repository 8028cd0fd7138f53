#include "colour_math.h"

namespace {

int Step(int from, int to, double f)
{
    // Truncation, not rounding: the light look has always been computed this way.
    return from + static_cast<int>((to - from) * f);
}

} // namespace

QColor Blend(const QColor& c, const QColor& toward, double f)
{
    if (!(f > 0.0 && f <= 1.0))
        return c;
    const QColor from = c.toRgb();
    const QColor to = toward.toRgb();
    return QColor(Step(from.red(), to.red(), f), Step(from.green(), to.green(), f),
                  Step(from.blue(), to.blue(), f), from.alpha());
}

QColor Lighten(const QColor& c, double f)
{
    return Blend(c, QColor(255, 255, 255), f);
}
