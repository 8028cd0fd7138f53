// The two files the console keeps between runs: the settings record (a round trip of every
// value, the password file kept private, damaged files, a save that fails part way) and the
// layout profile with the window placement (damaged profiles, a place on no screen any more, a
// maximised window).
#include "app_settings.h"
#include "file_helpers.h"
#include "layout_profile.h"
#include "window_layout.h"
#include "window_placement.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <sys/stat.h>

using testing_support::Contents;
using testing_support::WriteFile;

namespace {

int Mode(const QString& path)
{
    struct stat info = {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0
               ? static_cast<int>(info.st_mode & 0777)
               : -1;
}

} // namespace

class StoredFilesTest final : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    // Every value comes back from a fresh record, a text too long for its slot cut where a
    // character ends; the file holding the password is the operator's alone, and what a newer
    // console stored beside our values stays.
    void settingsRoundTripPrivately()
    {
        const QString path = m_dir->filePath(QStringLiteral("new/Operator.conf"));
        QVERIFY(WriteFile(path, "[General]\nNewerConsole=kept\n"));
        CAppSettings saved(path);
        saved.m_serverAddress = QStringLiteral("chat.example.org");
        saved.m_serverPort = 8080;
        saved.m_username = QStringLiteral("ann");
        saved.m_password = QStringLiteral("p\u00e4ss, w=rd;#\"[x]");
        saved.m_saveLogin = saved.m_autoLogin = saved.m_autoRun = 1;
        saved.m_reconnect = saved.m_showHints = saved.m_notifySound = 0;
        saved.m_notifyTimeout = 15;
        saved.m_welcomeMsg =
            QString(CAppSettings::kTextCapacity - 2, u'a') + QStringLiteral("\u00e9!");
        for (std::size_t i = 0; i < 5; ++i) {
            saved.m_blockIp[i] = QStringLiteral("10.0.0.%1").arg(i);
            saved.m_baseUrl[i] = QStringLiteral("*.shop%1.example").arg(i);
        }
        QCOMPARE(saved.Save(), 0);
        QCOMPARE(Mode(path), 0600);

        CAppSettings expected = saved;
        expected.m_welcomeMsg = QString(CAppSettings::kTextCapacity - 2, u'a');
        QVERIFY(CAppSettings(path) == expected);
        QVERIFY(Contents(path).contains("NewerConsole=kept"));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
        QCOMPARE(saved.Save(), 0);
        QCOMPARE(Mode(path), 0600);
    }

    void damagedSettingsFile_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("server");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("username");
        const QString server = QString::fromLatin1(CAppSettings::kDefaultServerAddress);
        const int port = CAppSettings::kDefaultServerPort;
        QTest::newRow("not an INI file at all")
            << QByteArray("\x00\xff\xfe[[[\n=\n\x01", 11) << server << port << QString();
        QTest::newRow("port not a number, the rest read")
            << QByteArray("[General]\nServerAddress=h\nServerPort=80a\nUsername=ann\n") << "h"
            << port << "ann";
        QTest::newRow("a list where a text belongs")
            << QByteArray("[General]\nUsername=a, b\nServerPort=81\n") << server << 81 << QString();
        QTest::newRow("a text longer than its slot")
            << QByteArray("[General]\nUsername=") + QByteArray(CAppSettings::kTextCapacity, 'x') +
                   "\nServerAddress=h\n"
            << "h" << port << QString();
        QTest::newRow("a line cut short")
            << QByteArray("[General]\nServerPort=82\nServerAddr") << server << 82 << QString();
    }
    void damagedSettingsFile()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, server);
        QFETCH(int, port);
        QFETCH(QString, username);
        const QString path = m_dir->filePath(QStringLiteral("Operator.conf"));
        QVERIFY(WriteFile(path, file));
        CAppSettings loaded(path);
        QCOMPARE(loaded.m_serverAddress, server);
        QCOMPARE(loaded.m_serverPort, port);
        QCOMPARE(loaded.m_username, username);
        // A damaged file is replaced whole by the next save.
        QCOMPARE(loaded.Save(), 0);
        QVERIFY(CAppSettings(path) == loaded);
    }

    // A disk that fills up half way through leaves the last good file as it was.
    void failedSaveLeavesTheFileAsItWas()
    {
        const QString path = m_dir->filePath(QStringLiteral("Operator.conf"));
        CAppSettings settings(path);
        settings.m_username = QStringLiteral("ann");
        QCOMPARE(settings.Save(), 0);
        const QByteArray before = Contents(path);
        settings.m_username = QStringLiteral("bob");
        {
            testing_support::FileSizeLimit limit(64);
            QCOMPARE(settings.Save(), -1);
        }
        QCOMPARE(Contents(path), before);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{"Operator.conf"});
    }

    void damagedProfile_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("show"); // -1: nothing stored
        QTest::addColumn<QRect>("normal");
        QTest::addColumn<QList<int>>("widths");
        const QRect fallback = WindowPlacement().NormalRect();
        QTest::newRow("garbage") << QByteArray("\x00\xff[Main\n==\n", 10) << -1 << QRect()
                                 << QList<int>{};
        QTest::newRow("Show without edges, a width too wide for 16 bits")
            << QByteArray("[MainWindow]\nShow=3\n[PageList]\nNumCols=2\nCol0=70000\nCol1=x\n") << 3
            << fallback << QList<int>{70000 & 0xffff, 0};
        QTest::newRow("an edge not a number, NumCols far past the columns")
            << QByteArray("[MainWindow]\nShow=1\nLeft=a\nTop=5\n[PageList]\nNumCols=99999999\n"
                          "Col0=7\nCol1=8\nCol2=9\n")
            << 1 << QRect(QPoint(fallback.left(), 5), QPoint(fallback.right(), fallback.bottom()))
            << QList<int>{7, 8};
    }
    void damagedProfile()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, show);
        QFETCH(QRect, normal);
        QFETCH(QList<int>, widths);
        const QString path = m_dir->filePath(QStringLiteral("parlendo.ini"));
        QVERIFY(WriteFile(path, file));
        const CLayoutProfile profile(path);
        const auto placement = profile.LoadWindowPlacement(QStringLiteral("MainWindow"));
        QCOMPARE(placement ? placement->show : -1, show);
        if (placement)
            QCOMPARE(placement->NormalRect(), normal);
        QCOMPARE(profile.LoadColumnWidths(QStringLiteral("PageList"), 2), widths);
        // The next close still stores the window.
        const WindowPlacement stored{WindowPlacement::kShowNormal, 10, 20, 300, 200};
        QCOMPARE(profile.SaveWindowPlacement(QStringLiteral("MainWindow"), stored), 0);
        QCOMPARE(profile.LoadWindowPlacement(QStringLiteral("MainWindow")), stored);
    }

    void placeOnScreens_data()
    {
        QTest::addColumn<QRect>("stored");
        QTest::addColumn<QRect>("restored");
        QTest::newRow("on the primary") << QRect(10, 20, 400, 300) << QRect(10, 20, 400, 300);
        QTest::newRow("on the second monitor")
            << QRect(-900, 100, 400, 300) << QRect(-900, 100, 400, 300);
        QTest::newRow("a monitor no longer there")
            << QRect(3000, 200, 400, 300) << QRect(1520, 200, 400, 300);
        QTest::newRow("title bar above the screens")
            << QRect(100, -280, 400, 300) << QRect(100, 0, 400, 300);
        QTest::newRow("only a sliver of the title bar shows")
            << QRect(1900, 10, 400, 300) << QRect(1520, 10, 400, 300);
        QTest::newRow("larger than the primary")
            << QRect(5000, 0, 3000, 2000) << QRect(0, 0, 1920, 1080);
        QTest::newRow("edges crossed")
            << QRect(QPoint(500, 500), QPoint(100, 100)) << WindowPlacement().NormalRect();
    }
    void placeOnScreens()
    {
        QFETCH(QRect, stored);
        QFETCH(QRect, restored);
        // The primary first, and a monitor left of it.
        const QList<QRect> screens = {QRect(0, 0, 1920, 1080), QRect(-1280, 0, 1280, 1024)};
        QCOMPARE(PlaceOnScreens(stored, screens), restored);
    }

    // A window closed maximised comes back maximised over the rectangle it had before; one
    // stored on a monitor that has gone comes back where it can be reached.
    void windowsComeBackWhereTheyCanBeReached()
    {
        const CLayoutProfile profile(m_dir->filePath(QStringLiteral("parlendo.ini")));
        const CWindowLayout layout(profile);
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const QRect normal(screen.topLeft() + QPoint(30, 40), QSize(320, 200));
        profile.SaveWindowPlacement(QStringLiteral("MainWindow"),
                                    WindowPlacement::From(Qt::WindowMaximized, normal));
        QWidget window;
        layout.RestoreWindow(&window, QStringLiteral("MainWindow"));
        window.show();
        QVERIFY(window.isMaximized());
        QCOMPARE(window.normalGeometry(), normal);
        layout.SaveWindow(&window, QStringLiteral("ChatWindow"));
        QCOMPARE(profile.LoadWindowPlacement(QStringLiteral("ChatWindow")),
                 WindowPlacement::From(Qt::WindowMaximized, normal));

        profile.SaveWindowPlacement(
            QStringLiteral("ChatWindow"),
            WindowPlacement::From(Qt::WindowNoState, normal.translated(screen.width() * 3, 0)));
        QWidget chat;
        layout.RestoreWindow(&chat, QStringLiteral("ChatWindow"));
        QVERIFY(screen.contains(chat.geometry()));
        QCOMPARE(chat.size(), normal.size());
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_MAIN(StoredFilesTest)
#include "stored_files_test.moc"
