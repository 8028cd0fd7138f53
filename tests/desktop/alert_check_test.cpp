#include "alert_check.h"
#include "fake_bus_service.h"

#include <QSignalSpy>
#include <QTest>
#include <memory>

using Path = CAlertCheck::Path;

class CAlertCheckTest final : public QObject
{
    Q_OBJECT

private slots:
    // A machine without audio and without a notification service, where the service and the
    // tray then come and go.
    void followsThePathsAsTheyComeAndGo()
    {
        bool tray = true;
        CAlertCheck check({[] { return false; }, [&tray] { return tray; }},
                          QDBusConnection::sessionBus());
        QSignalSpy changed(&check, &CAlertCheck::Changed);
        QTRY_COMPARE(check.DeadPaths(), Path::Sound | Path::Notifications);
        QCOMPARE(check.Banners().size(), 2);

        auto service =
            std::make_unique<CFakeBusService>(QStringLiteral("org.freedesktop.Notifications"),
                                              [](const QDBusMessage&) { return QVariantList{}; });
        QTRY_COMPARE(check.DeadPaths(), CAlertCheck::Paths(Path::Sound));
        tray = false;
        check.Recheck();
        QCOMPARE(check.DeadPaths(), Path::Sound | Path::Tray);
        service.reset();
        QTRY_COMPARE(check.DeadPaths(), Path::Sound | Path::Tray | Path::Notifications);
        QCOMPARE(changed.size(), 4);
        QCOMPARE(check.Banners().size(), 3);
    }

    void aTrayThatAppearsIsNoticedWithoutBeingAsked()
    {
        bool tray = false;
        CAlertCheck check({[] { return true; }, [&tray] { return tray; }},
                          QDBusConnection::sessionBus());
        check.SetRecheckInterval(std::chrono::milliseconds(20));
        QTRY_VERIFY(check.DeadPaths().testFlag(Path::Tray));
        tray = true;
        QTRY_VERIFY(!check.DeadPaths().testFlag(Path::Tray));
    }
};

QTEST_GUILESS_MAIN(CAlertCheckTest)
#include "alert_check_test.moc"
