#include "desktop_notifier.h"
#include "fake_bus_service.h"

#include <QSignalSpy>
#include <QTest>

using namespace std::chrono_literals;

namespace {

const QString kName = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");

// A notification service that can do what capabilities say and numbers its notifications from
// 1; Notify calls are held while holdNotify is set.
struct CNotificationService
{
    explicit CNotificationService(QStringList capabilities, bool holdNotify = false)
        : service(kName,
                  [capabilities, holdNotify,
                   this](const QDBusMessage& call) -> std::optional<QVariantList> {
                      if (call.member() == QLatin1String("GetCapabilities"))
                          return QVariantList{capabilities};
                      if (call.member() == QLatin1String("Notify"))
                          return holdNotify ? std::nullopt : std::optional(QVariantList{++lastId});
                      return QVariantList{};
                  })
    {
    }
    void Emit(const QString& name, const QVariantList& args)
    {
        service.Emit(kPath, kName, name, args);
    }

    uint lastId = 0;
    CFakeBusService service;
};

} // namespace

class CDesktopNotifierTest final : public QObject
{
    Q_OBJECT

private slots:
    void noServiceIsReportedAndShowFails()
    {
        CDesktopNotifier notifier;
        QSignalSpy availability(&notifier, &CDesktopNotifier::AvailabilityChanged);
        QSignalSpy failed(&notifier, &CDesktopNotifier::ShowFailed);
        QTRY_COMPARE(availability.size(), 1);
        QCOMPARE(availability.at(0).at(0).toBool(), false);
        notifier.Show(5, QStringLiteral("Parlendo Call"), QStringLiteral("Ann"), 60s);
        QTRY_COMPARE(failed.size(), 1);
        QCOMPARE(failed.at(0).at(0).toInt(), 5);
    }

    void notifyFollowsCapabilities_data()
    {
        QTest::addColumn<QStringList>("capabilities");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QString>("body");
        const QString name = QStringLiteral("<b>Ann & Bob</b>");
        QTest::newRow("actions") << QStringList{"actions", "body"} << true << name;
        QTest::newRow("none") << QStringList{} << false << name;
        QTest::newRow("markup") << QStringList{"body-markup"} << false << name.toHtmlEscaped();
    }
    void notifyFollowsCapabilities()
    {
        QFETCH(QStringList, capabilities);
        QFETCH(bool, accept);
        QFETCH(QString, body);
        CNotificationService fake(capabilities);
        CDesktopNotifier notifier;
        QTRY_VERIFY(notifier.IsAvailable());
        notifier.Show(5, QStringLiteral("Parlendo Call"), QStringLiteral("<b>Ann & Bob</b>"), 60s);
        QTRY_COMPARE(fake.service.Calls("Notify").size(), 1);
        const QVariantList args = fake.service.Calls("Notify").at(0).arguments();
        QCOMPARE(args.at(1).toUInt(), 0u); // a new notification, not a replacement
        QCOMPARE(args.at(4).toString(), body);
        QCOMPARE(args.at(5).toStringList().contains("accept"), accept);
        QCOMPARE(args.at(7).toInt(), 60000);
    }

    void actionsAndClosingMapToTheirOffer()
    {
        CNotificationService fake({"actions"});
        CDesktopNotifier notifier;
        QSignalSpy accepted(&notifier, &CDesktopNotifier::AcceptInvoked);
        QSignalSpy closed(&notifier, &CDesktopNotifier::Closed);
        notifier.Show(11, QStringLiteral("Parlendo Call"), QStringLiteral("Ann"), 60s);
        QTRY_COMPARE(fake.service.Calls("Notify").size(), 1);
        notifier.Show(22, QStringLiteral("Parlendo Call"), QStringLiteral("Bob"), 60s);
        QTRY_COMPARE(fake.service.Calls("Notify").size(), 2);
        // The service's signals follow its answers, so the second has its number by now.
        fake.Emit("ActionInvoked", {99u, "accept"}); // another program's notification
        fake.Emit("ActionInvoked", {2u, "default"});
        fake.Emit("ActionInvoked", {2u, "accept"});
        fake.Emit("NotificationClosed", {1u, 2u});
        QTRY_COMPARE(closed.size(), 1);
        QCOMPARE(accepted.size(), 1);
        QCOMPARE(accepted.at(0).at(0).toInt(), 22);
        QCOMPARE(closed.at(0).at(0).toInt(), 11);
        QCOMPARE(closed.at(0).at(1).value<CDesktopNotifier::CloseReason>(),
                 CDesktopNotifier::CloseReason::Dismissed);
    }

    void endedOfferIsWithdrawnEvenBeforeItIsNumbered()
    {
        CNotificationService fake({"actions"}, true);
        CDesktopNotifier notifier;
        QSignalSpy closed(&notifier, &CDesktopNotifier::Closed);
        notifier.Show(7, QStringLiteral("Parlendo Call"), QStringLiteral("Ann"), 60s);
        QTRY_COMPARE(fake.service.Calls("Notify").size(), 1);
        notifier.Withdraw(7); // the service has not answered yet
        fake.service.Release(QVariantList{31u});
        QTRY_COMPARE(fake.service.Calls("CloseNotification").size(), 1);
        QCOMPARE(fake.service.Calls("CloseNotification").at(0).arguments().at(0).toUInt(), 31u);
        fake.Emit("NotificationClosed", {31u, 3u});
        // An offer withdrawn while still being asked about is never shown at all.
        notifier.Show(8, QStringLiteral("Parlendo Call"), QStringLiteral("Bob"), 60s);
        notifier.Withdraw(8);
        notifier.Show(9, QStringLiteral("Parlendo Call"), QStringLiteral("Cy"), 60s);
        QTRY_COMPARE(fake.service.Calls("Notify").size(), 2);
        QCOMPARE(fake.service.Calls("Notify").at(1).arguments().at(4).toString(),
                 QStringLiteral("Cy"));
        QCOMPARE(closed.size(), 0);
    }
};

QTEST_GUILESS_MAIN(CDesktopNotifierTest)
#include "desktop_notifier_test.moc"
