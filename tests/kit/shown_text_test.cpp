// Text from strangers as the console shows it: however it is made (direction overrides, control
// characters, a megabyte without a space, thousands of lines, markup, characters outside the
// basic plane cut in half), what is shown is bounded, cannot be reordered by the sender, gives
// the layout a break at least every kLongRun characters and never holds half a character.
#include "shown_text.h"

#include <QTest>
#include <QTextDocument>

namespace {

bool HasDirectionControl(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        return c.direction() == QChar::DirLRE || c.direction() == QChar::DirRLE ||
               c.direction() == QChar::DirLRO || c.direction() == QChar::DirRLO ||
               c.direction() == QChar::DirPDF || c.direction() == QChar::DirLRI ||
               c.direction() == QChar::DirRLI || c.direction() == QChar::DirFSI ||
               c.direction() == QChar::DirPDI || c.unicode() == 0x200E || c.unicode() == 0x200F;
    });
}

bool HasHalfCharacter(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pairStarts = text[i].isHighSurrogate();
        const bool paired = pairStarts && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        if ((pairStarts && !paired) || (text[i].isLowSurrogate() &&
                                        (i == 0 || !text[i - 1].isHighSurrogate())))
            return true;
        i += paired ? 1 : 0;
    }
    return false;
}

int LongestRun(const QString& text)
{
    int longest = 0;
    int run = 0;
    for (const QChar c : text) {
        run = c.isSpace() || c.unicode() == 0x200B ? 0 : run + (c.isLowSurrogate() ? 0 : 1);
        longest = std::max(longest, run);
    }
    return longest;
}

} // namespace

class ShownTextTest final : public QObject
{
    Q_OBJECT

private slots:
    void strangersText_data()
    {
        QTest::addColumn<QString>("text");
        const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80"); // two UTF-16 units
        QTest::newRow("override") << QString::fromUtf8("invoice_\u202Efdp.exe \u2066x\u2069");
        QTest::newRow("controls") << QStringLiteral("a\x01\x07\x1b[2Jb\tc\r\nd");
        QTest::newRow("megabyte without a space") << QString(1'000'000, u'x');
        QTest::newRow("thousands of lines") << QStringLiteral("line\n").repeated(5000);
        QTest::newRow("pairs across every cut") << emoji.repeated(3000);
        QTest::newRow("pairs after one unit") << QStringLiteral("x") + emoji.repeated(3000);
        QTest::newRow("markup") << QStringLiteral("<img src=x onerror=y><b>bold</b> &amp;");
    }

    void strangersText()
    {
        QFETCH(QString, text);
        const QString line = ShownLine(text);
        QVERIFY(line.size() <= 200);
        QVERIFY(!line.contains(u'\n') && !HasDirectionControl(line) && !HasHalfCharacter(line));

        const QString message = ShownMessage(text);
        QVERIFY(message.size() <= 4000 + 4000 / kLongRun + 80);
        QVERIFY(message.count(u'\n') <= 200);
        QVERIFY(!HasDirectionControl(message) && !HasHalfCharacter(message));
        QVERIFY(LongestRun(message) <= kLongRun);
        QVERIFY(!message.contains(u'\x1b') && !message.contains(u'\x07'));
        // What is cut is said to be cut; what is whole is shown whole.
        QCOMPARE(message.contains(QStringLiteral("more character")), text.size() > 4000);

        // A tool-tip shows the text itself, never drawn as markup.
        QTextDocument tip;
        tip.setHtml(PlainToolTip(text.left(100)));
        QCOMPARE(tip.toPlainText(), ShownLine(text.left(100), 500));
    }
};

QTEST_MAIN(ShownTextTest)
#include "shown_text_test.moc"
