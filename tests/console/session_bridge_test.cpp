// The session bridge: callbacks raised on network threads reach the window thread as signals
// with value copies, in the order the session raised them.

#include "fake_chat_server.h"
#include "message_codes.h"
#include "qt_operator_session.h"
#include "result_codes.h"
#include "session_bridge.h"

#include <QDeadlineTimer>
#include <QTest>
#include <QThread>
#include <memory>

using namespace testing_support;
using namespace std::chrono_literals;

namespace {

// Every signal of the bridge as one line, with the thread it was emitted on checked.
class CEventLog final : public QObject
{
public:
    explicit CEventLog(CSessionBridge& bridge)
    {
        const auto add = [this](QString line) {
            if (QThread::currentThread() != thread())
                offThread = true;
            lines.append(std::move(line));
        };
        connect(&bridge, &CSessionBridge::LoggedIn, this, [add] { add(QStringLiteral("in")); });
        connect(&bridge, &CSessionBridge::LoggedOut, this,
                [add](int r) { add(QStringLiteral("out %1").arg(r)); });
        connect(&bridge, &CSessionBridge::StatusChanged, this,
                [add](int s) { add(QStringLiteral("status %1").arg(s)); });
        connect(&bridge, &CSessionBridge::OperatorsRefreshed, this,
                [add](const std::vector<CUserEntry>& list) {
                    QStringList names;
                    for (const CUserEntry& e : list)
                        names << QString::fromStdString(e.text2);
                    add(QStringLiteral("operators ") + names.join(QLatin1Char(',')));
                });
        connect(&bridge, &CSessionBridge::VisitorsRefreshed, this,
                [add](const std::vector<CVisitorEntry>& list) {
                    QStringList ids;
                    for (const CVisitorEntry& e : list)
                        ids << QString::number(e.id);
                    add(QStringLiteral("visitors ") + ids.join(QLatin1Char(',')));
                });
        connect(&bridge, &CSessionBridge::VisitorAdded, this, [add](const CVisitorEntry& e) {
            add(QStringLiteral("visitor+ %1 %2").arg(e.id).arg(QString::fromStdString(e.text1)));
        });
        connect(&bridge, &CSessionBridge::VisitorRemoved, this, [add](const CVisitorEntry& e) {
            add(QStringLiteral("visitor- %1 %2").arg(e.id).arg(QString::fromStdString(e.text1)));
        });
        connect(&bridge, &CSessionBridge::OperatorAdded, this,
                [add](const CUserEntry& e) { add(QStringLiteral("operator+ %1").arg(e.id)); });
        connect(&bridge, &CSessionBridge::OperatorRemoved, this,
                [add](const CUserEntry& e) { add(QStringLiteral("operator- %1").arg(e.id)); });
        connect(&bridge, &CSessionBridge::IncomingCall, this, [add](const CIncomingCall& c) {
            const auto text = [](const std::optional<QString>& t) {
                return t ? QStringLiteral("[%1]").arg(*t) : QStringLiteral("-");
            };
            add(QStringLiteral("call %1 %2 %3 %4 %5")
                    .arg(c.callId)
                    .arg(c.kind)
                    .arg(text(c.text1), text(c.text2), text(c.text3)));
        });
        connect(&bridge, &CSessionBridge::OtherMessage, this,
                [add](int a, int b) { add(QStringLiteral("other %1 %2").arg(a).arg(b)); });
    }

    QStringList lines;
    bool offThread = false;
};

} // namespace

class SessionBridgeTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_server = std::make_unique<FakeChatServer>();
        m_session = std::make_unique<COperatorSession>(200ms, 200ms);
        m_bridge = std::make_unique<CSessionBridge>(*m_session);
        m_log = std::make_unique<CEventLog>(*m_bridge);
    }
    void cleanup()
    {
        m_log.reset();
        m_bridge.reset();
        m_session.reset();
        m_server.reset();
    }

    // Events raised on the receive thread arrive on this thread, in order, carrying copies of
    // entries the session has destroyed since.
    void eventsArriveInOrderAsValues()
    {
        QCOMPARE(m_session->Login(m_server->Host(), m_server->Port(), FakeChatServer::kUser,
                                  FakeChatServer::kPassword),
                 rc::kOk);
        auto connection = m_server->WaitConnection(0);
        QVERIFY(connection);
        connection->Send(
            Payload(msg::kReplyOk, {"1006", "1", "5", "0", "2", "1", "host5", "Ann", "Lee"}));
        connection->Send(
            Payload(msg::kReplyOk, {"1007", "2", "17", "3", "http://a/p", "Guest", "x",
                                    "2005-3-7 9:5:0", "10.0.0.1", "4", "18", "1", "http://a/q",
                                    "Other", "", "2005-3-7 9:6:0", "10.0.0.2", "4"}));
        connection->Send(Payload(
            msg::kEvent, {"4001", "19", "1", "http://b/", "New", "", "9:7:0", "10.0.0.3", "5"}));
        connection->Send(Payload(msg::kEvent, {"4002", "17"}));
        connection->Send(Payload(msg::kEvent, {"1001", "6", "0", "2", "1", "h6", "Bob", "Ray"}));
        connection->Send(Payload(msg::kEvent, {"1002", "5", "2"}));
        connection->Send(Payload(msg::kEvent, {"2001", "12", "44", "", "page"}));
        connection->Send(Payload(msg::kReplyOk, {"1003", "2"}));

        QTRY_COMPARE(m_log->lines.size(), 9);
        const QStringList expected = {
            QStringLiteral("in"),
            QStringLiteral("operators Ann"),
            QStringLiteral("visitors 17,18"),
            QStringLiteral("visitor+ 19 http://b/"),
            QStringLiteral("visitor- 17 http://a/p"),
            QStringLiteral("operator+ 6"),
            QStringLiteral("operator- 5"),
            QStringLiteral("call 44 1 - [page] -"),
            QStringLiteral("status 2"),
        };
        QCOMPARE(m_log->lines, expected);
        QVERIFY(!m_log->offThread);
    }

    // A log-out raised on this very thread still comes after the events queued before it: it
    // is queued too, not delivered directly ahead of them.
    void logoutOnWindowThreadKeepsItsPlace()
    {
        QCOMPARE(m_session->Login(m_server->Host(), m_server->Port(), FakeChatServer::kUser,
                                  FakeChatServer::kPassword),
                 rc::kOk);
        auto connection = m_server->WaitConnection(0);
        QVERIFY(connection);
        connection->Send(Payload(msg::kReplyOk, {"1003", "3"}));
        // Until the session has dispatched it, without letting this thread run its events.
        QDeadlineTimer deadline(5000);
        while (m_session->GetStatus() != 3 && !deadline.hasExpired())
            QThread::yieldCurrentThread();
        QCOMPARE(m_session->GetStatus(), 3);
        m_session->Disconnect(COperatorSession::kReasonLoggedOut);
        QVERIFY(m_log->lines.isEmpty());
        QTRY_COMPARE(m_log->lines, (QStringList{QStringLiteral("in"), QStringLiteral("status 3"),
                                                QStringLiteral("out 1")}));
    }

    // A connection the server ends shows as a log-out for a lost connection.
    void serverClosingIsLostConnection()
    {
        QCOMPARE(m_session->Login(m_server->Host(), m_server->Port(), FakeChatServer::kUser,
                                  FakeChatServer::kPassword),
                 rc::kOk);
        m_server->WaitConnection(0)->Close();
        QTRY_COMPARE(m_log->lines, (QStringList{QStringLiteral("in"), QStringLiteral("out 2")}));
    }

private:
    std::unique_ptr<FakeChatServer> m_server;
    std::unique_ptr<COperatorSession> m_session;
    std::unique_ptr<CSessionBridge> m_bridge;
    std::unique_ptr<CEventLog> m_log;
};

QTEST_MAIN(SessionBridgeTest)
#include "session_bridge_test.moc"
