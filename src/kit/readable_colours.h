#pragma once

#include <QColor>
#include <QList>
#include <QString>

// One text (or frame) colour of an owner-drawn widget and the background it is painted on, with
// the contrast it must keep there (see contrast.h).
struct CColourPair
{
    QString what;
    QColor fore;
    QColor back;
    double minimum = 4.5;
};

// An owner-drawn widget or delegate that says which colours it paints on which, in its present
// palette: the same colours its painting uses, so that a theme can be checked for readability
// without a screenshot.
class IReadableColours
{
public:
    virtual ~IReadableColours() = default;
    virtual QList<CColourPair> ColourPairs() const = 0;
};
