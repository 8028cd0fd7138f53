// The settings record against its file: defaults, partial and damaged files, conversions,
// permissions, and saves that fail without harming the file on disk.
#include "file_helpers.h"
#include "app_settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using testing_support::Contents;
using testing_support::WriteFile;
using testing_support::FileSizeLimit;

int Mode(const QString& path)
{
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return -1;
    return static_cast<int>(info.st_mode & 07777);
}

void Fill(CAppSettings& s)
{
    s.m_serverAddress = QStringLiteral("chat.example.org");
    s.m_serverPort = 8080;
    s.m_username = QStringLiteral("ann");
    s.m_password = QStringLiteral("p\u00e4ss, w=rd;#");
    s.m_saveLogin = 1;
    s.m_autoLogin = 1;
    s.m_autoRun = 1;
    s.m_reconnect = 0;
    s.m_showHints = 0;
    s.m_notifyTimeout = 15;
    s.m_notifySound = 0;
    s.m_welcomeMsg = QStringLiteral("Hello!\r\nHow can we help?");
    s.m_transcriptTimes = 0;
    s.m_historyDays = 30;
    for (int i = 0; i < 5; ++i) {
        s.m_blockIp[i] = QStringLiteral("10.0.0.%1").arg(i + 1);
        s.m_baseUrl[i] = QStringLiteral("*.shop%1.example").arg(i);
    }
}

} // namespace

class AppSettingsTest final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void firstStartHasEveryDefault();
    void saveThenFreshRecordReproducesEveryField();
    void fileHoldsEveryValueAsTopLevelKey();
    void partialFileKeepsOtherDefaults();
    void emptyWelcomeMessageStaysEmpty();
    void textsRoundTrip_data();
    void textsRoundTrip();
    void textCapacityOnLoad_data();
    void textCapacityOnLoad();
    void saveCutsOverlongTextsOnCharacterBoundary();
    void integerConversions_data();
    void integerConversions();
    void folderAndFileArePrivate();
    void overriddenPathLeavesExistingFolderAlone();
    void damagedFileKeepsReadableValuesAndIsRewritten();
    void valuesOfOtherNamesSurviveSave();
    void failedWriteKeepsPreviousFile_data();
    void failedWriteKeepsPreviousFile();
    void unwritableLocations_data();
    void unwritableLocations();
    void readOnlyFolderFailsWithoutRoot();

private:
    QString Config() const { return m_dir->path() + QStringLiteral("/config"); }
    QString DefaultFile() const { return Config() + QStringLiteral("/Parlendo/Operator.conf"); }

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void AppSettingsTest::initTestCase()
{
    // Nothing here may reach the real home, whatever falls back to it.
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
    qputenv("HOME", QFile::encodeName(m_home->path()));
}

void AppSettingsTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(Config()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir->path() + QStringLiteral("/data")));
}

void AppSettingsTest::firstStartHasEveryDefault()
{
    CAppSettings s;
    QCOMPARE(s.FilePath(), DefaultFile());
    QCOMPARE(s.Load(), -1);
    QCOMPARE(s.m_serverAddress, QStringLiteral("chat.parlendo.net"));
    QCOMPARE(s.m_serverPort, 3030);
    QCOMPARE(s.m_notifyTimeout, 60);
    QCOMPARE(s.m_reconnect, 1);
    QCOMPARE(s.m_showHints, 1);
    QCOMPARE(s.m_notifySound, 1);
    QCOMPARE(s.m_saveLogin, 0);
    QCOMPARE(s.m_autoLogin, 0);
    QCOMPARE(s.m_autoRun, 0);
    QCOMPARE(s.m_welcomeMsg, QStringLiteral("Thank you for contacting us. How can I help you?"));
    QVERIFY(s.m_username.isEmpty());
    QVERIFY(s.m_password.isEmpty());
    for (int i = 0; i < 5; ++i) {
        QVERIFY(s.m_blockIp[i].isEmpty());
        QVERIFY(s.m_baseUrl[i].isEmpty());
    }
    QVERIFY(!QFile::exists(DefaultFile())); // loading creates nothing
}

void AppSettingsTest::saveThenFreshRecordReproducesEveryField()
{
    CAppSettings saved;
    Fill(saved);
    QCOMPARE(saved.Save(), 0);
    const CAppSettings loaded;
    QVERIFY(loaded == saved);
    QVERIFY(!(loaded == CAppSettings(m_dir->path() + QStringLiteral("/other.conf"))));
}

void AppSettingsTest::fileHoldsEveryValueAsTopLevelKey()
{
    CAppSettings s;
    QCOMPARE(s.Save(), 0);
    const QList<QByteArray> lines = Contents(DefaultFile()).split('\n');
    QCOMPARE(lines.first(), QByteArray("[General]"));
    for (const QByteArray line : {"ServerAddress=chat.parlendo.net", "ServerPort=3030", "Username=",
                                  "Password=", "SaveLogin=0", "AutoLogin=0", "AutoRun=0",
                                  "Reconnect=1", "ShowHints=1", "NotifyTimeout=60", "NotifySound=1",
                                  "WelcomeMsg=Thank you for contacting us. How can I help you?",
                                  "BlockIp1=", "BlockIp5=", "BaseUrl1=", "BaseUrl5="})
        QVERIFY2(lines.contains(line), line.constData());
    QCOMPARE(lines.count(QByteArray("[General]")), 1);
    QCOMPARE(lines.size(), 1 + 24 + 1); // the section, 24 values, the final line break
}

void AppSettingsTest::partialFileKeepsOtherDefaults()
{
    QVERIFY(WriteFile(DefaultFile(), "[General]\nServerPort=8080\nUsername=ann\nShowHints=0\n"
                                     "BaseUrl3=*.example.com\n"));
    CAppSettings s;
    QCOMPARE(s.Load(), 0);
    QCOMPARE(s.m_serverPort, 8080);
    QCOMPARE(s.m_username, QStringLiteral("ann"));
    QCOMPARE(s.m_showHints, 0);
    QCOMPARE(s.m_baseUrl[2], QStringLiteral("*.example.com"));
    QCOMPARE(s.m_serverAddress, QStringLiteral("chat.parlendo.net"));
    QCOMPARE(s.m_notifyTimeout, 60);
    QCOMPARE(s.m_reconnect, 1);
    QCOMPARE(s.m_welcomeMsg, QString::fromLatin1(CAppSettings::kDefaultWelcomeMsg));
    QVERIFY(s.m_password.isEmpty());
}

void AppSettingsTest::emptyWelcomeMessageStaysEmpty()
{
    CAppSettings s;
    s.m_welcomeMsg.clear();
    QCOMPARE(s.Save(), 0);
    QVERIFY(Contents(DefaultFile()).contains("\nWelcomeMsg=\n"));
    const CAppSettings reloaded;
    QVERIFY(reloaded.m_welcomeMsg.isEmpty());
}

void AppSettingsTest::textsRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("comma") << QStringLiteral("Hello, how can I help?");
    QTest::newRow("CR LF lines") << QStringLiteral("Line one\r\nLine two\r\n");
    QTest::newRow("blanks at both ends") << QStringLiteral("  padded  ");
    QTest::newRow("looks like a variant") << QStringLiteral("@Variant(\\0\\0)");
    QTest::newRow("comment characters") << QStringLiteral("; not a comment # either");
    QTest::newRow("backslashes") << QStringLiteral("C:\\Users\\ann\\");
    QTest::newRow("quotes") << QStringLiteral("say \"hi\" and 'bye'");
    QTest::newRow("equals and section") << QStringLiteral("[General]\nkey=value");
    QTest::newRow("tab") << QStringLiteral("a\tb");
    QTest::newRow("non-ASCII") << QStringLiteral(
        "Gr\u00fc\u00dfe, \u20ac5 \u4f60\u597d \U0001F600");
    QTest::newRow("249 bytes") << QString(249, QLatin1Char('x'));
    QTest::newRow("248 bytes in two-byte characters") << QString(124, QChar(0xe9));
}

void AppSettingsTest::textsRoundTrip()
{
    QFETCH(QString, text);
    CAppSettings s;
    s.m_welcomeMsg = text;
    s.m_password = text;
    s.m_baseUrl[4] = text;
    QCOMPARE(s.Save(), 0);
    const CAppSettings reloaded;
    QCOMPARE(reloaded.m_welcomeMsg, text);
    QCOMPARE(reloaded.m_password, text);
    QCOMPARE(reloaded.m_baseUrl[4], text);
}

void AppSettingsTest::textCapacityOnLoad_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("loads");
    QTest::newRow("249 bytes") << QByteArray("ServerAddress") << QByteArray(249, 'h') << true;
    QTest::newRow("250 bytes") << QByteArray("ServerAddress") << QByteArray(250, 'h') << false;
    QTest::newRow("248 bytes of two-byte characters")
        << QByteArray("Username") << QByteArray("\xc3\xa9").repeated(124) << true;
    QTest::newRow("250 bytes of two-byte characters")
        << QByteArray("Username") << QByteArray("\xc3\xa9").repeated(125) << false;
    QTest::newRow("BaseUrl 799 bytes") << QByteArray("BaseUrl2") << QByteArray(799, 'u') << true;
    QTest::newRow("BaseUrl 800 bytes") << QByteArray("BaseUrl2") << QByteArray(800, 'u') << false;
    QTest::newRow("BlockIp 250 bytes") << QByteArray("BlockIp5") << QByteArray(250, '1') << false;
}

void AppSettingsTest::textCapacityOnLoad()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, value);
    QFETCH(bool, loads);
    QVERIFY(WriteFile(DefaultFile(), "[General]\nServerPort=4000\n" + key + '=' + value + '\n'));
    const CAppSettings defaults(m_dir->path() + QStringLiteral("/none.conf"));
    const CAppSettings s;
    QCOMPARE(s.m_serverPort, 4000); // the file was read
    const QString expected = QString::fromUtf8(value);
    if (key == "ServerAddress")
        QCOMPARE(s.m_serverAddress, loads ? expected : defaults.m_serverAddress);
    else if (key == "Username")
        QCOMPARE(s.m_username, loads ? expected : QString());
    else if (key == "BaseUrl2")
        QCOMPARE(s.m_baseUrl[1], loads ? expected : QString());
    else
        QCOMPARE(s.m_blockIp[4], loads ? expected : QString());
}

void AppSettingsTest::saveCutsOverlongTextsOnCharacterBoundary()
{
    CAppSettings s;
    s.m_welcomeMsg = QString(300, QLatin1Char('w'));
    s.m_baseUrl[0] = QString(500, QChar(0xe9)); // 1000 bytes
    s.m_username = QString(100, QChar(0x20ac)); // 300 bytes of three-byte characters
    const CAppSettings before = s;
    QCOMPARE(s.Save(), 0);
    QVERIFY(s == before); // the record in memory is not cut
    const CAppSettings reloaded;
    QCOMPARE(reloaded.m_welcomeMsg, QString(249, QLatin1Char('w')));
    QCOMPARE(reloaded.m_baseUrl[0], QString(399, QChar(0xe9)));
    QCOMPARE(reloaded.m_username, QString(83, QChar(0x20ac)));
}

void AppSettingsTest::integerConversions_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("loaded");
    QTest::newRow("decimal") << QByteArray("30") << 30;
    QTest::newRow("negative") << QByteArray("-5") << -5;
    QTest::newRow("zero") << QByteArray("0") << 0;
    QTest::newRow("largest signed") << QByteArray("2147483647") << 2147483647;
    QTest::newRow("smallest signed") << QByteArray("-2147483648") << -2147483647 - 1;
    QTest::newRow("unsigned form of -1") << QByteArray("4294967295") << -1;
    QTest::newRow("unsigned form of the smallest") << QByteArray("2147483648") << -2147483647 - 1;
    QTest::newRow("past 32 bits") << QByteArray("4294967296") << 60;
    QTest::newRow("below 32 bits") << QByteArray("-2147483649") << 60;
    QTest::newRow("blanks around") << QByteArray("  42  ") << 42;
    QTest::newRow("letters") << QByteArray("abc") << 60;
    QTest::newRow("digits then letters") << QByteArray("12abc") << 60;
    QTest::newRow("hexadecimal") << QByteArray("0x10") << 60;
    QTest::newRow("empty") << QByteArray("") << 60;
    QTest::newRow("a list") << QByteArray("1, 2") << 60;
}

void AppSettingsTest::integerConversions()
{
    QFETCH(QByteArray, stored);
    QFETCH(int, loaded);
    QVERIFY(WriteFile(DefaultFile(), "[General]\nNotifyTimeout=" + stored + "\nUsername=x\n"));
    const CAppSettings s;
    QCOMPARE(s.m_username, QStringLiteral("x"));
    QCOMPARE(s.m_notifyTimeout, loaded);

    // Whatever was loaded is written back as the same 32 bits.
    QCOMPARE(s.Save(), 0);
    QCOMPARE(CAppSettings().m_notifyTimeout, loaded);
}

void AppSettingsTest::folderAndFileArePrivate()
{
    CAppSettings s;
    QCOMPARE(s.Save(), 0);
    const QString folder = Config() + QStringLiteral("/Parlendo");
    QCOMPARE(Mode(folder), 0700);
    QCOMPARE(Mode(DefaultFile()), 0600);

    // Loosened by hand (or by an older console): tightened again by the next save.
    QVERIFY(::chmod(QFile::encodeName(DefaultFile()).constData(), 0644) == 0);
    QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0755) == 0);
    s.m_password = QStringLiteral("secret");
    QCOMPARE(s.Save(), 0);
    QCOMPARE(Mode(folder), 0700);
    QCOMPARE(Mode(DefaultFile()), 0600);
    QCOMPARE(CAppSettings().m_password, QStringLiteral("secret"));
}

void AppSettingsTest::overriddenPathLeavesExistingFolderAlone()
{
    const QString shared = m_dir->path() + QStringLiteral("/demo");
    QVERIFY(QDir().mkpath(shared));
    QVERIFY(::chmod(QFile::encodeName(shared).constData(), 0755) == 0);
    CAppSettings demo(shared + QStringLiteral("/Operator.conf"));
    demo.m_username = QStringLiteral("demo");
    QCOMPARE(demo.Save(), 0);
    QCOMPARE(Mode(shared), 0755);
    QCOMPARE(Mode(demo.FilePath()), 0600);
    QCOMPARE(CAppSettings(demo.FilePath()).m_username, QStringLiteral("demo"));
    QVERIFY(!QFile::exists(DefaultFile()));

    const QString fresh = m_dir->path() + QStringLiteral("/new/deeper");
    CAppSettings other(fresh + QStringLiteral("/settings.conf"));
    QCOMPARE(other.Save(), 0);
    QCOMPARE(Mode(fresh), 0700);
}

void AppSettingsTest::damagedFileKeepsReadableValuesAndIsRewritten()
{
    QVERIFY(WriteFile(DefaultFile(), QByteArray("[General]\nServerPort=8080\n"
                                                "\x01\x02\xff\xfe not a line at all\n"
                                                "[Unclosed\nUsername=ann\n")));
    CAppSettings s;
    QCOMPARE(s.Load(), 0);
    QCOMPARE(s.m_serverPort, 8080);
    s.m_password = QStringLiteral("pw");
    QCOMPARE(s.Save(), 0);
    QVERIFY(!Contents(DefaultFile()).contains("not a line"));
    const CAppSettings reloaded;
    QVERIFY(reloaded == s);
}

void AppSettingsTest::valuesOfOtherNamesSurviveSave()
{
    QVERIFY(WriteFile(DefaultFile(), "[General]\nLaterOption=7\nServerPort=99\n[Other]\nx=1\n"));
    CAppSettings s;
    QCOMPARE(s.m_serverPort, 99);
    s.m_serverPort = 100;
    QCOMPARE(s.Save(), 0);
    const QList<QByteArray> lines = Contents(DefaultFile()).split('\n');
    QVERIFY(lines.contains("LaterOption=7"));
    QVERIFY(lines.contains("[Other]"));
    QVERIFY(lines.contains("x=1"));
    QVERIFY(lines.contains("ServerPort=100"));
}

void AppSettingsTest::failedWriteKeepsPreviousFile_data()
{
    QTest::addColumn<QByteArray>("previous");
    QTest::newRow("sound file") << QByteArray();
    QTest::newRow("damaged file") << QByteArray("[General]\ngarbage line\nServerPort=1\n");
}

void AppSettingsTest::failedWriteKeepsPreviousFile()
{
    QFETCH(QByteArray, previous);
    CAppSettings s;
    if (previous.isEmpty())
        QCOMPARE(s.Save(), 0);
    else
        QVERIFY(WriteFile(DefaultFile(), previous));
    const QByteArray before = Contents(DefaultFile());
    QVERIFY(!before.isEmpty());

    Fill(s);
    s.m_welcomeMsg = QString(249, QLatin1Char('m'));
    s.m_password = QString(249, QLatin1Char('p'));
    int result = 0;
    {
        const FileSizeLimit limit(static_cast<rlim_t>(before.size() + 16));
        result = s.Save();
    }
    QCOMPARE(result, -1);
    QCOMPARE(Contents(DefaultFile()), before);
    QCOMPARE(QDir(Config() + QStringLiteral("/Parlendo")).entryList(QDir::Files),
             QStringList{QStringLiteral("Operator.conf")});
}

void AppSettingsTest::unwritableLocations_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("folder is a file") << QStringLiteral("/blocker/Operator.conf");
    QTest::newRow("file is a folder") << QStringLiteral("/folder.conf");
}

void AppSettingsTest::unwritableLocations()
{
    QFETCH(QString, path);
    QVERIFY(WriteFile(m_dir->path() + QStringLiteral("/blocker"), "x"));
    QVERIFY(QDir().mkpath(m_dir->path() + QStringLiteral("/folder.conf")));
    CAppSettings s(m_dir->path() + path);
    QCOMPARE(s.Load(), -1);
    QVERIFY(s == CAppSettings(s.FilePath()));
    s.m_username = QStringLiteral("ann");
    QCOMPARE(s.Save(), -1);
    QCOMPARE(Mode(m_dir->path() + QStringLiteral("/folder.conf")) & 0700, 0700);
}

void AppSettingsTest::readOnlyFolderFailsWithoutRoot()
{
    if (::geteuid() == 0)
        QSKIP("root writes into read-only folders; the file-size limit rows cover it");
    const QString folder = m_dir->path() + QStringLiteral("/locked");
    CAppSettings s(folder + QStringLiteral("/Operator.conf"));
    QCOMPARE(s.Save(), 0);
    const QByteArray before = Contents(s.FilePath());
    QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0500) == 0);
    s.m_username = QStringLiteral("changed");
    const int result = s.Save();
    ::chmod(QFile::encodeName(folder).constData(), 0700);
    QCOMPARE(result, -1);
    QCOMPARE(Contents(s.FilePath()), before);
}

QTEST_GUILESS_MAIN(AppSettingsTest)
#include "app_settings_test.moc"
