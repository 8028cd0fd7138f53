#include "app_settings.h"
#include "tray_icon.h"
#include "tray_notice.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace std::chrono_literals;

class TestTrayIcon : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void tipIsTheTitleCut_data();
    void tipIsTheTitleCut();
    void iconFollowsLogInState();
    void onlyDoubleClickRestores_data();
    void onlyDoubleClickRestores();
    void noBalloonWithoutHints();
    void statusBalloonNamesTheStatus_data();
    void statusBalloonNamesTheStatus();
    void withoutTrayBalloonBecomesNotice();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CAppSettings> m_settings;
};

void TestTrayIcon::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_settings = std::make_unique<CAppSettings>(m_dir->filePath(QStringLiteral("s.conf")));
}

void TestTrayIcon::cleanup()
{
    m_settings.reset();
    m_dir.reset();
}

void TestTrayIcon::tipIsTheTitleCut_data()
{
    QTest::addColumn<int>("titleLength");
    QTest::addColumn<int>("tipLength");
    QTest::newRow("short") << 24 << 24;
    QTest::newRow("exactly 127") << 127 << 127;
    QTest::newRow("longer") << 300 << 127;
}

void TestTrayIcon::tipIsTheTitleCut()
{
    QFETCH(int, titleLength);
    QFETCH(int, tipLength);

    CTrayIcon tray(m_settings.get());
    QString title = QStringLiteral("Parlendo - Online [");
    while (title.size() < titleLength)
        title += QLatin1Char('x');
    title.truncate(titleLength);
    tray.Add(true, title);
    QCOMPARE(tray.ToolTip(), title.left(tipLength));
    tray.Modify(false, QStringLiteral("Parlendo - Not connected"));
    QCOMPARE(tray.ToolTip(), QStringLiteral("Parlendo - Not connected"));
}

void TestTrayIcon::iconFollowsLogInState()
{
    CTrayIcon tray(m_settings.get());
    const auto picture = [](const QIcon& icon) { return icon.pixmap(32, 32).toImage(); };
    const QImage online = picture(CTrayIcon::LoggedInIcon());
    const QImage offline = picture(CTrayIcon::LoggedOutIcon());
    QVERIFY(!online.isNull());
    QVERIFY(online != offline);

    tray.Add(false, QStringLiteral("Parlendo - Not connected"));
    QCOMPARE(picture(tray.PlatformIcon()->icon()), offline);
    tray.Modify(true, QStringLiteral("Parlendo - Online [chat.example.com]"));
    QCOMPARE(picture(tray.PlatformIcon()->icon()), online);
    tray.Modify(false, QStringLiteral("Parlendo - Not connected"));
    QCOMPARE(picture(tray.PlatformIcon()->icon()), offline);
}

void TestTrayIcon::onlyDoubleClickRestores_data()
{
    QTest::addColumn<int>("reason");
    QTest::addColumn<int>("restores");
    QTest::newRow("double click") << int(QSystemTrayIcon::DoubleClick) << 1;
    QTest::newRow("single click") << int(QSystemTrayIcon::Trigger) << 0;
    QTest::newRow("right click") << int(QSystemTrayIcon::Context) << 0;
    QTest::newRow("middle click") << int(QSystemTrayIcon::MiddleClick) << 0;
}

void TestTrayIcon::onlyDoubleClickRestores()
{
    QFETCH(int, reason);
    QFETCH(int, restores);

    CTrayIcon tray(m_settings.get());
    tray.Add(true, QStringLiteral("Parlendo - Online [x]"));
    QSignalSpy restore(&tray, &CTrayIcon::RestoreRequested);
    emit tray.PlatformIcon()->activated(static_cast<QSystemTrayIcon::ActivationReason>(reason));
    QCOMPARE(restore.size(), restores);
}

void TestTrayIcon::noBalloonWithoutHints()
{
    m_settings->m_showHints = 0;
    CTrayIcon tray(m_settings.get());
    tray.Add(true, QStringLiteral("Parlendo - Online [x]"));
    tray.ShowBalloon(CTrayIcon::LoggedInText(), CTrayIcon::NotificationTitle());
    QCOMPARE(tray.Notice(), nullptr);
    // The icon and its tip work as usual.
    QCOMPARE(tray.ToolTip(), QStringLiteral("Parlendo - Online [x]"));
}

void TestTrayIcon::statusBalloonNamesTheStatus_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("text");
    QTest::newRow("1") << 1 << "Your status has now been changed to online";
    QTest::newRow("2") << 2 << "Your status has now been changed to busy";
    QTest::newRow("3") << 3 << "Your status has now been changed to away";
    QTest::newRow("7 reads online") << 7 << "Your status has now been changed to online";
}

void TestTrayIcon::statusBalloonNamesTheStatus()
{
    QFETCH(int, status);
    QFETCH(QString, text);
    QCOMPARE(CTrayIcon::StatusChangedText(status), text);
}

void TestTrayIcon::withoutTrayBalloonBecomesNotice()
{
    CTrayIcon tray(m_settings.get());
    if (tray.IsAvailable())
        QSKIP("this desktop has a notification area; balloons go there");
    tray.SetBalloonTime(200ms);
    tray.Add(true, QStringLiteral("Parlendo - Online [x]"));
    const QString longText(300, QLatin1Char('t'));
    const QString longTitle(80, QLatin1Char('T'));
    tray.ShowBalloon(longText, longTitle);
    CTrayNotice* notice = tray.Notice();
    QVERIFY(notice);
    QVERIFY(notice->isVisible());
    QCOMPARE(notice->Text(), longText.left(255));
    QCOMPARE(notice->Title(), longTitle.left(63));
    QVERIFY(notice->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    // It goes after the balloon's time; the next balloon brings it back with the new text.
    QTRY_VERIFY(!notice->isVisible());
    tray.ShowBalloon(CTrayIcon::StatusChangedText(2), CTrayIcon::NotificationTitle());
    QCOMPARE(tray.Notice(), notice);
    QVERIFY(notice->isVisible());
    QCOMPARE(notice->Text(), QStringLiteral("Your status has now been changed to busy"));
    // A click dismisses it at once.
    QTest::mouseClick(notice, Qt::LeftButton);
    QVERIFY(!notice->isVisible());
}

QTEST_MAIN(TestTrayIcon)
#include "tray_icon_test.moc"
