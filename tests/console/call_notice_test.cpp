// The notice of an offered call: the sentences, missing texts, names that would break the
// sentence, and names too long for the notice, shortened at whole characters.

#include "call_notice.h"
#include "incoming_call.h"

#include <QTest>
#include <QTextBoundaryFinder>
#include <optional>

namespace {

using Text = std::optional<QString>;

const QString kCallFrom = QStringLiteral("You have received a Parlendo call from ");
const QString kTransferFrom = QStringLiteral("You have received a Parlendo call transfer from ");
const QChar kEllipsis(0x2026);

CIncomingCall Call(int kind, Text text1, Text text2 = std::nullopt)
{
    CIncomingCall call;
    call.callId = 7;
    call.kind = kind;
    call.text1 = std::move(text1);
    call.text2 = std::move(text2);
    call.text3 = QStringLiteral("not shown");
    return call;
}

int Bytes(const QString& text)
{
    return static_cast<int>(text.toUtf8().size());
}

// The name ends where a character ends, right before the ellipsis.
void VerifyCutAtCharacter(const QString& original, const QString& shortened)
{
    QVERIFY(shortened.endsWith(kEllipsis));
    const QString kept = shortened.chopped(1);
    QVERIFY(original.startsWith(kept));
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, original);
    characters.setPosition(kept.size());
    QVERIFY(characters.isAtBoundary());
}

} // namespace

class CallNoticeTest : public QObject
{
    Q_OBJECT

private slots:
    void format_data()
    {
        QTest::addColumn<CIncomingCall>("call");
        QTest::addColumn<Text>("notice");
        const QString call = kCallFrom + QStringLiteral("%1.");
        const QString transfer = kTransferFrom + QStringLiteral("%1.");
        QTest::newRow("request") << Call(1, QStringLiteral("Guest 12"))
                                 << Text(call.arg(QStringLiteral("Guest 12")));
        QTest::newRow("request without name") << Call(1, std::nullopt) << Text(call.arg(""));
        QTest::newRow("transfer") << Call(2, QStringLiteral("Bob"), QStringLiteral("Stone"))
                                  << Text(transfer.arg(QStringLiteral("Bob Stone")));
        QTest::newRow("transfer, second text missing: its blank stays")
            << Call(2, QStringLiteral("Bob")) << Text(transfer.arg(QStringLiteral("Bob ")));
        QTest::newRow("transfer, nothing") << Call(2, std::nullopt) << Text(transfer.arg(" "));
        QTest::newRow("other kind") << Call(3, QStringLiteral("Bob")) << Text();
        QTest::newRow("kind 0") << Call(0, QStringLiteral("Bob")) << Text();
        QTest::newRow("non-ASCII") << Call(2, QStringLiteral("Zoë"), QStringLiteral("Ångström 李"))
                                   << Text(transfer.arg(QStringLiteral("Zoë Ångström 李")));
        QTest::newRow("markup stays text") << Call(1, QStringLiteral("<b>Eve</b> &amp;"))
                                           << Text(call.arg(QStringLiteral("<b>Eve</b> &amp;")));
        QTest::newRow("placeholders in names are not filled")
            << Call(2, QStringLiteral("%2%1"), QStringLiteral("%1"))
            << Text(transfer.arg(QStringLiteral("%2%1 %1")));
        QTest::newRow("line breaks and tabs become blanks")
            << Call(1, QStringLiteral("Ann\r\nLee\t!")) << Text(call.arg(QStringLiteral("Ann  Lee !")));
        QTest::newRow("direction overrides left out")
            << Call(1, QStringLiteral("\u202Eevil\u202C\u2066x\u2069"))
            << Text(call.arg(QStringLiteral("evilx")));
    }
    void format()
    {
        QFETCH(CIncomingCall, call);
        QFETCH(Text, notice);
        QCOMPARE(CallNotice::Format(call), notice);
    }

    // Names that do not fit: the notice keeps its sentence, is at most 99 bytes of UTF-8, and
    // every shortened name is cut after a whole character.
    void longNamesAreShortened_data()
    {
        QTest::addColumn<CIncomingCall>("call");
        QTest::addColumn<bool>("firstWhole");
        QTest::addColumn<bool>("secondWhole");
        const QString ascii(200, QLatin1Char('A'));
        QTest::newRow("request, ASCII") << Call(1, ascii) << false << true;
        QTest::newRow("request, two-byte letters") << Call(1, QString(80, QChar(0xE9))) << false
                                                   << true;
        QTest::newRow("request, astral characters")
            << Call(1, QStringLiteral("\U0001F600").repeated(30)) << false << true;
        QTest::newRow("request, combining marks")
            << Call(1, QStringLiteral("e\u0301\u0327").repeated(30)) << false << true;
        QTest::newRow("request, joined emoji")
            << Call(1, QStringLiteral("\U0001F468\u200D\U0001F469\u200D\U0001F467").repeated(8))
            << false << true;
        QTest::newRow("request, blanks before the cut")
            << Call(1, QString(55, QLatin1Char('x')) + QStringLiteral("     yyyyyyyy")) << false
            << true;
        QTest::newRow("transfer, long first") << Call(2, ascii, QStringLiteral("Lee")) << false
                                              << true;
        QTest::newRow("transfer, long second") << Call(2, QStringLiteral("Ann"), ascii) << true
                                               << false;
        QTest::newRow("transfer, both long") << Call(2, ascii, QString(90, QChar(0x4E2D))) << false
                                             << false;
    }
    void longNamesAreShortened()
    {
        QFETCH(CIncomingCall, call);
        QFETCH(bool, firstWhole);
        QFETCH(bool, secondWhole);
        const QString notice = CallNotice::Format(call).value();
        QVERIFY2(Bytes(notice) <= CallNotice::kMaxBytes, qPrintable(notice));
        // Not shortened further than it had to be (the widest character here is 18 bytes).
        QVERIFY2(Bytes(notice) > CallNotice::kMaxBytes - 20, qPrintable(notice));
        QVERIFY(QStringView(notice).isValidUtf16());
        QVERIFY(notice.endsWith(QLatin1Char('.')));

        const bool transfer = call.kind == 2;
        QString names = notice.mid((transfer ? kTransferFrom : kCallFrom).size());
        QVERIFY(notice.startsWith(transfer ? kTransferFrom : kCallFrom));
        names.chop(1);
        QString first = names;
        QString second;
        if (transfer) {
            const qsizetype end = firstWhole ? call.text1->size() : names.indexOf(kEllipsis) + 1;
            QCOMPARE(names.at(end), QLatin1Char(' '));
            first = names.left(end);
            second = names.mid(end + 1);
        }
        if (firstWhole)
            QCOMPARE(first, *call.text1);
        else
            VerifyCutAtCharacter(*call.text1, first);
        QVERIFY(!first.chopped(1).endsWith(QLatin1Char(' ')));
        if (transfer && secondWhole)
            QCOMPARE(second, *call.text2);
        else if (transfer)
            VerifyCutAtCharacter(*call.text2, second);
    }
};

QTEST_GUILESS_MAIN(CallNoticeTest)
#include "call_notice_test.moc"
