// The session bridge against the simulated server, and against the fake one where a log-in
// answer must be held back: events in the session's order as signals on the GUI thread, log-in
// and log-out off the GUI thread and one after the other, the invitation guard, keep-alive
// waits that end at shutdown, and nothing after Detach.
#include "bridge_waits.h"
#include "day_server.h"
#include "fake_chat_server.h"
#include "message_codes.h"
#include "qt_operator_session.h"
#include "session_bridge.h"
#include "worker_pool.h"

#include <QTest>
#include <QThread>

using namespace std::chrono_literals;

namespace {

// Every signal of the bridge as one line; a signal on another thread than the log's is noted.
class CEventLog final : public QObject
{
public:
    explicit CEventLog(CSessionBridge& bridge)
    {
        const auto add = [this](const QString& line) {
            offThread = offThread || QThread::currentThread() != thread();
            lines << line;
        };
        const auto number = [add](const char* what) {
            return [add, what](int n) { add(QStringLiteral("%1 %2").arg(QLatin1String(what)).arg(n)); };
        };
        connect(&bridge, &CSessionBridge::LoggedIn, this, [add] { add(QStringLiteral("in")); });
        connect(&bridge, &CSessionBridge::LoggedOut, this, number("out"));
        connect(&bridge, &CSessionBridge::ConnectFinished, this, number("connect"));
        connect(&bridge, &CSessionBridge::StatusChanged, this, number("status"));
        connect(&bridge, &CSessionBridge::InviteFinished, this,
                [add](int result) { add(result < 0 ? QStringLiteral("invite failed")
                                                   : QStringLiteral("invited")); });
        connect(&bridge, &CSessionBridge::KeepAliveFinished, this, number("alive"));
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
        connect(&bridge, &CSessionBridge::VisitorAdded, this,
                [add](const CVisitorEntry& e) { add(QStringLiteral("visitor+ %1").arg(e.id)); });
        // The session destroys a departing entry after the callback: the page shows it was copied.
        connect(&bridge, &CSessionBridge::VisitorRemoved, this, [add](const CVisitorEntry& e) {
            add(QStringLiteral("visitor- %1 %2").arg(e.id).arg(QString::fromStdString(e.text1)));
        });
        connect(&bridge, &CSessionBridge::OperatorAdded, this,
                [add](const CUserEntry& e) { add(QStringLiteral("operator+ %1").arg(e.id)); });
        connect(&bridge, &CSessionBridge::OperatorRemoved, this,
                [add](const CUserEntry& e) { add(QStringLiteral("operator- %1").arg(e.id)); });
        connect(&bridge, &CSessionBridge::IncomingCall, this, [add](const CIncomingCall& c) {
            add(QStringLiteral("call %1 kind %2").arg(c.callId).arg(c.kind));
        });
    }

    QStringList lines;
    bool offThread = false;
};

// A session with short waits, the pool its commands run on, its bridge, and their end in the
// application's order.
struct CBridgeRig
{
    COperatorSession session{300ms, 300ms};
    CWorkerPool pool;
    CSessionBridge bridge{session, pool};
    CEventLog log{bridge};

    ~CBridgeRig()
    {
        bridge.Detach();
        pool.Stop();
        session.Disconnect(COperatorSession::kReasonDestroyed);
        pool.WaitAll(5s);
    }
    bool Login(int port, const char* user = day::kUser, const char* password = day::kPassword)
    {
        return bridge.Login({QStringLiteral("127.0.0.1"), port, QString::fromLatin1(user),
                             QString::fromLatin1(password)},
                            false);
    }
};

QString PageOf(const CSimWorld& world, int visitorId)
{
    for (const SimVisitor& v : world.Visitors())
        if (v.id == visitorId)
            return QString::fromStdString(v.page);
    return {};
}

} // namespace

class SessionBridgeTest final : public QObject
{
    Q_OBJECT

private slots:
    void eventsArriveInTheSessionsOrderOnTheGuiThread()
    {
        CSimServer server(day::ServerOptions());
        const int port = server.Start();
        QVERIFY(port > 0);
        CSimWorld& world = server.World();
        CBridgeRig rig;
        QVERIFY(rig.Login(port));
        QStringList expected = {"in", "connect 0"};
        QTRY_COMPARE(rig.log.lines, expected);

        rig.bridge.RequestLists();
        QStringList ids;
        for (const SimVisitor& v : world.Visitors())
            ids << QString::number(v.id);
        expected << QStringLiteral("operators Ann") << QStringLiteral("visitors ") + ids.join(QLatin1Char(','));
        QTRY_COMPARE(rig.log.lines, expected);

        // A burst from the server while this thread drains what came before.
        int lastVisitor = 0;
        for (int i = 0; i < 60; ++i) {
            lastVisitor = world.AddVisitor();
            expected << QStringLiteral("visitor+ %1").arg(lastVisitor);
            if (i % 3 == 0) {
                expected << QStringLiteral("visitor- %1 %2").arg(lastVisitor).arg(PageOf(world, lastVisitor));
                QVERIFY(world.RemoveVisitor(lastVisitor));
            }
        }
        QTRY_COMPARE(rig.log.lines, expected);

        COperatorSession colleague(300ms, 300ms);
        QCOMPARE(colleague.Login("127.0.0.1", static_cast<std::uint16_t>(port), day::kColleague,
                                 day::kColleaguePassword),
                 0);
        expected << QStringLiteral("operator+ %1").arg(colleague.OperatorId());
        QTRY_COMPARE(rig.log.lines, expected);
        expected << QStringLiteral("operator- %1").arg(colleague.OperatorId());
        colleague.Disconnect(COperatorSession::kReasonLoggedOut);
        QTRY_COMPARE(rig.log.lines, expected);

        QVERIFY(rig.bridge.SetStatus(OperatorStatus::kAway));
        expected << QStringLiteral("status 3");
        QTRY_COMPARE(rig.log.lines, expected);
        const int callId = world.RequestChat(lastVisitor, day::SignedInId(world));
        QVERIFY(callId > 0);
        expected << QStringLiteral("call %1 kind 1").arg(callId);
        QTRY_COMPARE(rig.log.lines, expected);
        QVERIFY(!rig.log.offThread);
    }

    // The log-in waits for a server that has not answered yet; the GUI thread does not, and
    // the log-out asked meanwhile comes after it, so the operator ends up logged out.
    void loginAndLogoutRunOneAfterTheOther()
    {
        testing_support::FakeChatServer server;
        CHeldAnswer held;
        server.On(msg::kLogin,
                  [&](testing_support::FakeConnection& connection, const CSocketMessage& m) {
                      held.Wait();
                      server.DefaultAnswer(connection, m);
                  });
        CBridgeRig rig;
        QVERIFY(rig.bridge.Login({QStringLiteral("127.0.0.1"), server.Port(),
                                  QString::fromLatin1(testing_support::FakeChatServer::kUser),
                                  QString::fromLatin1(testing_support::FakeChatServer::kPassword)},
                                 false));
        QVERIFY(!rig.Login(server.Port())); // one log-in at a time
        QStringList whenDone;
        rig.bridge.Logout(COperatorSession::kReasonLoggedOut, [&] { whenDone = rig.log.lines; });
        QVERIFY(rig.bridge.IsConnecting());
        QVERIFY(server.WaitConnection(0)->WaitReceived(1));
        held.Release();

        const QStringList expected = {"in", "connect 0", "out 1"};
        QTRY_COMPARE(whenDone, expected); // what follows a log-out sees it shown first
        QCOMPARE(rig.log.lines, expected);
        QVERIFY(!rig.bridge.IsLoggedIn());
        QVERIFY(!rig.log.offThread);
    }

    // A keep-alive round waits between failed tries on the pool, never here; stopping the pool
    // ends the wait, and a round cut short reports to nobody.
    void keepAliveWaitsOffTheGuiThreadUntilShutdown()
    {
        CBridgeRig rig; // never logged in: every try fails
        QVERIFY(rig.bridge.KeepAlive({2, 1ms}));
        QTRY_COMPARE(rig.log.lines, QStringList{"alive 0"});
        QVERIFY(rig.bridge.KeepAlive({4, 1h}));
        QVERIFY(!rig.bridge.KeepAlive({4, 1h})); // a round still runs
        rig.pool.Stop();
        QCOMPARE(rig.pool.WaitAll(60s), 0);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(rig.log.lines, QStringList{"alive 0"});
    }

    // One invitation command at a time: a second one while the first is being sent starts
    // nothing, and once it has reported the next goes out.
    void invitationsAreGuardedOneAtATime()
    {
        CSimServer server(day::ServerOptions());
        const int port = server.Start();
        CBridgeRig rig;
        QVERIFY(rig.Login(port));
        QTRY_VERIFY(rig.bridge.IsLoggedIn());
        const std::vector<SimVisitor> crowd = server.World().Visitors();
        const int a = crowd.at(1).id;
        const int b = crowd.at(3).id;

        QVERIFY(rig.bridge.Invite({a, b}, QStringLiteral("ann")));
        QVERIFY(rig.bridge.IsInviting());
        QVERIFY(!rig.bridge.Invite({a}, QStringLiteral("ann")));
        QTRY_VERIFY(rig.log.lines.contains(QStringLiteral("invited")));
        QVERIFY(!rig.bridge.IsInviting());
        QCOMPARE(day::ServerReceived(server.World(), msg::kInviteVisitor),
                 (QStringList{QStringLiteral("%1|ann").arg(a), QStringLiteral("%1|ann").arg(b)}));
        QVERIFY(!rig.bridge.Invite({}, QStringLiteral("ann")));
        QVERIFY(rig.bridge.Invite({b}, QStringLiteral("ann")));
        QTRY_COMPARE(day::ServerReceived(server.World(), msg::kInviteVisitor).size(), 3);
        QTRY_COMPARE(rig.log.lines.count(QStringLiteral("invited")), 2);
    }

    // Events waiting in the relay and the answer of an invitation sent from a popup reach
    // nobody once the bridge has detached.
    void nothingAfterDetach()
    {
        CSimServer server(day::ServerOptions());
        const int port = server.Start();
        CBridgeRig rig;
        QVERIFY(rig.Login(port));
        QTRY_COMPARE(rig.log.lines, (QStringList{"in", "connect 0"}));
        bool answered = false;
        rig.bridge.InviteOne(server.World().Visitors().front().id, QStringLiteral("ann"),
                             [&answered](int) { answered = true; });
        const int id = server.World().AddVisitor();
        // Until the session has the visitor, without letting this thread deliver anything.
        QVERIFY(WaitWithoutEvents([&] {
            return rig.session.Visitors().FindCopy(id).has_value() && rig.pool.Running() == 0;
        }));
        rig.bridge.Detach();
        QCoreApplication::sendPostedEvents();
        QCOMPARE(rig.log.lines, (QStringList{"in", "connect 0"}));
        QVERIFY(!answered);
    }
};

QTEST_GUILESS_MAIN(SessionBridgeTest)
#include "session_bridge_test.moc"
