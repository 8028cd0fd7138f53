#pragma once

#include <QProxyStyle>

// Dotted lines that join the items of a tree view to their parent and siblings, the way the
// console's trees always looked. Most Qt styles draw only the expand arrows; this draws the
// lines and leaves the arrows to the style it wraps (the application's).
class CTreeLinesStyle final : public QProxyStyle
{
    Q_OBJECT

public:
    CTreeLinesStyle();

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
};
