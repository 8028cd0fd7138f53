#include "live_region.h"

#include "kit_accessibility.h"

#include <QAccessible>

CLiveRegion::CLiveRegion(QWidget* parent) : QWidget(parent)
{
    InstallKitAccessibility();
    setObjectName(QStringLiteral("liveRegion"));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFixedSize(1, 1);
}

void CLiveRegion::Announce(const QString& text)
{
    m_text = text;
    setAccessibleName(text); // tells the bridge the name changed
    if (parentWidget() && parentWidget()->isVisible()) {
        hide();
        show();
    }
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}
