// The transcript leaving the window: saved as rich text and read back by unrtf, every awkward
// character included; printed to PDF and read back by pdftotext; and a save that fails part way
// leaving the earlier file whole.
#include "file_helpers.h"
#include "transcript_ctrl.h"
#include "transcript_output.h"

#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocumentFragment>

namespace {

// What a reader program prints for the file; skips the test when the program is not there.
QString ReadBack(const char* program, const QStringList& arguments)
{
    const QString path = QStandardPaths::findExecutable(QString::fromLatin1(program));
    if (path.isEmpty())
        return {};
    QProcess reader;
    reader.start(path, arguments);
    reader.waitForFinished(30000);
    return QString::fromUtf8(reader.readAllStandardOutput());
}

} // namespace

class TranscriptOutputTest final : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    CTranscriptCtrl m_transcript;
    const QStringList m_lines = {
        QStringLiteral("Mia:"),
        QStringLiteral("Braces {and} back\\slashes \\par stay text"),
        QStringLiteral("Tab\there, accents \u00e9\u00fc\u00df"),
        QStringLiteral("\u6771\u4eac and a smile \U0001F600"),
        QStringLiteral("This call has been closed."),
    };

private slots:
    void initTestCase()
    {
        m_transcript.AppendBoldText(m_lines[0], QColor::fromRgb(CTranscriptCtrl::kOtherNameColour));
        for (qsizetype i = 1; i + 1 < m_lines.size(); ++i)
            m_transcript.AppendText(m_lines[i], QColor::fromRgb(CTranscriptCtrl::kChatTextColour));
        m_transcript.AppendNotice(m_lines.last(), QColor::fromRgb(CTranscriptCtrl::kNoticeColour),
                                  false, true);
    }

    void savedAsRichTextReadsBack()
    {
        const QString path = m_dir.filePath(QStringLiteral("chat.rtf"));
        QCOMPARE(SaveTranscript(path, *m_transcript.document()), QString());
        QVERIFY(testing_support::Contents(path).startsWith("{\\rtf1"));
        // As HTML: its text output leaves out every character beyond Latin-1.
        const QString html = ReadBack("unrtf", {QStringLiteral("--html"), path});
        if (html.isEmpty())
            QSKIP("unrtf is not installed: the saved lines are not read back");
        const QString text = QTextDocumentFragment::fromHtml(html).toPlainText().simplified();
        for (const QString& line : m_lines)
            QVERIFY2(text.contains(line.simplified()),
                     qPrintable(line + QStringLiteral(" not in:\n") + text));
    }

    void printedToPdfReadsBack()
    {
        const QString path = m_dir.filePath(QStringLiteral("chat.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        QCOMPARE(
            PrintTranscript(printer, *m_transcript.document(), QStringLiteral("Parlendo - Mia")),
            QString());
        const QString text = ReadBack("pdftotext", {path, QStringLiteral("-")});
        if (text.isEmpty())
            QSKIP("pdftotext is not installed: the printed lines are not read back");
        for (const QString& line : {m_lines[0], m_lines[2].section(u'\t', 1), m_lines.last()})
            QVERIFY2(text.contains(line), qPrintable(line + QStringLiteral(" not in:\n") + text));
    }

    void failedSaveKeepsTheEarlierFile()
    {
        const QString path = m_dir.filePath(QStringLiteral("earlier.rtf"));
        QVERIFY(testing_support::WriteFile(path, "earlier chat"));
        QString error;
        {
            testing_support::FileSizeLimit full(64);
            error = SaveTranscript(path, *m_transcript.document());
        }
        QVERIFY(error.startsWith(QStringLiteral("The chat could not be saved to")));
        QCOMPARE(testing_support::Contents(path), QByteArray("earlier chat"));
    }
};

QTEST_MAIN(TranscriptOutputTest)
#include "transcript_output_test.moc"
