#include "alert_check.h"
#include "desktop_notifier.h"
#include "fake_bus_service.h"

#include <QSignalSpy>
#include <QTest>

using namespace std::chrono_literals;
using Path = CAlertCheck::Path;
using Reason = CDesktopNotifier::CloseReason;

namespace {

const QString kName = QStringLiteral("org.freedesktop.Notifications");

// A notification service that can do what capabilities say and numbers its notifications from
// 1; it holds a Notify whose text is "hold".
CFakeBusService::Script Service(QStringList capabilities)
{
    return [capabilities, id = 0u](const QDBusMessage& call) mutable {
        if (call.member() == QLatin1String("GetCapabilities"))
            return std::optional(QVariantList{capabilities});
        if (call.member() != QLatin1String("Notify"))
            return std::optional(QVariantList{});
        const bool hold = call.arguments().at(4) == QLatin1String("hold");
        return hold ? std::nullopt : std::optional(QVariantList{++id});
    };
}

void Emit(CFakeBusService& service, const QString& name, uint id, const QVariant& what)
{
    service.m_bus.send(QDBusMessage::createSignal("/org/freedesktop/Notifications", kName, name)
                       << id << what);
}

} // namespace

class CNotificationsTest final : public QObject
{
    Q_OBJECT

private slots:
    // The self-check and the notifier without audio and without a notification service, which
    // then comes and goes.
    void missingPathsAreReportedAndFollowed()
    {
        CAlertCheck check({[] { return false; }, [] { return true; }},
                          QDBusConnection::sessionBus());
        CDesktopNotifier notifier;
        QSignalSpy failed(&notifier, &CDesktopNotifier::ShowFailed);
        QTRY_COMPARE(check.DeadPaths(), Path::Sound | Path::Notifications);
        notifier.Show(5, "Parlendo Call", "Ann", 60s);
        QTRY_COMPARE(failed.size(), 1);
        auto service = std::make_unique<CFakeBusService>(kName, Service({}));
        QTRY_COMPARE(check.DeadPaths(), CAlertCheck::Paths(Path::Sound));
        service.reset();
        QTRY_COMPARE(check.DeadPaths(), Path::Sound | Path::Notifications);
    }

    // Two offers shown; a third ends before the service has said which notification it is.
    void notifyFollowsCapabilitiesAndSignalsMapToTheOffer_data()
    {
        QTest::addColumn<QStringList>("capabilities");
        QTest::addColumn<bool>("accept");
        QTest::newRow("actions") << QStringList{"actions", "body"} << true;
        QTest::newRow("none") << QStringList{} << false;
    }
    void notifyFollowsCapabilitiesAndSignalsMapToTheOffer()
    {
        QFETCH(QStringList, capabilities);
        CFakeBusService service(kName, Service(capabilities));
        CDesktopNotifier notifier;
        QSignalSpy accepted(&notifier, &CDesktopNotifier::AcceptInvoked);
        QSignalSpy closed(&notifier, &CDesktopNotifier::Closed);
        notifier.Show(11, "Parlendo Call", "Ann", 60s);
        QTRY_COMPARE(service.m_calls.value("Notify").size(), 1);
        notifier.Show(22, "Parlendo Call", "Cy", 60s);
        QTRY_COMPARE(service.m_calls.value("Notify").size(), 2);
        QTEST(service.m_calls.value("Notify").at(0).at(5).toStringList().contains("accept"),
              "accept");
        // The service's signals follow its answers, so the second has its number by now.
        Emit(service, "ActionInvoked", 2, "default");
        Emit(service, "ActionInvoked", 2, "accept");
        Emit(service, "NotificationClosed", 1, 2u);
        QTRY_COMPARE(closed.size(), 1);
        QCOMPARE(accepted, QList<QVariantList>{{22}}); // not for "default"
        QCOMPARE(closed.at(0), (QVariantList{11, QVariant::fromValue(Reason::Dismissed)}));
        notifier.Show(33, "Parlendo Call", "hold", 60s);
        QTRY_COMPARE(service.m_held.size(), 1);
        notifier.Withdraw(33);
        service.m_bus.send(service.m_held.takeFirst().createReply(QVariantList{31u}));
        QTRY_COMPARE(service.m_calls.value("CloseNotification"), QList<QVariantList>{{31u}});
    }
};

QTEST_GUILESS_MAIN(CNotificationsTest)
#include "notifications_test.moc"
