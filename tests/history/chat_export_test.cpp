// Exported chats read back by programs of their own (unrtf, pdftotext; the HTML as a browser
// reads it): the chats chosen, oldest first, with headings, names, times, notices, non-ASCII text
// and a visitor's markup kept as text.
#include "chat_export.h"
#include "history_fixture.h"
#include "transcript_document.h"
#include "transcript_look.h"

#include <QTextDocument>
#include <QtTest>

using namespace history_testing;

class ChatExportTest final : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("reader"); // %1: the file
        QTest::addColumn<bool>("html");          // what the reader writes
        QTest::newRow("rich text") << "chats.rtf" << QStringList{"unrtf", "--html", "%1"} << true;
        QTest::newRow("PDF") << "chats.pdf" << QStringList{"pdftotext", "%1", "-"} << false;
        QTest::newRow("HTML") << "chats.html" << QStringList{"cat", "%1"} << true;
    }

    void roundTrip()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, reader);
        QFETCH(bool, html);
        if (QStandardPaths::findExecutable(reader[0]).isEmpty())
            QSKIP(qPrintable(reader[0] + " not found: run scripts/setup.sh"));
        ScratchData data;
        CChatArchive archive;
        const qint64 now = CChatArchive::Now();
        archive.AddLine(FillThreeChats(archive, now),
                        Said("Mary", "Grüße, €5 — naïve <b>&amp;", false, now));
        QVERIFY(archive.Flush());
        QList<CArchivedChat> chats = archive.Chats({}, 10);
        chats = {chats[2], chats[0]}; // Mary's and Peter's, oldest first as the window hands them
        const QString path = QDir(data.Folder()).filePath(file);
        const auto document = CChatExport::Document(archive, chats);
        QCOMPARE(CChatExport::Write(path, CChatExport::FormatOf(path), *document), QString());

        QProcess process;
        process.start(reader.takeFirst(), reader.replaceInStrings("%1", path));
        QVERIFY(process.waitForFinished(60000) && process.exitCode() == 0);
        const QString output = QString::fromUtf8(process.readAllStandardOutput());
        QTextDocument read;
        if (html)
            read.setHtml(output);
        else
            read.setPlainText(output);
        const QString text = read.toPlainText();
        qsizetype at = 0;
        for (const QString& part :
             {CTranscriptDocument::Heading(chats[0]), QString("Mary has joined"),
              CTranscriptLook::TimeText(now - 10799000) + " Mary:", QString("Ann:"),
              QString("Grüße, €5 — naïve <b>&amp;"), CTranscriptDocument::Heading(chats[1])}) {
            at = text.indexOf(part, at);
            QVERIFY2(at >= 0, qPrintable(part + " missing or out of order in:\n" + text));
        }
        QVERIFY(!text.contains("Jürgen"));
    }
};

QTEST_MAIN(ChatExportTest)
#include "chat_export_test.moc"
