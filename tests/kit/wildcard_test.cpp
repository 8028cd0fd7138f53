// Domain-name patterns: where a pattern with "*" and "?" matches, what is left of an address,
// how the list (last match on the address as received) and the popup (each pattern on what the
// one before left) combine five patterns, and a pattern full of stars on a long address.
#include "wildcard.h"

#include <QTest>
#include <array>
#include <string>

namespace {

std::array<std::string, 5> Patterns(const QStringList& given)
{
    std::array<std::string, 5> patterns;
    for (qsizetype i = 0; i < given.size(); ++i)
        patterns[static_cast<std::size_t>(i)] = given[i].toStdString();
    return patterns;
}

} // namespace

class WildcardTest final : public QObject
{
    Q_OBJECT

private slots:
    void find_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("position"); // -1: no match
        QTest::addColumn<int>("length");
        // clang-format off
        QTest::newRow("empty text, empty pattern") << "" << "" << 0 << 0;
        QTest::newRow("empty text, any pattern") << "" << "a" << -1 << 0;
        QTest::newRow("empty pattern matches at 0") << "abc" << "" << 0 << 0;
        QTest::newRow("first occurrence") << "xabcabc" << "abc" << 1 << 3;
        QTest::newRow("? is one byte") << "zaxc/1" << "a?c" << 1 << 3;
        QTest::newRow("? needs a byte") << "zac/1" << "a?c" << -1 << 0;
        QTest::newRow("letter case counts") << "abc" << "ABC" << -1 << 0;
        QTest::newRow("leading star, shortest run") << "xyabc/abc" << "*abc" << 0 << 5;
        QTest::newRow("star may match nothing") << "abc" << "a*bc" << 0 << 3;
        QTest::newRow("trailing star takes one byte") << "abcd" << "b*" << 1 << 2;
        QTest::newRow("trailing star needs a byte") << "ab" << "b*" << -1 << 0;
        QTest::newRow("two stars") << "h://a.b.cc/x" << "*.b.*/" << 0 << 11;
        QTest::newRow("pattern longer than text") << "ab" << "abc" << -1 << 0;
        // clang-format on
    }
    void find()
    {
        QFETCH(QString, text);
        QFETCH(QString, pattern);
        QFETCH(int, position);
        QFETCH(int, length);
        const std::string p = pattern.toStdString();
        const auto match = WildcardFind(text.toStdString(), p);
        QCOMPARE(match.has_value(), position >= 0);
        if (match) {
            QCOMPARE(static_cast<int>(match->position), position);
            QCOMPARE(static_cast<int>(match->Length(p)), length);
        }
    }

    void strip_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("rest");
        // clang-format off
        QTest::newRow("fixed pattern") << "xabc/g" << "abc" << true << "/g";
        QTest::newRow("nothing left gives nothing") << "xyabc" << "*abc" << false << "";
        QTest::newRow("a?c leaves zac/1 alone") << "zac/1" << "a?c" << false << "";
        QTest::newRow("two stars strip the matched piece")
            << "h://a.b.cc/x" << "*.b.*/" << true << "x";
        QTest::newRow("first occurrence only") << "a/b/a/c" << "a/" << true << "b/a/c";
        QTest::newRow("empty address") << "" << "abc" << false << "";
        QTest::newRow("a real address")
            << "http://www.example.com/products/index.html" << "*example.com" << true
            << "/products/index.html";
        // clang-format on
    }
    void strip()
    {
        QFETCH(QString, address);
        QFETCH(QString, pattern);
        QFETCH(bool, found);
        QFETCH(QString, rest);
        const auto result = StripDomain(address.toStdString(), pattern.toStdString());
        QCOMPARE(result.has_value(), found);
        if (result)
            QCOMPARE(QString::fromStdString(*result), rest);
    }

    void fivePatterns_data()
    {
        QTest::addColumn<QStringList>("patterns");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("listed"); // the last match on the address as received
        QTest::addColumn<QString>("popup");  // each pattern on what the one before left
        // clang-format off
        QTest::newRow("both match, the second on the whole address")
            << QStringList{"abc", "bcd/e"} << "xabcd/e/f" << "/f" << "d/e/f";
        QTest::newRow("the second matches only the rest")
            << QStringList{"a/", "b/"} << "b/a/b/c" << "a/b/c" << "c";
        QTest::newRow("empty patterns are skipped")
            << QStringList{"", "abc", "", "", ""} << "xabc/g" << "/g" << "/g";
        QTest::newRow("no pattern matches")
            << QStringList{"zzz"} << "http://q/r" << "http://q/r" << "http://q/r";
        QTest::newRow("whole address when nothing would be left")
            << QStringList{"*abc"} << "xyabc" << "xyabc" << "xyabc";
        // clang-format on
    }
    void fivePatterns()
    {
        QFETCH(QStringList, patterns);
        QFETCH(QString, address);
        QFETCH(QString, listed);
        QFETCH(QString, popup);
        const std::string text = address.toStdString();
        QCOMPARE(QString::fromStdString(StripDomainLastMatch(text, Patterns(patterns))), listed);
        QCOMPARE(QString::fromStdString(StripDomainChained(text, Patterns(patterns))), popup);
    }

    // Patterns come from the operator's settings and may hold many stars: a search that tried
    // every start again after a failed star would not end in any time worth waiting for.
    void manyStarsOnALongAddress()
    {
        const std::string address(4000, 'a');
        QVERIFY(!WildcardFind(address, "*a*a*a*a*a*a*a*a*a*a*b"));
        QCOMPARE(StripDomain(address + "b/x", "*a*a*a*a*a*a*a*a*a*a*b"), std::string("/x"));
    }
};

QTEST_APPLESS_MAIN(WildcardTest)
#include "wildcard_test.moc"
