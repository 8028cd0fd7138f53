// The welcome-message edit: the operator cannot type or paste past the bytes the record keeps,
// counted in the form it stores; Enter still starts a new line.
#include "limited_text_edit.h"
#include "test_helpers.h"

#include <QApplication>
#include <QClipboard>

namespace {

constexpr int kMaxBytes = 8;

} // namespace

class LimitedTextEditTest final : public QObject
{
    Q_OBJECT

private slots:
    void typing_data();
    void typing();
    void typingReplacesSelection();
    void pasteThatDoesNotFitIsRefusedWhole_data();
    void pasteThatDoesNotFitIsRefusedWhole();
};

void LimitedTextEditTest::typing_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("text");
    TextRow("fits", "", "Hello", "Hello");
    TextRow("stops at the limit", "", "Hello there", "Hello th");
    TextRow("line break is one byte", "Hi", "\nthere!", "Hi\nthere");
    TextRow("two-byte letter that would not fit", "abcdefg", "\u00e9", "abcdefg");
    TextRow("two-byte letters that fit", "abcd", "\u00e9\u00e9\u00e9", "abcd\u00e9\u00e9");
}

void LimitedTextEditTest::typing()
{
    QFETCH(QString, start);
    QFETCH(QString, typed);
    QFETCH(QString, text);
    CLimitedTextEdit edit(kMaxBytes, nullptr);
    edit.setPlainText(start);
    edit.moveCursor(QTextCursor::End);
    for (const QChar c : typed) {
        if (c == u'\n')
            QTest::keyClick(&edit, Qt::Key_Return);
        else
            QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    QCOMPARE(edit.toPlainText(), text);
}

void LimitedTextEditTest::typingReplacesSelection()
{
    CLimitedTextEdit edit(kMaxBytes, nullptr);
    edit.setPlainText(QStringLiteral("12345678"));
    QTest::keyClick(&edit, Qt::Key_Z);
    QCOMPARE(edit.toPlainText(), QStringLiteral("12345678"));
    edit.selectAll();
    QTest::keyClick(&edit, Qt::Key_Z);
    QCOMPARE(edit.toPlainText(), QStringLiteral("z"));
}

void LimitedTextEditTest::pasteThatDoesNotFitIsRefusedWhole_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("text");
    TextRow("fits exactly", "abc", "defgh", "abcdefgh");
    TextRow("one byte too many", "abc", "defghi", "abc");
    TextRow("CR LF is one line break", "ab", "cd\r\nefg", "abcd\nefg");
    TextRow("multi-byte", "abcd", "\u20ac\u20ac", "abcd");
}

void LimitedTextEditTest::pasteThatDoesNotFitIsRefusedWhole()
{
    QFETCH(QString, start);
    QFETCH(QString, pasted);
    QFETCH(QString, text);
    CLimitedTextEdit edit(kMaxBytes, nullptr);
    edit.setPlainText(start);
    edit.moveCursor(QTextCursor::End);
    QApplication::clipboard()->setText(pasted);
    edit.paste();
    QCOMPARE(edit.toPlainText(), text);
}

QTEST_MAIN(LimitedTextEditTest)
#include "limited_text_edit_test.moc"
