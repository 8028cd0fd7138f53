#include "desktop_theme.h"

#include <QApplication>
#include <QPalette>
#include <QProxyStyle>
#include <QStyle>

bool IsClassicStyle(const QStyle* style)
{
    // A proxy (the menu's own metrics, for one) looks like the style it wraps.
    while (const auto* proxy = qobject_cast<const QProxyStyle*>(style))
        style = proxy->baseStyle();
    if (!style)
        return false;
    return style->name().compare(QLatin1String("windows"), Qt::CaseInsensitive) == 0 ||
           qstrcmp(style->metaObject()->className(), "QWindowsStyle") == 0;
}

bool IsXpThemed()
{
    return !IsClassicStyle(QApplication::style());
}

bool IsClassicTheme()
{
    return IsClassicStyle(QApplication::style());
}

bool IsDarkPalette(const QPalette& palette)
{
    return palette.color(QPalette::Active, QPalette::Window).lightness() <
           palette.color(QPalette::Active, QPalette::WindowText).lightness();
}
