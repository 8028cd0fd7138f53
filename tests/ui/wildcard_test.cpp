#include "wildcard.h"

#include <QElapsedTimer>
#include <QTest>
#include <array>
#include <string>

namespace {

std::array<std::string, 5> Patterns(const QStringList& given)
{
    std::array<std::string, 5> patterns;
    for (int i = 0; i < given.size() && i < 5; ++i)
        patterns[static_cast<std::size_t>(i)] = given.at(i).toStdString();
    return patterns;
}

} // namespace

class TestWildcard : public QObject
{
    Q_OBJECT

private slots:
    void find_data();
    void find();
    void strip_data();
    void strip();
    void listUsesLastMatchOnReceivedAddress_data();
    void listUsesLastMatchOnReceivedAddress();
    void popupChainsPatterns_data();
    void popupChainsPatterns();
    void manyStarsStayFast();
};

void TestWildcard::find_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<int>("position"); // -1: no match
    QTest::addColumn<int>("length");

    QTest::newRow("empty text, empty pattern") << ""
                                               << "" << 0 << 0;
    QTest::newRow("empty text, any pattern") << ""
                                             << "a" << -1 << 0;
    QTest::newRow("empty pattern matches at 0") << "abc"
                                                << "" << 0 << 0;
    QTest::newRow("fixed text, first occurrence") << "xabcabc"
                                                  << "abc" << 1 << 3;
    QTest::newRow("question mark is one byte") << "zaxc/1"
                                               << "a?c" << 1 << 3;
    QTest::newRow("question mark needs a byte") << "zac/1"
                                                << "a?c" << -1 << 0;
    QTest::newRow("case significant") << "abc"
                                      << "ABC" << -1 << 0;
    QTest::newRow("leading star, shortest run") << "xyabc/abc"
                                                << "*abc" << 0 << 5;
    QTest::newRow("star may match nothing") << "abc"
                                            << "a*bc" << 0 << 3;
    QTest::newRow("trailing star takes one byte") << "abcd"
                                                  << "b*" << 1 << 2;
    QTest::newRow("trailing star needs a byte") << "ab"
                                                << "b*" << -1 << 0;
    QTest::newRow("two stars") << "h://a.b.cc/x"
                               << "*.b.*/" << 0 << 11;
    QTest::newRow("pattern longer than text") << "ab"
                                              << "abc" << -1 << 0;
    QTest::newRow("no match anywhere") << "hello"
                                       << "xyz" << -1 << 0;
}

void TestWildcard::find()
{
    QFETCH(QString, text);
    QFETCH(QString, pattern);
    QFETCH(int, position);
    QFETCH(int, length);

    const std::string t = text.toStdString();
    const std::string p = pattern.toStdString();
    const auto match = WildcardFind(t, p);
    if (position < 0) {
        QVERIFY(!match);
        return;
    }
    QVERIFY(match);
    QCOMPARE(static_cast<int>(match->position), position);
    QCOMPARE(static_cast<int>(match->Length(p)), length);
}

void TestWildcard::strip_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("rest");

    QTest::newRow("fixed pattern") << "xabc/g"
                                   << "abc" << true << "/g";
    QTest::newRow("star then text") << "xyabc/"
                                    << "*abc" << true << "/";
    QTest::newRow("rest empty gives nothing") << "xyabc"
                                              << "*abc" << false << "";
    QTest::newRow("a?c on zabc/1") << "zabc/1"
                                   << "a?c" << true << "/1";
    QTest::newRow("a?c on zaxc/1") << "zaxc/1"
                                   << "a?c" << true << "/1";
    QTest::newRow("a?c leaves zac/1") << "zac/1"
                                      << "a?c" << false << "";
    QTest::newRow("case-sensitive") << "xabc/1"
                                    << "ABC" << false << "";
    QTest::newRow("two stars strip the matched piece") << "h://a.b.cc/x"
                                                       << "*.b.*/" << true << "x";
    QTest::newRow("first occurrence only") << "a/b/a/c"
                                           << "a/" << true << "b/a/c";
    QTest::newRow("empty address") << ""
                                   << "abc" << false << "";
    QTest::newRow("domain of a real address") << "http://www.example.com/products/index.html"
                                              << "*example.com" << true << "/products/index.html";
}

void TestWildcard::strip()
{
    QFETCH(QString, address);
    QFETCH(QString, pattern);
    QFETCH(bool, found);
    QFETCH(QString, rest);

    const auto result = StripDomain(address.toStdString(), pattern.toStdString());
    QCOMPARE(result.has_value(), found);
    if (found)
        QCOMPARE(QString::fromStdString(*result), rest);
}

void TestWildcard::listUsesLastMatchOnReceivedAddress_data()
{
    QTest::addColumn<QStringList>("patterns");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("shown");

    const QStringList both = {"abc", "bcd/e"};
    QTest::newRow("second pattern matches too and wins") << both << "xabcd/e/f"
                                                         << "/f";
    QTest::newRow("only the first matches") << both << "xabc/g"
                                            << "/g";
    QTest::newRow("no pattern matches") << both << "http://q/r"
                                        << "http://q/r";
    QTest::newRow("empty patterns are skipped") << QStringList{"", "abc", "", "", ""} << "xabc/g"
                                                << "/g";
    QTest::newRow("each on the address as received") << QStringList{"a/", "b/"} << "b/a/b/c"
                                                     << "a/b/c";
    QTest::newRow("whole address when the rest is empty") << QStringList{"*abc"} << "xyabc"
                                                          << "xyabc";
}

void TestWildcard::listUsesLastMatchOnReceivedAddress()
{
    QFETCH(QStringList, patterns);
    QFETCH(QString, address);
    QFETCH(QString, shown);

    QCOMPARE(
        QString::fromStdString(StripDomainLastMatch(address.toStdString(), Patterns(patterns))),
        shown);
}

void TestWildcard::popupChainsPatterns_data()
{
    QTest::addColumn<QStringList>("patterns");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("shown");

    QTest::newRow("second applied to what the first left") << QStringList{"a/", "b/"} << "b/a/b/c"
                                                           << "c";
    QTest::newRow("second finds nothing in the rest") << QStringList{"abc", "bcd/e"} << "xabcd/e/f"
                                                      << "d/e/f";
    QTest::newRow("BaseUrl1 empty, only BaseUrl2")
        << QStringList{"", "example.com"} << "http://example.com/p"
        << "/p";
    QTest::newRow("no pattern matches") << QStringList{"zzz"} << "http://q/r"
                                        << "http://q/r";
}

void TestWildcard::popupChainsPatterns()
{
    QFETCH(QStringList, patterns);
    QFETCH(QString, address);
    QFETCH(QString, shown);

    QCOMPARE(QString::fromStdString(StripDomainChained(address.toStdString(), Patterns(patterns))),
             shown);
}

void TestWildcard::manyStarsStayFast()
{
    // Patterns come from the operator's settings (up to 799 bytes). A search that retried every
    // start position after a failed star would take time exponential in the number of stars.
    const std::string address(4000, 'a');
    const std::string pattern = "*a*a*a*a*a*a*a*a*b";
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!WildcardFind(address, pattern));
    QVERIFY(!StripDomain(address + "b", "*a*a*a*a*a*a*a*a*b"));
    QVERIFY2(timer.elapsed() < 2000, "the search should take microseconds");
}

QTEST_APPLESS_MAIN(TestWildcard)
#include "wildcard_test.moc"
