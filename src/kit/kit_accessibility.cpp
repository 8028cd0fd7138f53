#include "kit_accessibility.h"

#include "link_static.h"
#include "live_region.h"

#include <QAccessibleWidget>

namespace {

class CLinkAccessible final : public QAccessibleWidget
{
public:
    explicit CLinkAccessible(CLinkStatic* link) : QAccessibleWidget(link, QAccessible::Link) {}

    QString text(QAccessible::Text t) const override
    {
        const auto* link = static_cast<const CLinkStatic*>(widget());
        if (t == QAccessible::Name && link->accessibleName().isEmpty())
            return link->Text();
        if (t == QAccessible::Value || (t == QAccessible::Description &&
                                        link->accessibleDescription().isEmpty()))
            return link->Url();
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString& action) override
    {
        if (action == pressAction())
            static_cast<CLinkStatic*>(widget())->Follow();
    }
};

QAccessibleInterface* KitFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("CLinkStatic"))
        return new CLinkAccessible(static_cast<CLinkStatic*>(object));
    if (className == QLatin1String("CLiveRegion"))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
    return nullptr;
}

} // namespace

void InstallKitAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(&KitFactory);
        return true;
    }();
    (void)installed;
}
