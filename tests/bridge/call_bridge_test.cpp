// The call bridge against the simulated server, and against the fake one where the opening
// answer must be held back: a line too long for any frame comes back Undelivered for exactly
// its ticket while the lines around it are Delivered, a burst of visitor lines arrives in order
// on the GUI thread, Close ends the call, and a window that goes while its call opens leaves no
// call open on the server.
#include "bridge_waits.h"
#include "call_bridge.h"
#include "client_socket.h"
#include "day_server.h"
#include "fake_chat_server.h"
#include "message_codes.h"
#include "qt_gtest.h"
#include "operator_session.h"
#include "worker_pool.h"

#include <QSignalSpy>
#include <QThread>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

TEST(CallBridge, LinesAreReportedByTheirTickets)
{
    CSimServer server(day::ServerOptions());
    const int port = server.Start();
    CSimWorld& world = server.World();
    COperatorSession session(300ms, 300ms);
    CWorkerPool pool;
    ASSERT_EQ(
        session.Login("127.0.0.1", static_cast<std::uint16_t>(port), day::kUser, day::kPassword),
        0);
    const int callId = world.RequestChat(world.Visitors().front().id, day::SignedInId(world));
    ASSERT_GT(callId, 0);
    auto bridge = std::make_unique<CCallBridge>(session, pool, callId);
    QStringList events;
    bool offThread = false;
    const auto add = [&](const QString& line) {
        offThread = offThread || QThread::currentThread() != bridge->thread();
        events << line;
    };
    QObject::connect(bridge.get(), &CCallBridge::Delivered, bridge.get(),
                     [&](int ticket) { add(QStringLiteral("delivered %1").arg(ticket)); });
    QObject::connect(bridge.get(), &CCallBridge::Undelivered, bridge.get(),
                     [&](int ticket) { add(QStringLiteral("undelivered %1").arg(ticket)); });
    QObject::connect(bridge.get(), &CCallBridge::ChatData, bridge.get(),
                     [&](const CChatLine& line) { add(line.text.value_or(QStringLiteral("-"))); });
    QObject::connect(bridge.get(), &CCallBridge::CallClosed, bridge.get(),
                     [&](int reason) { add(QStringLiteral("closed %1").arg(reason)); });
    QSignalSpy opened(bridge.get(), &CCallBridge::Opened);
    ASSERT_TRUE(bridge->Open());
    ASSERT_TRUE(opened.wait());
    EXPECT_TRUE(bridge->IsHeld());

    for (int i = 0; i < 200; ++i)
        EXPECT_TRUE(world.VisitorSays(callId, "visitor " + std::to_string(i)));
    const int first = bridge->SendLine(QStringLiteral("ann"), QStringLiteral("one"));
    const QString tooLong(static_cast<qsizetype>(CClientSocket::kMaxFrameLength), u'x');
    const int lost = bridge->SendLine(QStringLiteral("ann"), tooLong);
    const int third = bridge->SendLine(QStringLiteral("ann"), QStringLiteral("three"));
    EXPECT_TRUE(first > 0 && lost > first && third > lost);

    EXPECT_TRUE(Eventually([&] {
        return events.contains(QStringLiteral("visitor 199")) &&
               events.contains(QStringLiteral("delivered %1").arg(third));
    }));
    EXPECT_EQ(events.filter(QStringLiteral("delivered")),
              (QStringList{QStringLiteral("delivered %1").arg(first),
                           QStringLiteral("undelivered %1").arg(lost),
                           QStringLiteral("delivered %1").arg(third)}));
    const QStringList visitor = events.filter(QStringLiteral("visitor "));
    ASSERT_EQ(visitor.size(), 200);
    for (int i = 0; i < 200; ++i)
        EXPECT_EQ(visitor[i], QStringLiteral("visitor %1").arg(i));
    EXPECT_EVENTUALLY_EQ(day::ServerReceived(world, msg::kChatData, callId),
                         (QStringList{"1|ann|one", "1|ann|three"}));
    EXPECT_FALSE(offThread);

    // Close returns at once; the call ends on the server and in the session.
    bridge->Close();
    EXPECT_FALSE(bridge->IsHeld());
    EXPECT_EQ(bridge->SendLine(QStringLiteral("ann"), QStringLiteral("late")), 0);
    EXPECT_TRUE(Eventually([&] { return events.contains(QStringLiteral("closed 1")); }));
    EXPECT_TRUE(
        Eventually([&] { return world.Calls().empty() || world.Calls().front().members.empty(); }));
    EXPECT_EVENTUALLY_EQ(session.Calls().Count(), 0);
    bridge.reset();
    pool.Stop();
    EXPECT_EQ(pool.WaitAll(5s), 0);
}

// The window goes while the server has not answered the opening; the answer comes after
// it: the call opened for nobody is closed again, not left open behind the window.
TEST(CallBridge, AWindowThatGoesWhileItsCallOpensLeavesNoCallOpen)
{
    testing_support::FakeChatServer server;
    CHeldAnswer held;
    held.Hold(server, msg::kOpenMainChannel);
    COperatorSession session(5s, 5s);
    CWorkerPool pool;
    EXPECT_EQ(session.Login(server.Host(), server.Port(), testing_support::FakeChatServer::kUser,
                            testing_support::FakeChatServer::kPassword),
              0);
    constexpr int kCallId = 5;
    auto bridge = std::make_unique<CCallBridge>(session, pool, kCallId);
    EXPECT_TRUE(bridge->Open());
    const auto channel = server.WaitChannel(kCallId);
    EXPECT_TRUE(channel);
    bridge.reset();
    held.Release();
    EXPECT_TRUE(channel->WaitEnded());
    EXPECT_TRUE(WaitWithoutEvents([&] { return pool.Running() == 0; }));
    EXPECT_EQ(session.Calls().Count(), 0);
    pool.Stop();
    EXPECT_EQ(pool.WaitAll(5s), 0);
}
