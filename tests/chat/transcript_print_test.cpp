// Printing the transcript, checked on PDF output read back with pdftotext: every line printed
// once, over as many pages as it takes, under the window's title.
#include "transcript_ctrl.h"
#include "transcript_output.h"

#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int kLines = 500;

QString LineText(int i)
{
    return QStringLiteral("Line %1 of the chat").arg(i, 3, 10, QLatin1Char('0'));
}

void FillTranscript(CTranscriptCtrl& t)
{
    for (int i = 0; i < kLines; ++i) {
        if (i % 5 == 0)
            t.AppendBoldText(LineText(i), CTranscriptCtrl::kOwnNameColour);
        else if (i % 7 == 0)
            t.AppendNotice(LineText(i), CTranscriptCtrl::kNoticeColour, false, true);
        else
            t.AppendText(LineText(i), CTranscriptCtrl::kChatTextColour);
    }
}

QString Run(const QString& program, const QStringList& arguments, QString* error)
{
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty()) {
        *error = program + " not found: run scripts/setup.sh";
        return {};
    }
    QProcess process;
    process.start(path, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        *error = program + " failed: " + QString::fromLocal8Bit(process.readAllStandardError());
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Page by page, the numbers of the transcript lines found on each.
QList<QList<int>> LinesPerPage(const QString& pdf, QString* error)
{
    const QString text = Run("pdftotext", {pdf, "-"}, error);
    QList<QList<int>> pages;
    const QRegularExpression line(QStringLiteral("Line (\\d{3}) of the chat"));
    for (const QString& page : text.split(QLatin1Char('\f'), Qt::SkipEmptyParts)) {
        QList<int> numbers;
        for (auto it = line.globalMatch(page); it.hasNext();)
            numbers << it.next().captured(1).toInt();
        if (!numbers.isEmpty() || !page.trimmed().isEmpty())
            pages << numbers;
    }
    return pages;
}

} // namespace

class TranscriptPrintTest final : public QObject
{
    Q_OBJECT

private slots:
    // The text keeps off the paper's edge: the printer's margins when it has some, its own
    // otherwise (15 mm), whether the printer draws from the paper's corner or the margin's.
    void everyLinePrintedOnceInOrder_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<qreal>("printerMarginMm");
        QTest::addColumn<bool>("fullPage");
        QTest::addColumn<qreal>("leftMarginMm");
        QTest::newRow("high resolution, no printer margins")
            << int(QPrinter::HighResolution) << 0.0 << false << 15.0;
        QTest::newRow("screen resolution, no printer margins")
            << int(QPrinter::ScreenResolution) << 0.0 << false << 15.0;
        QTest::newRow("printer margins") << int(QPrinter::HighResolution) << 25.0 << false << 25.0;
        QTest::newRow("printer margins, full page")
            << int(QPrinter::HighResolution) << 25.0 << true << 25.0;
    }
    void everyLinePrintedOnceInOrder()
    {
        QFETCH(int, mode);
        QFETCH(qreal, printerMarginMm);
        QFETCH(bool, fullPage);
        QFETCH(qreal, leftMarginMm);
        CTranscriptCtrl t;
        FillTranscript(t);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString pdf = dir.filePath("chat.pdf");
        QPrinter printer(static_cast<QPrinter::PrinterMode>(mode));
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageSize(QPageSize(QPageSize::A4));
        const qreal m = printerMarginMm;
        printer.setPageMargins(QMarginsF(m, m, m, m), QPageLayout::Millimeter);
        printer.setFullPage(fullPage);

        const QString title = QString::fromUtf8("Parlendo - Jürgen Visitor");
        QCOMPARE(PrintTranscript(printer, *t.document(), title), QString());

        QString error;
        const QList<QList<int>> pages = LinesPerPage(pdf, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY2(pages.size() >= 5, qPrintable(QString::number(pages.size())));
        QList<int> all;
        for (const QList<int>& page : pages) {
            QVERIFY(!page.isEmpty()); // no blank page in between or at the end
            all += page;
        }
        QList<int> expected(kLines);
        std::iota(expected.begin(), expected.end(), 0);
        QCOMPARE(all, expected); // a line cut by a page break would show up twice or not at all

        // Left edge of the leftmost word, in points, from the words' bounding boxes.
        const QString boxes = Run("pdftotext", {"-bbox", "-f", "1", "-l", "1", pdf, "-"}, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        qreal left = 1e9;
        const QRegularExpression xMin(QStringLiteral("xMin=\"([0-9.]+)\""));
        for (auto it = xMin.globalMatch(boxes); it.hasNext();)
            left = std::min(left, it.next().captured(1).toDouble());
        const qreal expectedLeft = leftMarginMm / 25.4 * 72;
        QVERIFY2(left >= expectedLeft - 1 && left <= expectedLeft + 3,
                 qPrintable(QStringLiteral("text starts at %1 pt").arg(left)));

        const QString info = Run("pdfinfo", {pdf}, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY2(
            info.contains(QRegularExpression("Title:\\s+" + QRegularExpression::escape(title))),
            qPrintable(info));
    }

    void pageRangeOfThePrintDialog()
    {
        CTranscriptCtrl t;
        FillTranscript(t);
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);

        printer.setOutputFileName(dir.filePath("all.pdf"));
        QCOMPARE(PrintTranscript(printer, *t.document(), "Parlendo"), QString());
        QString error;
        const QList<QList<int>> all = LinesPerPage(dir.filePath("all.pdf"), &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(all.size() >= 4);

        printer.setOutputFileName(dir.filePath("part.pdf"));
        printer.setFromTo(2, 3);
        QCOMPARE(PrintTranscript(printer, *t.document(), "Parlendo"), QString());
        const QList<QList<int>> part = LinesPerPage(dir.filePath("part.pdf"), &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(part, all.mid(1, 2));
    }

    void printerThatCannotStartIsReported()
    {
        CTranscriptCtrl t;
        t.AppendText("one line", CTranscriptCtrl::kChatTextColour);
        QTemporaryDir dir;
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("no-such-folder/chat.pdf"));
        QVERIFY(!PrintTranscript(printer, *t.document(), "Parlendo").isEmpty());
    }
};

QTEST_MAIN(TranscriptPrintTest)
#include "transcript_print_test.moc"
