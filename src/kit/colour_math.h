#pragma once

#include <QColor>

// Moves each of red, green and blue a fraction f of the way to white: p + (255 - p) * f, cut
// to a whole number. Only 0 < f <= 1 changes anything; any other f returns c as it is. The
// menu's light look is built from this rule.
QColor Lighten(const QColor& c, double f);

// The same rule towards any colour instead of white, so that a dark palette fades its
// colours towards its own background rather than towards white. Alpha is kept from c.
QColor Blend(const QColor& c, const QColor& toward, double f);
