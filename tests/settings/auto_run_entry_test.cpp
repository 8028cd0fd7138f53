// The autostart entry: present exactly while auto-run is on, naming the executable in a form
// the desktop reads back to the same path, and accepted by desktop-file-validate.
#include "file_helpers.h"
#include "auto_run_entry.h"
#include "result_codes.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

using testing_support::Contents;

QByteArray ExecLine(const QByteArray& entry)
{
    for (const QByteArray& line : entry.split('\n')) {
        if (line.startsWith("Exec="))
            return line;
    }
    return {};
}

// How a desktop reads an Exec value back into a program path: string escapes first, then
// the quoting of the argument, then the doubled percent signs. Written from the format's
// rules, independently of the writer.
QString ProgramFromExec(const QByteArray& line)
{
    const QString value = QString::fromUtf8(line.mid(5));
    QString unescaped;
    for (int i = 0; i < value.size(); ++i) {
        if (value[i] == u'\\' && i + 1 < value.size()) {
            const QChar next = value[++i];
            unescaped += next == u'n'   ? QChar(u'\n')
                         : next == u't' ? QChar(u'\t')
                         : next == u'r' ? QChar(u'\r')
                         : next == u's' ? QChar(u' ')
                                        : next;
        } else {
            unescaped += value[i];
        }
    }
    QString program;
    if (unescaped.startsWith(u'"') && unescaped.endsWith(u'"') && unescaped.size() >= 2) {
        const QString inner = unescaped.mid(1, unescaped.size() - 2);
        for (int i = 0; i < inner.size(); ++i) {
            if (inner[i] == u'\\' && i + 1 < inner.size())
                ++i;
            program += inner[i];
        }
    } else {
        program = unescaped;
    }
    return program.replace(QStringLiteral("%%"), QStringLiteral("%"));
}

} // namespace

class AutoRunEntryTest final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void enabledWritesEntryForRunningExecutable();
    void execValue_data();
    void execValue();
    void entryPassesDesktopFileValidate_data();
    void entryPassesDesktopFileValidate();
    void enablingAgainPointsAtCurrentPath();
    void disablingRemovesEntry();
    void unwritableAutostartFolder();

private:
    QString Config() const { return m_dir->path() + QStringLiteral("/config"); }

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void AutoRunEntryTest::initTestCase()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
    qputenv("HOME", QFile::encodeName(m_home->path()));
}

void AutoRunEntryTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(Config()));
}

void AutoRunEntryTest::enabledWritesEntryForRunningExecutable()
{
    const CAutoRunEntry entry;
    const QString path = Config() + QStringLiteral("/autostart/parlendo.desktop");
    QCOMPARE(entry.EntryPath(), path);
    QCOMPARE(entry.Update(true), rc::kOk);
    const QByteArray text = Contents(path);
    QVERIFY(text.startsWith("[Desktop Entry]\n"));
    QVERIFY(text.contains("\nType=Application\n"));
    QCOMPARE(ProgramFromExec(ExecLine(text)), QCoreApplication::applicationFilePath());
    QVERIFY(QFileInfo(QCoreApplication::applicationFilePath()).isAbsolute());
}

void AutoRunEntryTest::execValue_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QByteArray>("exec");
    QTest::newRow("plain") << QStringLiteral("/opt/parlendo/parlendo")
                           << QByteArray("Exec=/opt/parlendo/parlendo");
    QTest::newRow("blanks") << QStringLiteral("/home/ann/My Programs/parlendo")
                            << QByteArray("Exec=\"/home/ann/My Programs/parlendo\"");
    QTest::newRow("dollar") << QStringLiteral("/opt/a$b/parlendo")
                            << QByteArray("Exec=\"/opt/a\\\\$b/parlendo\"");
    QTest::newRow("backslash") << QStringLiteral("/opt/a\\b/parlendo")
                               << QByteArray("Exec=\"/opt/a\\\\\\\\b/parlendo\"");
    QTest::newRow("double quote") << QStringLiteral("/opt/say \"hi\"/parlendo")
                                  << QByteArray("Exec=\"/opt/say \\\\\"hi\\\\\"/parlendo\"");
    QTest::newRow("percent") << QStringLiteral("/opt/100%/parlendo")
                             << QByteArray("Exec=/opt/100%%/parlendo");
    QTest::newRow("apostrophe and parentheses") << QStringLiteral("/opt/ann's (new)/parlendo")
                                                << QByteArray("Exec=\"/opt/ann's (new)/parlendo\"");
    QTest::newRow("non-ASCII") << QStringLiteral("/opt/caf\u00e9/parlendo")
                               << QByteArray("Exec=/opt/caf\xc3\xa9/parlendo");
}

void AutoRunEntryTest::execValue()
{
    QFETCH(QString, program);
    QFETCH(QByteArray, exec);
    const QByteArray text = CAutoRunEntry::EntryText(program);
    QCOMPARE(ExecLine(text), exec);
    QCOMPARE(ProgramFromExec(exec), program);
}

void AutoRunEntryTest::entryPassesDesktopFileValidate_data()
{
    execValue_data();
}

void AutoRunEntryTest::entryPassesDesktopFileValidate()
{
    QFETCH(QString, program);
    const QString validator =
        QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validator.isEmpty())
        QSKIP("desktop-file-validate is not installed (scripts/setup.sh installs it)");
    const CAutoRunEntry entry({}, program);
    QCOMPARE(entry.Update(true), rc::kOk);
    QProcess run;
    run.start(validator, {entry.EntryPath()});
    QVERIFY(run.waitForFinished(30000));
    const QByteArray said = run.readAllStandardOutput() + run.readAllStandardError();
    QVERIFY2(run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0, said.constData());
    QVERIFY2(said.trimmed().isEmpty(), said.constData());
}

void AutoRunEntryTest::enablingAgainPointsAtCurrentPath()
{
    QCOMPARE(CAutoRunEntry({}, QStringLiteral("/old/place/parlendo")).Update(true), rc::kOk);
    const CAutoRunEntry moved({}, QStringLiteral("/new place/parlendo"));
    QCOMPARE(moved.Update(true), rc::kOk);
    const QByteArray text = Contents(moved.EntryPath());
    QCOMPARE(ProgramFromExec(ExecLine(text)), QStringLiteral("/new place/parlendo"));
    QVERIFY(!text.contains("/old/place"));
    QCOMPARE(QDir(Config() + QStringLiteral("/autostart")).entryList(QDir::Files),
             QStringList{QStringLiteral("parlendo.desktop")});
}

void AutoRunEntryTest::disablingRemovesEntry()
{
    const CAutoRunEntry entry({}, QStringLiteral("/opt/parlendo/parlendo"));
    QCOMPARE(entry.Update(false), rc::kOk); // nothing there yet: no error
    QCOMPARE(entry.Update(true), rc::kOk);
    QVERIFY(QFile::exists(entry.EntryPath()));
    QCOMPARE(entry.Update(false), rc::kOk);
    QVERIFY(!QFile::exists(entry.EntryPath()));
    QCOMPARE(entry.Update(false), rc::kOk);
}

void AutoRunEntryTest::unwritableAutostartFolder()
{
    QVERIFY(QDir().mkpath(Config()));
    QFile blocker(Config() + QStringLiteral("/autostart"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const CAutoRunEntry entry({}, QStringLiteral("/opt/parlendo/parlendo"));
    QCOMPARE(entry.Update(true), rc::kFileNotSaved);

    // An entry that is a folder cannot be removed.
    const CAutoRunEntry stuck(m_dir->path(), QStringLiteral("/opt/parlendo/parlendo"));
    QCOMPARE(stuck.Update(false), rc::kFileNotSaved);
}

QTEST_GUILESS_MAIN(AutoRunEntryTest)
#include "auto_run_entry_test.moc"
