// The parlendo command line: the developer options of the measurements, their bounds, and what
// is refused.

#include "console_options.h"

#include <QTest>

class ConsoleOptionsTest : public QObject
{
    Q_OBJECT

private slots:
    void parses_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode"); // -1: the program runs
        QTest::addColumn<bool>("quiet");
        QTest::addColumn<int>("visitors");
        QTest::addColumn<int>("stay");
        QTest::newRow("plain") << QStringList{} << -1 << false << 12 << 0;
        QTest::newRow("idle figures")
            << QStringList{"--demo", "--demo-quiet",       "--demo-visitors",
                           "10000",  "--exit-after-login", "--stay",
                           "14"}
            << -1 << true << 10000 << 14;
        QTest::newRow("a day at most")
            << QStringList{"--stay", "86400"} << -1 << false << 12 << 86400;
        QTest::newRow("negative stay") << QStringList{"--stay", "-1"} << 1 << false << 12 << 0;
        QTest::newRow("stay over a day") << QStringList{"--stay", "86401"} << 1 << false << 12 << 0;
        QTest::newRow("stay not a number") << QStringList{"--stay", "10s"} << 1 << false << 12 << 0;
        QTest::newRow("too many visitors")
            << QStringList{"--demo-visitors", "100001"} << 1 << false << 12 << 0;
        QTest::newRow("unknown option") << QStringList{"--frobnicate"} << 1 << false << 12 << 0;
    }
    void parses()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(bool, quiet);
        QFETCH(int, visitors);
        QFETCH(int, stay);
        ConsoleOptions options;
        const auto code = ConsoleOptions::Parse(QStringList{"parlendo"} + arguments, options);
        QCOMPARE(code.value_or(-1), exitCode);
        if (code)
            return;
        QCOMPARE(options.demoQuiet, quiet);
        QCOMPARE(options.demoVisitors, visitors);
        QCOMPARE(options.staySeconds, stay);
    }
};

QTEST_MAIN(ConsoleOptionsTest)
#include "console_options_test.moc"
