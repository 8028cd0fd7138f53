// The session bridge against the simulated server, and against the fake one where a log-in
// answer must be held back: events in the session's order as signals on the GUI thread, log-in
// and log-out off the GUI thread and one after the other, the invitation guard, keep-alive
// waits that end at shutdown, and nothing after Detach.
#include "bridge_waits.h"
#include "day_server.h"
#include "fake_chat_server.h"
#include "message_codes.h"
#include "qt_gtest.h"
#include "operator_session.h"
#include "session_bridge.h"
#include "worker_pool.h"

#include <QCoreApplication>
#include <QThread>
#include <gtest/gtest.h>

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
            return [add, what](int n) {
                add(QStringLiteral("%1 %2").arg(QLatin1String(what)).arg(n));
            };
        };
        connect(&bridge, &CSessionBridge::LoggedIn, this, [add] { add(QStringLiteral("in")); });
        connect(&bridge, &CSessionBridge::LoggedOut, this, number("out"));
        connect(&bridge, &CSessionBridge::ConnectFinished, this, number("connect"));
        connect(&bridge, &CSessionBridge::StatusChanged, this, number("status"));
        connect(&bridge, &CSessionBridge::InviteFinished, this, [add](int result) {
            add(result < 0 ? QStringLiteral("invite failed") : QStringLiteral("invited"));
        });
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

TEST(SessionBridge, EventsArriveInTheSessionsOrderOnTheGuiThread)
{
    CSimServer server(day::ServerOptions());
    const int port = server.Start();
    ASSERT_GT(port, 0);
    CSimWorld& world = server.World();
    CBridgeRig rig;
    ASSERT_TRUE(rig.Login(port));
    QStringList expected = {"in", "connect 0"};
    EXPECT_EVENTUALLY_EQ(rig.log.lines, expected);

    rig.bridge.RequestLists();
    QStringList ids;
    for (const SimVisitor& v : world.Visitors())
        ids << QString::number(v.id);
    expected << QStringLiteral("operators Ann")
             << QStringLiteral("visitors ") + ids.join(QLatin1Char(','));
    EXPECT_EVENTUALLY_EQ(rig.log.lines, expected);

    // A burst from the server while this thread drains what came before.
    int lastVisitor = 0;
    for (int i = 0; i < 60; ++i) {
        lastVisitor = world.AddVisitor();
        expected << QStringLiteral("visitor+ %1").arg(lastVisitor);
        if (i % 3 == 0) {
            expected << QStringLiteral("visitor- %1 %2")
                            .arg(lastVisitor)
                            .arg(PageOf(world, lastVisitor));
            EXPECT_TRUE(world.RemoveVisitor(lastVisitor));
        }
    }
    EXPECT_EVENTUALLY_EQ(rig.log.lines, expected);

    COperatorSession colleague(300ms, 300ms);
    EXPECT_EQ(colleague.Login("127.0.0.1", static_cast<std::uint16_t>(port), day::kColleague,
                              day::kColleaguePassword),
              0);
    expected << QStringLiteral("operator+ %1").arg(colleague.OperatorId());
    EXPECT_EVENTUALLY_EQ(rig.log.lines, expected);
    expected << QStringLiteral("operator- %1").arg(colleague.OperatorId());
    colleague.Disconnect(COperatorSession::kReasonLoggedOut);
    EXPECT_EVENTUALLY_EQ(rig.log.lines, expected);

    EXPECT_TRUE(rig.bridge.SetStatus(OperatorStatus::kAway));
    expected << QStringLiteral("status 3");
    EXPECT_EVENTUALLY_EQ(rig.log.lines, expected);
    const int callId = world.RequestChat(lastVisitor, day::SignedInId(world));
    EXPECT_TRUE(callId > 0);
    expected << QStringLiteral("call %1 kind 1").arg(callId);
    EXPECT_EVENTUALLY_EQ(rig.log.lines, expected);
    EXPECT_FALSE(rig.log.offThread);
}

// The log-in waits for a server that has not answered yet; the GUI thread does not, and
// the log-out asked meanwhile comes after it, so the operator ends up logged out.
TEST(SessionBridge, LoginAndLogoutRunOneAfterTheOther)
{
    testing_support::FakeChatServer server;
    CHeldAnswer held;
    held.Hold(server, msg::kLogin);
    CBridgeRig rig;
    EXPECT_TRUE(rig.bridge.Login({QStringLiteral("127.0.0.1"), server.Port(),
                                  QString::fromLatin1(testing_support::FakeChatServer::kUser),
                                  QString::fromLatin1(testing_support::FakeChatServer::kPassword)},
                                 false));
    EXPECT_FALSE(rig.Login(server.Port())); // one log-in at a time
    QStringList whenDone;
    rig.bridge.Logout(COperatorSession::kReasonLoggedOut, [&] { whenDone = rig.log.lines; });
    EXPECT_TRUE(rig.bridge.IsConnecting());
    EXPECT_TRUE(server.WaitConnection(0)->WaitReceived(1));
    held.Release();

    const QStringList expected = {"in", "connect 0", "out 1"};
    EXPECT_EVENTUALLY_EQ(whenDone, expected); // what follows a log-out sees it shown first
    EXPECT_EQ(rig.log.lines, expected);
    EXPECT_FALSE(rig.bridge.IsLoggedIn());
    EXPECT_FALSE(rig.log.offThread);
}

// A keep-alive round waits between failed tries on the pool, never here; stopping the pool
// ends the wait, and a round cut short reports to nobody.
TEST(SessionBridge, KeepAliveWaitsOffTheGuiThreadUntilShutdown)
{
    CBridgeRig rig; // never logged in: every try fails
    EXPECT_TRUE(rig.bridge.KeepAlive({2, 1ms}));
    EXPECT_EVENTUALLY_EQ(rig.log.lines, QStringList{"alive 0"});
    EXPECT_TRUE(rig.bridge.KeepAlive({4, 1h}));
    EXPECT_FALSE(rig.bridge.KeepAlive({4, 1h})); // a round still runs
    rig.pool.Stop();
    EXPECT_EQ(rig.pool.WaitAll(60s), 0);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(rig.log.lines, QStringList{"alive 0"});
}

// One invitation command at a time: a second one while the first is being sent starts
// nothing, and once it has reported the next goes out.
TEST(SessionBridge, InvitationsAreGuardedOneAtATime)
{
    CSimServer server(day::ServerOptions());
    const int port = server.Start();
    CBridgeRig rig;
    ASSERT_TRUE(rig.Login(port));
    EXPECT_TRUE(Eventually([&] { return rig.bridge.IsLoggedIn(); }));
    const std::vector<SimVisitor> crowd = server.World().Visitors();
    const int a = crowd.at(1).id;
    const int b = crowd.at(3).id;

    EXPECT_TRUE(rig.bridge.Invite({a, b}, QStringLiteral("ann")));
    EXPECT_TRUE(rig.bridge.IsInviting());
    EXPECT_FALSE(rig.bridge.Invite({a}, QStringLiteral("ann")));
    EXPECT_TRUE(Eventually([&] { return rig.log.lines.contains(QStringLiteral("invited")); }));
    EXPECT_FALSE(rig.bridge.IsInviting());
    EXPECT_EVENTUALLY_EQ(
        day::ServerReceived(server.World(), msg::kInviteVisitor),
        (QStringList{QStringLiteral("%1|ann").arg(a), QStringLiteral("%1|ann").arg(b)}));
    EXPECT_FALSE(rig.bridge.Invite({}, QStringLiteral("ann")));
    EXPECT_TRUE(rig.bridge.Invite({b}, QStringLiteral("ann")));
    EXPECT_EVENTUALLY_EQ(day::ServerReceived(server.World(), msg::kInviteVisitor).size(), 3);
    EXPECT_EVENTUALLY_EQ(rig.log.lines.count(QStringLiteral("invited")), 2);

    // Not sent at all: the command reports the failure.
    rig.bridge.Logout(COperatorSession::kReasonLoggedOut);
    EXPECT_TRUE(Eventually([&] { return rig.log.lines.contains(QStringLiteral("out 1")); }));
    EXPECT_TRUE(rig.bridge.Invite({a}, QStringLiteral("ann")));
    EXPECT_TRUE(
        Eventually([&] { return rig.log.lines.contains(QStringLiteral("invite failed")); }));
}

// Events waiting in the relay and the answer of an invitation sent from a popup reach
// nobody once the bridge has detached.
TEST(SessionBridge, NothingAfterDetach)
{
    CSimServer server(day::ServerOptions());
    const int port = server.Start();
    CBridgeRig rig;
    ASSERT_TRUE(rig.Login(port));
    EXPECT_EVENTUALLY_EQ(rig.log.lines, (QStringList{"in", "connect 0"}));
    bool answered = false;
    rig.bridge.InviteOne(server.World().Visitors().front().id, QStringLiteral("ann"),
                         [&answered](int) { answered = true; });
    const int id = server.World().AddVisitor();
    // Until the session has the visitor, without letting this thread deliver anything.
    EXPECT_TRUE(WaitWithoutEvents([&] {
        return rig.session.Visitors().FindCopy(id).has_value() && rig.pool.Running() == 0;
    }));
    rig.bridge.Detach();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(rig.log.lines, (QStringList{"in", "connect 0"}));
    EXPECT_FALSE(answered);
}
