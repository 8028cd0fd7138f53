// The console's network commands on their worker threads: what they report, the keep-alive's
// four tries, and a shutdown that does not wait for a blocked command.

#include "console_commands.h"
#include "fake_chat_server.h"
#include "message_codes.h"
#include "qt_operator_session.h"
#include "result_codes.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <memory>

using namespace testing_support;
using namespace std::chrono_literals;

namespace {

ConsoleTimings Quick()
{
    ConsoleTimings t;
    t.keepAliveRetryWait = 50ms;
    t.workerJoinBound = 5s;
    return t;
}

CConsoleCommands::Credentials To(const FakeChatServer& server, const char* password)
{
    return {QString::fromStdString(server.Host()), server.Port(),
            QString::fromLatin1(FakeChatServer::kUser), QString::fromLatin1(password)};
}

} // namespace

class ConsoleCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void connectReportsItsResult_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("reconnect");
        QTest::addColumn<int>("result");
        QTest::newRow("logged in")
            << QString::fromLatin1(FakeChatServer::kPassword) << false << rc::kOk;
        QTest::newRow("refused, reconnecting")
            << QStringLiteral("wrong") << true << rc::kBadCredentials;
    }
    void connectReportsItsResult()
    {
        QFETCH(QString, password);
        QFETCH(bool, reconnect);
        QFETCH(int, result);
        FakeChatServer server;
        COperatorSession session(300ms, 300ms);
        CConsoleCommands commands(session, Quick());
        QSignalSpy finished(&commands, &CConsoleCommands::ConnectFinished);
        QVERIFY(commands.StartConnect(To(server, password.toLatin1().constData()), reconnect));
        QVERIFY(commands.IsConnecting());
        QCOMPARE(commands.IsReconnecting(), reconnect);
        // One log-in at a time.
        QVERIFY(!commands.StartConnect(To(server, FakeChatServer::kPassword), false));
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished.first().value(0).toInt(), result);
        QCOMPARE(finished.first().value(1).toBool(), reconnect);
        QVERIFY(!commands.IsConnecting());
        QVERIFY(!commands.IsReconnecting());
    }

    // Not connected, every keep-alive fails: four tries with three waits between them, all on
    // the worker, then one report.
    void keepAliveTriesFourTimes()
    {
        COperatorSession session(300ms, 300ms);
        ConsoleTimings timings = Quick();
        timings.keepAliveRetryWait = 100ms;
        CConsoleCommands commands(session, timings);
        QSignalSpy finished(&commands, &CConsoleCommands::KeepAliveFinished);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(commands.StartKeepAlive());
        QVERIFY(clock.elapsed() < 100); // the window thread does not wait
        QVERIFY(!commands.StartKeepAlive());
        QVERIFY(finished.wait(5000));
        QVERIFY(clock.elapsed() >= 300);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.first().value(0).toBool(), false);
        QVERIFY(!commands.IsKeepingAlive());
    }

    void keepAliveSucceedsAtOnceWhileConnected()
    {
        FakeChatServer server;
        COperatorSession session(300ms, 300ms);
        CConsoleCommands commands(session, Quick());
        QCOMPARE(session.Login(server.Host(), server.Port(), FakeChatServer::kUser,
                               FakeChatServer::kPassword),
                 rc::kOk);
        QSignalSpy finished(&commands, &CConsoleCommands::KeepAliveFinished);
        QVERIFY(commands.StartKeepAlive());
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished.first().value(0).toBool(), true);
        auto connection = server.WaitConnection(0);
        QVERIFY(connection->WaitReceived(2)); // the log-in and one keep-alive
        QCOMPARE(connection->Received().back().Code(), msg::kKeepAlive);
    }

    void statusFailureIsReported()
    {
        COperatorSession session(300ms, 300ms);
        CConsoleCommands commands(session, Quick());
        QSignalSpy failed(&commands, &CConsoleCommands::StatusFailed);
        QVERIFY(commands.StartStatus(2));
        QVERIFY(failed.wait(5000));
        QCOMPARE(failed.first().value(0).toInt(), rc::kNotConnected);
    }

    // A log-in waiting for a reply that never comes (the product's 20-second waits) ends as
    // soon as shutdown closes the connection.
    void shutdownDoesNotWaitForABlockedLogin()
    {
        FakeChatServer server;
        server.On(msg::kLogin, [](FakeConnection&, const CSocketMessage&) {});
        COperatorSession session; // the console's own waits
        CConsoleCommands commands(session, Quick());
        QSignalSpy finished(&commands, &CConsoleCommands::ConnectFinished);
        QVERIFY(commands.StartConnect(To(server, FakeChatServer::kPassword), false));
        auto connection = server.WaitConnection(0);
        QVERIFY(connection && connection->WaitReceived(1));
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(commands.Shutdown(), 0);
        QVERIFY(clock.elapsed() < 5000);
        QCoreApplication::processEvents();
        QCOMPARE(finished.count(), 0); // nothing reported into a console that is going away
        QVERIFY(!commands.StartConnect(To(server, FakeChatServer::kPassword), false));
    }

    void shutdownCutsTheRetryWaitShort()
    {
        COperatorSession session(300ms, 300ms);
        ConsoleTimings timings = Quick();
        timings.keepAliveRetryWait = 60s;
        CConsoleCommands commands(session, timings);
        QVERIFY(commands.StartKeepAlive());
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(commands.Shutdown(), 0);
        QVERIFY(clock.elapsed() < 5000);
    }
};

QTEST_MAIN(ConsoleCommandsTest)
#include "console_commands_test.moc"
