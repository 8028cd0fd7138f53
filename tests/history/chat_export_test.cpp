// Exported chats read back by programs of their own: rich text by unrtf, PDF by pdftotext, the
// web page by Qt's HTML reader. Every chat chosen is there, oldest first, with its heading,
// names, times, notices and non-ASCII text.
#include "chat_export.h"
#include "history_fixture.h"
#include "transcript_document.h"
#include "transcript_look.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTextDocument>
#include <QtTest>
#include <memory>

using namespace history_testing;

namespace {

// The text a reader of the file sees, or why there is none.
QString ReadBack(const QString& path, QString& error)
{
    const QString suffix = QFileInfo(path).suffix();
    QString program = suffix == "rtf" ? "unrtf" : suffix == "pdf" ? "pdftotext" : QString();
    QByteArray bytes;
    if (program.isEmpty()) {
        QFile file(path);
        bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    } else {
        const QString found = QStandardPaths::findExecutable(program);
        if (found.isEmpty()) {
            error = program + " not found: run scripts/setup.sh";
            return {};
        }
        QProcess process;
        process.start(found, suffix == "rtf" ? QStringList{"--html", path} : QStringList{path, "-"});
        if (!process.waitForFinished(60000) || process.exitCode() != 0) {
            error = program + " failed: " + process.readAllStandardError();
            return {};
        }
        bytes = process.readAllStandardOutput();
    }
    if (suffix == "pdf")
        return QString::fromUtf8(bytes);
    QTextDocument html;
    html.setHtml(QString::fromUtf8(bytes));
    return html.toPlainText();
}

} // namespace

class ChatExportTest final : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("rich text") << "chats.rtf";
        QTest::newRow("web page") << "chats.html";
        QTest::newRow("PDF") << "chats.pdf";
    }

    void roundTrip()
    {
        QFETCH(QString, file);
        ScratchData data;
        CChatArchive archive;
        const qint64 now = CChatArchive::Now();
        const auto mary = FillThreeChats(archive, now);
        archive.AddLine(mary, Said("Mary", QString::fromUtf8("Grüße, €5 — naïve"), false, now));
        QVERIFY(archive.Flush());
        QList<CArchivedChat> chats = archive.Chats({}, 10);
        QCOMPARE(chats.size(), 3);
        std::reverse(chats.begin(), chats.end()); // as the window hands them over: oldest first
        chats.removeAt(1);                        // Mary's and Peter's chosen, not Jürgen's

        const auto document = CChatExport::Document(archive, chats);
        const QString path = QDir(data.Folder()).filePath(file);
        QCOMPARE(CChatExport::Write(path, CChatExport::FormatOf(path), *document), QString());
        QString error;
        const QString text = ReadBack(path, error);
        if (!error.isEmpty())
            QSKIP(qPrintable(error));

        const QStringList expected = {
            CTranscriptDocument::Heading(chats[0]),
            "Mary has joined this call",
            CTranscriptLook::TimeText(now - 3 * 3600000 + 1000) + " Mary:",
            "My parcel is late",
            "Ann:",
            QString::fromUtf8("Grüße, €5 — naïve"),
            CTranscriptDocument::Heading(chats[1]),
            "I would like a refund",
        };
        qsizetype at = 0;
        for (const QString& part : expected) {
            const qsizetype found = text.indexOf(part, at);
            QVERIFY2(found >= 0, qPrintable(part + " missing or out of order in:\n" + text));
            at = found + part.size();
        }
        QVERIFY(!text.contains(QString::fromUtf8("Jürgen")));
    }
};

QTEST_MAIN(ChatExportTest)
#include "chat_export_test.moc"
