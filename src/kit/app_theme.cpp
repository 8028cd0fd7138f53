#include "app_theme.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

namespace {

struct DesktopLook
{
    QString style;
    QPalette palette;
};

// What the desktop gave the program, read before the first theme replaced it.
const DesktopLook& Desktop()
{
    static const DesktopLook look{QApplication::style()->name(), QApplication::palette()};
    return look;
}

struct Roles
{
    QColor window, windowText, base, alternateBase, text, button, buttonText, light, midlight, mid,
        dark, shadow, highlight, highlightedText, link, linkVisited, toolTipBase, toolTipText,
        placeholder, disabledText;
};

QPalette Build(const Roles& r)
{
    QPalette p(r.windowText, r.button, r.light, r.dark, r.mid, r.text, r.light, r.base, r.window);
    const auto all = [&p](QPalette::ColorRole role, const QColor& colour) {
        p.setColor(QPalette::All, role, colour);
    };
    all(QPalette::AlternateBase, r.alternateBase);
    all(QPalette::ButtonText, r.buttonText);
    all(QPalette::Midlight, r.midlight);
    all(QPalette::Shadow, r.shadow);
    all(QPalette::Highlight, r.highlight);
    all(QPalette::HighlightedText, r.highlightedText);
    all(QPalette::Link, r.link);
    all(QPalette::LinkVisited, r.linkVisited);
    all(QPalette::ToolTipBase, r.toolTipBase);
    all(QPalette::ToolTipText, r.toolTipText);
    all(QPalette::PlaceholderText, r.placeholder);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, r.disabledText);
    p.setColor(QPalette::Disabled, QPalette::Highlight, r.mid);
    return p;
}

} // namespace

QPalette CAppTheme::LightPalette()
{
    return Build({QColor(0xef, 0xef, 0xef), QColor(0x1e, 0x1e, 0x1e), QColor(0xff, 0xff, 0xff),
                  QColor(0xf4, 0xf4, 0xf4), QColor(0x1e, 0x1e, 0x1e), QColor(0xe4, 0xe4, 0xe4),
                  QColor(0x1e, 0x1e, 0x1e), QColor(0xff, 0xff, 0xff), QColor(0xf2, 0xf2, 0xf2),
                  QColor(0xb8, 0xb8, 0xb8), QColor(0x9c, 0x9c, 0x9c), QColor(0x6a, 0x6a, 0x6a),
                  QColor(0x1e, 0x5f, 0xa8), QColor(0xff, 0xff, 0xff), QColor(0x06, 0x45, 0xad),
                  QColor(0x6b, 0x2c, 0x91), QColor(0xff, 0xff, 0xdc), QColor(0x1e, 0x1e, 0x1e),
                  QColor(0x6e, 0x6e, 0x6e), QColor(0x8c, 0x8c, 0x8c)});
}

QPalette CAppTheme::DarkPalette()
{
    return Build({QColor(0x2d, 0x2d, 0x2d), QColor(0xe8, 0xe8, 0xe8), QColor(0x1e, 0x1e, 0x1e),
                  QColor(0x27, 0x27, 0x27), QColor(0xe8, 0xe8, 0xe8), QColor(0x3a, 0x3a, 0x3a),
                  QColor(0xe8, 0xe8, 0xe8), QColor(0x55, 0x55, 0x55), QColor(0x46, 0x46, 0x46),
                  QColor(0x30, 0x30, 0x30), QColor(0x1c, 0x1c, 0x1c), QColor(0x0c, 0x0c, 0x0c),
                  QColor(0x2f, 0x6f, 0xb5), QColor(0xff, 0xff, 0xff), QColor(0x7c, 0xb5, 0xff),
                  QColor(0xc7, 0x9c, 0xff), QColor(0x3a, 0x3a, 0x3a), QColor(0xf0, 0xf0, 0xf0),
                  QColor(0x9a, 0x9a, 0x9a), QColor(0x80, 0x80, 0x80)});
}

void CAppTheme::Apply(int theme)
{
    const DesktopLook& desktop = Desktop();
    switch (theme) {
    case kLight:
    case kDark:
        if (QApplication::style()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive))
            QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(theme == kLight ? LightPalette() : DarkPalette());
        break;
    default:
        if (QApplication::style()->name().compare(desktop.style, Qt::CaseInsensitive))
            QApplication::setStyle(QStyleFactory::create(desktop.style));
        QApplication::setPalette(desktop.palette);
        break;
    }
}
