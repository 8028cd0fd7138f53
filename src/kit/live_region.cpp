#include "live_region.h"

#include <QAccessibleWidget>

namespace {

// A screen reader takes it for a notification, whose name it reads out when it shows.
QAccessibleInterface* LiveRegionAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String("CLiveRegion"))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
    return nullptr;
}

} // namespace

CLiveRegion::CLiveRegion(QWidget* parent) : QWidget(parent)
{
    static const bool accessible = (QAccessible::installFactory(&LiveRegionAccessible), true);
    (void)accessible;
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
