// Reading the port and the timeout the way the options dialog takes them: C's atoi rules for
// the leading number, then the ranges the console can use.
#include "option_values.h"

#include <QTest>
#include <limits>

using Number = qint64;

namespace {

constexpr Number kSaturated = std::numeric_limits<std::int64_t>::max();
constexpr int kRefused = 0; // no valid port or timeout is 0

} // namespace

class OptionValuesTest final : public QObject
{
    Q_OBJECT

private slots:
    void leadingDecimal_data();
    void leadingDecimal();
    void serverPort_data();
    void serverPort();
    void notifyTimeout_data();
    void notifyTimeout();
};

void OptionValuesTest::leadingDecimal_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Number>("value");
    QTest::newRow("digits") << "3030" << Number{3030};
    QTest::newRow("letter after") << "8080x" << Number{8080};
    QTest::newRow("blank before") << " 42" << Number{42};
    QTest::newRow("C white space before") << "\t\n\v\f\r 7" << Number{7};
    QTest::newRow("blank after") << "15 " << Number{15};
    QTest::newRow("stops at a blank") << "1 2" << Number{1};
    QTest::newRow("plus") << "+5" << Number{5};
    QTest::newRow("minus") << "-5" << Number{-5};
    QTest::newRow("leading zeros") << "007" << Number{7};
    QTest::newRow("zero") << "0" << Number{0};
    QTest::newRow("empty") << "" << Number{0};
    QTest::newRow("blanks only") << "   " << Number{0};
    QTest::newRow("letters") << "abc" << Number{0};
    QTest::newRow("letter before") << "x12" << Number{0};
    QTest::newRow("two signs") << "--5" << Number{0};
    QTest::newRow("sign then blank") << "- 5" << Number{0};
    QTest::newRow("sign alone") << "+" << Number{0};
    QTest::newRow("no-break space is not skipped") << "\u00a042" << Number{0};
    QTest::newRow("other digits are not digits") << "\u0664\u0662" << Number{0};
    QTest::newRow("largest") << "9223372036854775807" << kSaturated;
    QTest::newRow("one past largest saturates") << "9223372036854775808" << kSaturated;
    QTest::newRow("very long saturates") << QString(40, u'9') << kSaturated;
    QTest::newRow("very long negative") << "-" + QString(40, u'9') << -kSaturated;
}

void OptionValuesTest::leadingDecimal()
{
    QFETCH(QString, text);
    QFETCH(Number, value);
    QCOMPARE(LeadingDecimal(text), value);
}

void OptionValuesTest::serverPort_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("port");
    QTest::newRow("default") << "3030" << 3030;
    QTest::newRow("letter after") << "8080x" << 8080;
    QTest::newRow("blank before") << " 42" << 42;
    QTest::newRow("lowest") << "1" << 1;
    QTest::newRow("highest") << "65535" << 65535;
    QTest::newRow("one too high") << "65536" << kRefused;
    QTest::newRow("70000, another port in 16 bits") << "70000" << kRefused;
    QTest::newRow("2^32 + 1, 1 in 32 bits") << "4294967297" << kRefused;
    QTest::newRow("very long") << QString(30, u'9') << kRefused;
    QTest::newRow("zero") << "0" << kRefused;
    QTest::newRow("negative") << "-5" << kRefused;
    QTest::newRow("empty") << "" << kRefused;
    QTest::newRow("letters") << "abc" << kRefused;
}

void OptionValuesTest::serverPort()
{
    QFETCH(QString, text);
    QFETCH(int, port);
    QCOMPARE(ServerPortFromText(text).value_or(kRefused), port);
}

void OptionValuesTest::notifyTimeout_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("seconds");
    QTest::newRow("default") << "60" << 60;
    QTest::newRow("letter after") << "30s" << 30;
    QTest::newRow("blank before") << " 42" << 42;
    QTest::newRow("lowest") << "1" << 1;
    QTest::newRow("longest whose milliseconds fit") << "2147483" << 2147483;
    QTest::newRow("milliseconds one second too many") << "2147484" << kRefused;
    QTest::newRow("milliseconds wrap to a short time") << "4294968" << kRefused;
    QTest::newRow("largest int") << "2147483647" << kRefused;
    QTest::newRow("zero") << "0" << kRefused;
    QTest::newRow("negative") << "-1" << kRefused;
    QTest::newRow("empty") << "" << kRefused;
    QTest::newRow("letters") << "never" << kRefused;
}

void OptionValuesTest::notifyTimeout()
{
    QFETCH(QString, text);
    QFETCH(int, seconds);
    QCOMPARE(NotifyTimeoutFromText(text).value_or(kRefused), seconds);
}

QTEST_GUILESS_MAIN(OptionValuesTest)
#include "option_values_test.moc"
