// The operator session and its calls against a hostile simulated server: every fault at every
// moment ends the connection cleanly and in bounded time with the right reason, a stalled frame
// costs no memory and does not hold up a disconnect, a flood of events leaves the session's
// lists equal to the server's, and a broken call channel leaves the session logged in.

#include "call.h"
#include "call_list.h"
#include "event_log.h"
#include "message_codes.h"
#include "operator_session.h"
#include "result_codes.h"
#include "sim_server.h"

#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <thread>

using namespace std::chrono_literals;
using namespace testing_support;
using Clock = std::chrono::steady_clock;

namespace {

constexpr auto kWait = 200ms; // the session's receive and header waits

SimOptions Options(SimFault fault = {})
{
    SimOptions o;
    o.accounts = {{"ann", "pw-ann", "Ann", "Lee"}};
    o.initialVisitors = 20;
    o.arrivalPerMinute = 0;
    o.chatPerMinute = 0;
    o.seed = 3;
    o.realTime = false;
    o.ioTimeout = 2s;
    o.fault = fault;
    return o;
}

std::set<int> ServerVisitors(CSimServer& server)
{
    std::set<int> ids;
    for (const SimVisitor& v : server.World().Visitors())
        ids.insert(v.id);
    return ids;
}

std::set<int> SessionVisitors(COperatorSession& session)
{
    std::set<int> ids;
    for (const CVisitorEntry& v : session.Visitors().Snapshot())
        ids.insert(v.id);
    return ids;
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit)
{
    const auto deadline = Clock::now() + limit;
    while (!done()) {
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

class HostileSessionTest : public ::testing::Test
{
protected:
    void Start(SimOptions options, std::chrono::milliseconds wait = kWait)
    {
        m_server = std::make_unique<CSimServer>(std::move(options));
        const int port = m_server->Start();
        ASSERT_GT(port, 0) << m_server->Error();
        m_port = static_cast<std::uint16_t>(port);
        m_session = std::make_unique<COperatorSession>(wait, wait);
        m_session->SetCallbacks(SessionCallbacks(m_log));
    }
    void TearDown() override
    {
        // Destroying the session ends everything it runs; it must not wait for a time-out.
        const auto started = Clock::now();
        m_session.reset();
        EXPECT_LT(Clock::now() - started, 1s);
    }
    int Login() { return m_session->Login("127.0.0.1", m_port, "ann", "pw-ann"); }
    // Logs in and asks for both lists, as the console does.
    void LoginWithLists()
    {
        ASSERT_EQ(Login(), rc::kOk);
        m_session->RequestOperators();
        m_session->RequestVisitors();
    }
    // The lists are in and match the server's.
    void ExpectListsLikeServer()
    {
        ASSERT_TRUE(m_log.WaitFor("VisitorsRefreshed"));
        EXPECT_EQ(SessionVisitors(*m_session), ServerVisitors(*m_server));
    }

    std::unique_ptr<CSimServer> m_server;
    std::uint16_t m_port = 0;
    EventLog m_log;
    std::unique_ptr<COperatorSession> m_session;
};

// --- Faults on the operator connection --------------------------------------------------------

struct FaultRow
{
    SimFaultKind kind;
    SimFaultMoment moment;
};

std::string RowName(const ::testing::TestParamInfo<FaultRow>& info)
{
    static const char* const moments[] = {"AtLogin", "AfterLogin", "MidList", "MidFrame"};
    std::string name(SimFaultKindName(info.param.kind));
    std::erase(name, '-');
    return name + "_" + moments[static_cast<int>(info.param.moment)];
}

std::vector<FaultRow> Rows(std::initializer_list<SimFaultMoment> moments)
{
    std::vector<FaultRow> rows;
    for (SimFaultKind kind :
         {SimFaultKind::Garbage, SimFaultKind::OversizedLength, SimFaultKind::StalledLength,
          SimFaultKind::Silence, SimFaultKind::Close, SimFaultKind::Reset})
        for (SimFaultMoment moment : moments)
            rows.push_back({kind, moment});
    return rows;
}

class SessionFaultTest : public HostileSessionTest, public ::testing::WithParamInterface<FaultRow>
{
};

// A fault after the log-in ends the connection under the receive thread: OnLoggedOut(2) once,
// not logged in, and the next log-in (the fault struck once) brings the lists back whole. A
// close right after the log-in may also fail the list requests' sends (OnLoggedOut(3)).
TEST_P(SessionFaultTest, LosesTheConnectionOnceAndLogsInAgain)
{
    const auto [kind, moment] = GetParam();
    Start(Options({kind, moment, SimTarget::Operator, 1}));
    const auto started = Clock::now();
    LoginWithLists();
    ASSERT_TRUE(WaitUntil(
        [&] { return m_log.CountOf("LoggedOut 2") + m_log.CountOf("LoggedOut 3") > 0; }, 2s));
    EXPECT_LT(Clock::now() - started, 2s);
    EXPECT_EQ(m_session->GetStatus(), 0);
    EXPECT_EQ(m_session->OperatorId(), 0);
    EXPECT_LE(m_log.CountOf("LoggedOut 2"), 1u);
    if (kind != SimFaultKind::Close && kind != SimFaultKind::Reset) {
        EXPECT_EQ(m_log.CountOf("LoggedOut 2"), 1u);
    }

    // Once the server has seen the old connection end (it may still think it signed in).
    ASSERT_TRUE(
        m_server->World().WaitUntil([&] { return m_server->World().Operators().empty(); }, 2s));
    m_log.Clear();
    LoginWithLists();
    ExpectListsLikeServer();
    EXPECT_EQ(m_session->GetStatus(), OperatorStatus::kOnline);
}

INSTANTIATE_TEST_SUITE_P(Faults, SessionFaultTest, ::testing::ValuesIn([] {
                             auto rows = Rows({SimFaultMoment::AfterLogin, SimFaultMoment::MidList,
                                               SimFaultMoment::MidFrame});
                             // Silence between frames is no fault: see below.
                             std::erase_if(rows, [](const FaultRow& r) {
                                 return r.kind == SimFaultKind::Silence &&
                                        r.moment == SimFaultMoment::AfterLogin;
                             });
                             return rows;
                         }()),
                         RowName);

class SessionLoginFaultTest : public HostileSessionTest,
                              public ::testing::WithParamInterface<FaultRow>
{
};

// A fault in place of the log-in reply fails the log-in with a communication error, leaves no
// connection and raises nothing.
TEST_P(SessionLoginFaultTest, FailsTheLogin)
{
    Start(Options({GetParam().kind, SimFaultMoment::AtLogin, SimTarget::Operator, 1}));
    const int result = Login();
    const std::set<int> failures{rc::kReceiveFailed, rc::kPeerClosed, rc::kIdle};
    EXPECT_TRUE(failures.count(result)) << result;
    EXPECT_EQ(m_session->GetStatus(), 0);
    EXPECT_TRUE(m_log.Events().empty());
    LoginWithLists();
    ExpectListsLikeServer();
}

INSTANTIATE_TEST_SUITE_P(Faults, SessionLoginFaultTest,
                         ::testing::ValuesIn(Rows({SimFaultMoment::AtLogin})), RowName);

// A server that falls silent between frames is idle, not broken: the session stays logged in
// across several receive time-outs and its commands still go out.
TEST_F(HostileSessionTest, SilenceBetweenFramesIsIdle)
{
    Start(Options({SimFaultKind::Silence, SimFaultMoment::AfterLogin}));
    LoginWithLists();
    EXPECT_FALSE(m_log.WaitFor("LoggedOut 2", 5 * kWait));
    EXPECT_EQ(m_session->GetStatus(), OperatorStatus::kOnline);
    EXPECT_GT(m_session->KeepAlive(), 0);
    EXPECT_EQ(m_session->Disconnect(COperatorSession::kReasonLoggedOut), rc::kOk);
    EXPECT_EQ(m_log.CountOf("LoggedOut 1"), 1u);
}

// With the product's 20-second waits, a frame whose body never comes holds the receive thread
// in its wait; a log-out and the session's end must not wait for it, and the announced length
// is never reserved.
TEST_F(HostileSessionTest, StalledFrameHoldsUpNothing)
{
    for (SimFaultKind kind : {SimFaultKind::StalledLength, SimFaultKind::Silence}) {
        Start(Options({kind, SimFaultMoment::MidList}), CClientSocket::kDefaultTimeout);
        LoginWithLists();
        ASSERT_TRUE(m_server->World().WaitUntil(
            [&] { return m_server->World().Stats().faultsStruck == 1; }, 5s));
        std::this_thread::sleep_for(100ms); // the receive thread is now inside the frame
        const auto started = Clock::now();
        m_session->Disconnect(COperatorSession::kReasonLoggedOut);
        EXPECT_LT(Clock::now() - started, 1s);
        EXPECT_EQ(m_log.Events().back(), "LoggedOut 1");
        EXPECT_EQ(m_log.CountOf("LoggedOut 2"), 0u);
        m_session.reset();
        m_server.reset();
        m_log.Clear();
    }
}

// --- The flood --------------------------------------------------------------------------------

// A second of flood at 10,000 events a second: the session's lists end equal to the server's;
// a log-out in the middle of the next, larger burst is prompt.
TEST_F(HostileSessionTest, FloodLeavesTheListsLikeTheServers)
{
    Start(Options());
    LoginWithLists();
    ExpectListsLikeServer();
    m_server->World().SetFloodRate(10'000);
    for (int i = 0; i < 10; ++i)
        m_server->Advance(100ms);
    m_server->World().SetFloodRate(0);
    EXPECT_EQ(m_server->World().Stats().floodEvents, 10'000u);
    // Events are handled in order, so once the visitor who arrives after the flood is listed,
    // every event of the flood has been.
    const int marker = m_server->World().AddVisitor();
    ASSERT_TRUE(WaitUntil([&] { return SessionVisitors(*m_session).count(marker) == 1; }, 20s));
    EXPECT_EQ(SessionVisitors(*m_session), ServerVisitors(*m_server));
    for (const CUserEntry& op : m_session->Operators().Snapshot())
        EXPECT_EQ(op.status, m_server->World().Operators().front().status);
    // The flood keeps the crowd near its size instead of growing it.
    EXPECT_LT(SessionVisitors(*m_session).size(), 200u);

    m_server->World().Flood(50'000);
    const auto started = Clock::now();
    m_session->Disconnect(COperatorSession::kReasonLoggedOut);
    EXPECT_LT(Clock::now() - started, 1s);
}

// --- Call channels ----------------------------------------------------------------------------

class CallFaultTest : public HostileSessionTest, public ::testing::WithParamInterface<FaultRow>
{
};

// A broken channel ends its call (or fails its opening) and leaves the session logged in.
TEST_P(CallFaultTest, EndsTheCallNotTheSession)
{
    const auto [kind, moment] = GetParam();
    Start(Options({kind, moment, SimTarget::Channels}));
    LoginWithLists();
    ExpectListsLikeServer();
    const int callId = m_server->World().RequestChat(m_server->World().Visitors().front().id,
                                                     m_session->OperatorId());
    ASSERT_GT(callId, 0);

    EventLog callLog;
    const int opened = m_session->Calls().OpenCall(callId, CallCallbacks(callLog));
    if (moment == SimFaultMoment::AtLogin) {
        EXPECT_LT(opened, 0);
    } else {
        ASSERT_EQ(opened, rc::kOk);
        if (auto call = m_session->Calls().Find(callId))
            call->RequestParticipants();
        ASSERT_TRUE(callLog.WaitFor("CallClosed 2", 3s));
        const auto started = Clock::now();
        m_session->Calls().CloseCall(callId);
        EXPECT_LT(Clock::now() - started, 1s);
    }
    EXPECT_EQ(m_session->GetStatus(), OperatorStatus::kOnline);
    EXPECT_EQ(m_log.CountOf("LoggedOut 2"), 0u);
    EXPECT_GT(m_session->KeepAlive(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, CallFaultTest,
    ::testing::Values(FaultRow{SimFaultKind::Close, SimFaultMoment::AtLogin},
                      FaultRow{SimFaultKind::StalledLength, SimFaultMoment::AtLogin},
                      FaultRow{SimFaultKind::Garbage, SimFaultMoment::AfterLogin},
                      FaultRow{SimFaultKind::OversizedLength, SimFaultMoment::MidList},
                      FaultRow{SimFaultKind::Silence, SimFaultMoment::MidList},
                      FaultRow{SimFaultKind::Reset, SimFaultMoment::MidFrame}),
    RowName);

} // namespace
