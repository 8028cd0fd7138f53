// Rich-text output of the transcript: escapes and tables on their own, then whole transcripts
// read back by an independent reader (unrtf), and saving that never damages an existing file.
#include "rtf_writer.h"
#include "transcript_ctrl.h"
#include "transcript_output.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QtTest>
#include <csignal>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

struct Line
{
    QString text;
    QRgb colour;
    bool bold;
};

QByteArray RtfOfOneLine(const QString& text)
{
    CTranscriptCtrl t;
    t.AppendText(text, CTranscriptCtrl::kChatTextColour);
    return RtfFromDocument(*t.document());
}

// What a reader of the file sees: unrtf turns it into HTML, which Qt's HTML reader then takes
// apart into runs of text with their colour and weight.
struct ReadBack
{
    QString error;
    QList<Line> runs;
};

ReadBack ReadWithUnrtf(const QString& path)
{
    ReadBack result;
    const QString unrtf = QStandardPaths::findExecutable("unrtf");
    if (unrtf.isEmpty()) {
        result.error = "unrtf not found: run scripts/setup.sh";
        return result;
    }
    QProcess process;
    process.start(unrtf, {"--html", path});
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        result.error = "unrtf failed: " + QString::fromLocal8Bit(process.readAllStandardError());
        return result;
    }
    QTextDocument html;
    html.setHtml(QString::fromUtf8(process.readAllStandardOutput()));
    for (QTextBlock b = html.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            const QString text = it.fragment().text().trimmed();
            if (!text.isEmpty()) {
                result.runs.append({text, f.foreground().color().rgb() & RGB_MASK,
                                    f.fontWeight() >= QFont::DemiBold});
            }
        }
    }
    return result;
}

QByteArray FileContents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Root ignores folder permissions; while this lives, the test thread does not.
class PermissionChecksEnforced final
{
public:
    PermissionChecksEnforced()
    {
        m_header.version = _LINUX_CAPABILITY_VERSION_3;
        m_header.pid = 0;
        if (syscall(SYS_capget, &m_header, m_saved) != 0)
            return;
        __user_cap_data_struct reduced[2] = {m_saved[0], m_saved[1]};
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        m_active = syscall(SYS_capset, &m_header, reduced) == 0;
    }
    ~PermissionChecksEnforced()
    {
        if (m_active)
            syscall(SYS_capset, &m_header, m_saved);
    }
    PermissionChecksEnforced(const PermissionChecksEnforced&) = delete;
    PermissionChecksEnforced& operator=(const PermissionChecksEnforced&) = delete;

private:
    __user_cap_header_struct m_header{};
    __user_cap_data_struct m_saved[2]{};
    bool m_active = false;
};

// Files may not grow beyond limit bytes while this lives, as on a full disk: writes past it
// fail with EFBIG instead of the process being killed.
class FileSizeLimit final
{
public:
    explicit FileSizeLimit(rlim_t limit)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit reduced = m_saved;
        reduced.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &reduced);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_saved{};
    void (*m_oldHandler)(int) = nullptr;
};

enum class Failure
{
    MissingFolder,
    ReadOnlyFolder,
    DiskFull
};

} // namespace

Q_DECLARE_METATYPE(Failure)

class RtfWriterTest final : public QObject
{
    Q_OBJECT

private slots:
    void textEscapes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("rtf");
        QTest::newRow("plain ASCII") << "Hello, world!" << QByteArray("Hello, world!");
        QTest::newRow("control symbols") << "a\\b{c}" << QByteArray("a\\\\b\\{c\\}");
        QTest::newRow("tab") << "a\tb" << QByteArray("a\\tab b");
        QTest::newRow("Latin-1 with itself as fallback")
            << QString::fromUtf8("Grüße") << QByteArray("Gr\\u252\\'fc\\u223\\'dfe");
        QTest::newRow("CJK") << QString::fromUtf8("東京")
                             << QByteArray("\\u26481\\'3f\\u20140\\'3f");
        QTest::newRow("above 0x7fff is negative")
            << QString(QChar(0xfb01)) << QByteArray("\\u-1279\\'3f");
        QTest::newRow("beyond the BMP as a surrogate pair")
            << QString::fromUtf8("😀") << QByteArray("\\u-10179\\'3f\\u-8704\\'3f");
        QTest::newRow("half a surrogate pair")
            << QString(QChar(0xd83d)) + "x" << QByteArray("\\u-3\\'3fx");
        QTest::newRow("control character")
            << QString("a") + QChar(0x1b) + "b" << QByteArray("a\\'1bb");
    }
    void textEscapes()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, rtf);
        const QByteArray out = RtfOfOneLine(text);
        QVERIFY2(out.contains(" " + rtf + "}\\par"), out.constData());
        for (const char c : out)
            QVERIFY(static_cast<unsigned char>(c) < 0x80);
    }

    void formatsAndColourTable()
    {
        CTranscriptCtrl t;
        t.AppendBoldText("Anna:", CTranscriptCtrl::kOwnNameColour);
        t.AppendText("Hello", CTranscriptCtrl::kChatTextColour);
        t.AppendBoldText("Visitor:", CTranscriptCtrl::kOtherNameColour);
        t.AppendText("Hi", CTranscriptCtrl::kChatTextColour);
        t.AppendNotice("Bob has joined this call", CTranscriptCtrl::kNoticeColour, true, false);
        const QByteArray rtf = RtfFromDocument(*t.document());

        QVERIFY(rtf.startsWith("{\\rtf1\\ansi"));
        QVERIFY(rtf.contains("{\\fonttbl{\\f0"));
        // Each colour once, in order of first use, after the automatic colour's empty entry.
        QVERIFY2(rtf.contains("{\\colortbl ;\\red255\\green0\\blue0;\\red64\\green64\\blue64;"
                              "\\red0\\green0\\blue255;\\red0\\green128\\blue128;}"),
                 rtf.constData());
        QVERIFY(rtf.contains("{\\cf1\\b\\i0\\ulnone Anna:}\\par"));
        QVERIFY(rtf.contains("{\\cf2\\b0\\i0\\ulnone Hello}\\par"));
        QVERIFY(rtf.contains("{\\cf3\\b\\i0\\ulnone Visitor:}\\par"));
        QVERIFY(rtf.contains("{\\cf2\\b0\\i0\\ulnone Hi}\\par"));
        QVERIFY(rtf.contains("{\\cf4\\b0\\i0\\ul Bob has joined this call}\\par"));
        QCOMPARE(rtf.count("\\par"), 5 + 1); // five lines and the opening \pard
        QVERIFY(rtf.trimmed().endsWith('}'));
        QCOMPARE(rtf.count('{') - rtf.count("\\{"), rtf.count('}') - rtf.count("\\}"));
    }

    void savedTranscriptReadsBackWithItsColours()
    {
        const QString own = QString::fromUtf8("Anna Müller:");
        const QString text = QString::fromUtf8("Grüße, 東京, emoji 😀 – {braces} and \\backslash");
        const QList<Line> lines = {
            {own, CTranscriptCtrl::kOwnNameColour, true},
            {text, CTranscriptCtrl::kChatTextColour, false},
            {"Visitor:", CTranscriptCtrl::kOtherNameColour, true},
            {"<b>raw HTML</b> from a canned answer", CTranscriptCtrl::kChatTextColour, false},
            {"http://www.example.com/o'brien", CTranscriptCtrl::kAddressColour, false},
            {"Bob Smith has joined this call", CTranscriptCtrl::kNoticeColour, true},
            {"This call has been closed.", CTranscriptCtrl::kNoticeColour, true},
        };
        CTranscriptCtrl t;
        for (const Line& line : lines) {
            if (line.colour == CTranscriptCtrl::kNoticeColour)
                t.AppendNotice(line.text, line.colour, false, true);
            else if (line.bold)
                t.AppendBoldText(line.text, line.colour);
            else
                t.AppendText(line.text, line.colour);
        }

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath("chat.rtf");
        QCOMPARE(SaveTranscript(path, *t.document()), QString());

        const ReadBack read = ReadWithUnrtf(path);
        QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
        QCOMPARE(read.runs.size(), lines.size());
        for (qsizetype i = 0; i < lines.size(); ++i) {
            QCOMPARE(read.runs[i].text, lines[i].text);
            QCOMPARE(QColor(read.runs[i].colour), QColor(lines[i].colour));
            QCOMPARE(read.runs[i].bold, lines[i].bold);
        }
    }

    void saveReplacesAnExistingFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("chat.rtf");
        QVERIFY(WriteFile(path, "an older transcript, much longer than the new one......"));
        CTranscriptCtrl t;
        t.AppendText("new", CTranscriptCtrl::kChatTextColour);
        QCOMPARE(SaveTranscript(path, *t.document()), QString());
        QCOMPARE(FileContents(path), RtfFromDocument(*t.document()));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"chat.rtf"});
    }

    void saveFailureLeavesExistingFileAlone_data()
    {
        QTest::addColumn<Failure>("failure");
        QTest::addColumn<bool>("existing");
        QTest::newRow("missing folder") << Failure::MissingFolder << false;
        QTest::newRow("read-only folder, new file") << Failure::ReadOnlyFolder << false;
        QTest::newRow("read-only folder, existing file") << Failure::ReadOnlyFolder << true;
        QTest::newRow("disk full while writing, existing file") << Failure::DiskFull << true;
    }
    void saveFailureLeavesExistingFileAlone()
    {
        QFETCH(Failure, failure);
        QFETCH(bool, existing);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QString folder = dir.path();
        if (failure == Failure::MissingFolder)
            folder = dir.filePath("not-there");
        const QString path = QDir(folder).filePath("chat.rtf");
        const QByteArray before = "{\\rtf1 the transcript saved last week}";
        if (existing)
            QVERIFY(WriteFile(path, before));

        CTranscriptCtrl t;
        for (int i = 0; i < 200; ++i)
            t.AppendText(QStringLiteral("line %1 of a long chat").arg(i),
                         CTranscriptCtrl::kChatTextColour);

        QString error;
        if (failure == Failure::ReadOnlyFolder) {
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
            {
                const PermissionChecksEnforced asUser;
                error = SaveTranscript(path, *t.document());
            }
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        } else if (failure == Failure::DiskFull) {
            const FileSizeLimit limit(1024);
            error = SaveTranscript(path, *t.document());
        } else {
            error = SaveTranscript(path, *t.document());
        }

        QVERIFY2(!error.isEmpty(), "failure reported as success");
        QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
        if (existing)
            QCOMPARE(FileContents(path), before);
        else
            QVERIFY(!QFile::exists(path));
        // No temporary file left behind.
        if (QDir(folder).exists())
            QCOMPARE(QDir(folder).entryList(QDir::Files).size(), existing ? 1 : 0);
    }
};

QTEST_MAIN(RtfWriterTest)
#include "rtf_writer_test.moc"
