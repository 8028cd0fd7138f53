// The transcript widget: one line per append with its colour and weight, plain text only, and a
// view that follows new lines only while the operator is at the end.
#include "transcript_ctrl.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextFragment>
#include <QtTest>

namespace {

enum class Op
{
    Text,
    Bold,
    Notice
};

struct Run
{
    QString text;
    QRgb colour;
    bool bold;
    bool underline;
};

// Every stretch of uniformly formatted text in a block.
QList<Run> Runs(const QTextBlock& block)
{
    QList<Run> runs;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment f = it.fragment();
        const QTextCharFormat c = f.charFormat();
        runs.append({f.text(), c.foreground().color().rgb(), c.fontWeight() >= QFont::DemiBold,
                     c.fontUnderline()});
    }
    return runs;
}

void Append(CTranscriptCtrl& t, Op op, const QString& text, QRgb colour, bool underline = false,
            bool bold = true)
{
    switch (op) {
    case Op::Text:
        t.AppendText(text, colour);
        break;
    case Op::Bold:
        t.AppendBoldText(text, colour);
        break;
    case Op::Notice:
        t.AppendNotice(text, colour, underline, bold);
        break;
    }
}

void FillLines(CTranscriptCtrl& t, int count)
{
    for (int i = 0; i < count; ++i)
        t.AppendText(QStringLiteral("line %1").arg(i), CTranscriptCtrl::kChatTextColour);
}

} // namespace

Q_DECLARE_METATYPE(Op)

class TranscriptCtrlTest final : public QObject
{
    Q_OBJECT

private slots:
    // Each kind of line after a line of another kind, so no format carries over from the line
    // before: a plain line after a bold one must not come out bold, nor take its colour.
    void lineFormats_data()
    {
        QTest::addColumn<Op>("op");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRgb>("colour");
        QTest::addColumn<bool>("underline");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("expectBold");
        QTest::addColumn<bool>("expectUnderline");
        QTest::newRow("own name") << Op::Bold << "Anna:" << CTranscriptCtrl::kOwnNameColour << false
                                  << true << true << false;
        QTest::newRow("other name") << Op::Bold << "Visitor:" << CTranscriptCtrl::kOtherNameColour
                                    << false << true << true << false;
        QTest::newRow("chat text") << Op::Text << "Hello there" << CTranscriptCtrl::kChatTextColour
                                   << false << true << false << false;
        QTest::newRow("sent address")
            << Op::Text << "http://www.example.com" << CTranscriptCtrl::kAddressColour << false
            << true << false << false;
        QTest::newRow("notice") << Op::Notice << "This call has been closed."
                                << CTranscriptCtrl::kNoticeColour << false << true << true << false;
        QTest::newRow("underlined notice, not bold")
            << Op::Notice << "x" << qRgb(1, 2, 3) << true << false << false << true;
    }
    void lineFormats()
    {
        QFETCH(Op, op);
        QFETCH(QString, text);
        QFETCH(QRgb, colour);
        QFETCH(bool, underline);
        QFETCH(bool, bold);
        QFETCH(bool, expectBold);
        QFETCH(bool, expectUnderline);

        for (const bool previousBold : {false, true}) {
            CTranscriptCtrl t;
            t.AppendNotice("before", qRgb(200, 100, 0), !expectUnderline, previousBold);
            Append(t, op, text, colour, underline, bold);

            QCOMPARE(t.document()->blockCount(), 2);
            const QList<Run> runs = Runs(t.document()->lastBlock());
            QCOMPARE(runs.size(), 1);
            QCOMPARE(runs[0].text, text);
            QCOMPARE(runs[0].colour, colour);
            QCOMPARE(runs[0].bold, expectBold);
            QCOMPARE(runs[0].underline, expectUnderline);
            // The colour is explicit, not the reader's automatic one, so it survives saving.
            QVERIFY(t.document()->lastBlock().begin().fragment().charFormat().hasProperty(
                QTextFormat::ForegroundBrush));
        }
    }

    void textIsNeverInterpretedAsHtml_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("canned answer with a link")
            << "Visit <a href='http://example.com'>our shop</a>!";
        QTest::newRow("bold tags") << "<b>not bold</b>";
        QTest::newRow("entities") << "&lt;tag&gt; &amp; &#39;";
        QTest::newRow("a whole page") << "<html><body><p style='color:red'>x</p></body></html>";
    }
    void textIsNeverInterpretedAsHtml()
    {
        QFETCH(QString, text);
        CTranscriptCtrl t;
        t.AppendText(text, CTranscriptCtrl::kChatTextColour);
        QCOMPARE(t.toPlainText(), text);
        const QList<Run> runs = Runs(t.document()->firstBlock());
        QCOMPARE(runs.size(), 1);
        QCOMPARE(runs[0].colour, CTranscriptCtrl::kChatTextColour);
        QVERIFY(!runs[0].bold);
    }

    void oneLinePerAppend_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("plain");
        QTest::newRow("three lines") << QStringList{"Anna:", "Hi", "Bob has joined this call"}
                                     << "Anna:\nHi\nBob has joined this call";
        QTest::newRow("empty first line kept") << QStringList{"", "x"} << "\nx";
        QTest::newRow("empty line in between") << QStringList{"a", "", "b"} << "a\n\nb";
        QTest::newRow("received line breaks, any convention")
            << QStringList{"one\r\ntwo\rthree\nfour", "five"} << "one\ntwo\nthree\nfour\nfive";
        QTest::newRow("tab and non-ASCII kept")
            << QStringList{QString::fromUtf8("a\tb Grüße 東京 😀")}
            << QString::fromUtf8("a\tb Grüße 東京 😀");
    }
    void oneLinePerAppend()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, plain);
        CTranscriptCtrl t;
        for (const QString& line : lines)
            t.AppendText(line, CTranscriptCtrl::kChatTextColour);
        QCOMPARE(t.toPlainText(), plain);
    }

    void clearedTranscriptStartsAtTheTop()
    {
        CTranscriptCtrl t;
        FillLines(t, 3);
        t.clear();
        t.AppendBoldText("Anna:", CTranscriptCtrl::kOwnNameColour);
        QCOMPARE(t.toPlainText(), QString("Anna:"));
    }

    // The operator's caret or selection at the end of the text, where new lines go, stays
    // as it was: no selection growing over new lines, none appearing from a bare caret.
    void operatorCaretAndSelectionStay_data()
    {
        QTest::addColumn<int>("anchor");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("selected");
        QTest::newRow("selection up to the end") << 0 << 7 << "copy me";
        QTest::newRow("selection from the end backwards") << 7 << 0 << "copy me";
        QTest::newRow("caret at the end") << 7 << 7 << "";
        QTest::newRow("caret at the start") << 0 << 0 << "";
        QTest::newRow("selection inside") << 1 << 3 << "op";
    }
    void operatorCaretAndSelectionStay()
    {
        QFETCH(int, anchor);
        QFETCH(int, position);
        QFETCH(QString, selected);
        CTranscriptCtrl t;
        t.AppendText("copy me", CTranscriptCtrl::kChatTextColour);
        QTextCursor caret(t.document());
        caret.setPosition(anchor);
        caret.setPosition(position, QTextCursor::KeepAnchor);
        t.setTextCursor(caret);

        t.AppendBoldText("Visitor:", CTranscriptCtrl::kOtherNameColour);
        t.AppendText("a new line", CTranscriptCtrl::kChatTextColour);

        QCOMPARE(t.textCursor().anchor(), anchor);
        QCOMPARE(t.textCursor().position(), position);
        QCOMPARE(t.textCursor().selectedText(), selected);
    }

    // Followed by the view while the operator is at the end, wherever the caret is.
    void viewFollowsNewLinesAtTheEnd_data()
    {
        QTest::addColumn<bool>("caretAtEnd");
        QTest::newRow("caret at the start") << false;
        QTest::newRow("caret at the end") << true;
    }
    void viewFollowsNewLinesAtTheEnd()
    {
        QFETCH(bool, caretAtEnd);
        CTranscriptCtrl t;
        t.resize(300, 200);
        t.show();
        QVERIFY(QTest::qWaitForWindowExposed(&t));
        QScrollBar* bar = t.verticalScrollBar();
        FillLines(t, 20);
        if (caretAtEnd)
            t.moveCursor(QTextCursor::End);

        FillLines(t, 200);
        QTRY_VERIFY(bar->maximum() > 0);
        QTRY_COMPARE(bar->value(), bar->maximum());

        const int before = bar->maximum();
        FillLines(t, 50);
        QTRY_VERIFY(bar->maximum() > before);
        QTRY_COMPARE(bar->value(), bar->maximum());
    }

    // Scrolled up to read: new lines arrive without moving the view, and scrolling back to the
    // end resumes following.
    void viewStaysWhereTheOperatorScrolled_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("scroll bar, caret at the start") << 0;
        QTest::newRow("page up key") << 1;
        QTest::newRow("scroll bar, caret left at the end") << 2;
    }
    void viewStaysWhereTheOperatorScrolled()
    {
        QFETCH(int, how);
        CTranscriptCtrl t;
        t.resize(300, 200);
        t.show();
        QVERIFY(QTest::qWaitForWindowExposed(&t));
        QScrollBar* bar = t.verticalScrollBar();
        FillLines(t, 200);
        QTRY_COMPARE(bar->value(), bar->maximum());
        QVERIFY(bar->maximum() > 0);

        t.setFocus();
        if (how != 0)
            t.moveCursor(QTextCursor::End);
        if (how == 1) {
            for (int i = 0; i < 3; ++i)
                QTest::keyClick(t.viewport(), Qt::Key_PageUp);
        } else {
            bar->triggerAction(QAbstractSlider::SliderPageStepSub);
            bar->triggerAction(QAbstractSlider::SliderPageStepSub);
        }
        if (how == 2)
            QCOMPARE(t.textCursor().position(), t.document()->characterCount() - 1);
        const int reading = bar->value();
        QVERIFY(reading < bar->maximum());

        const int before = bar->maximum();
        FillLines(t, 100);
        QTRY_VERIFY(bar->maximum() > before);
        QCoreApplication::processEvents();
        QCOMPARE(bar->value(), reading);

        bar->triggerAction(QAbstractSlider::SliderToMaximum);
        const int atEnd = bar->maximum();
        FillLines(t, 50);
        QTRY_VERIFY(bar->maximum() > atEnd);
        QTRY_COMPARE(bar->value(), bar->maximum());
    }
};

QTEST_MAIN(TranscriptCtrlTest)
#include "transcript_ctrl_test.moc"
