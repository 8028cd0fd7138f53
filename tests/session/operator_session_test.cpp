// The operator session against the scripted fake server: log-in, commands, every message it
// dispatches, connection ends, callbacks against the threads that raise them, the list caps and
// cancelling a log-in.
#include "session_rig.h"
#include "socket_message.h"

#include <atomic>
#include <future>
#include <latch>
#include <thread>
#include <unistd.h>

namespace testing_support {
namespace {

struct LoginCase
{
    const char* name;
    std::string answer; // raw bytes in answer to the log-in; empty: silence
    int result;
    int version; // kept even when the log-in fails
};

class LoginReplies : public SessionTest, public ::testing::WithParamInterface<LoginCase>
{
};

TEST_P(LoginReplies, FailureLeavesNoConnectionAndRaisesNothing)
{
    const LoginCase& c = GetParam();
    m_server.On(msg::kLogin, [&](FakeConnection& conn, const CSocketMessage&) {
        c.answer == "close" ? conn.Close() : (void)conn.SendRaw(c.answer);
    });
    EXPECT_EQ(Login(), c.result);
    EXPECT_EQ(m_session->GetStatus(), 0);
    EXPECT_EQ(m_session->OperatorId(), 0);
    EXPECT_EQ(m_session->ServerVersion(), c.version);
    EXPECT_EQ(m_session->LastConnectFailure(), ConnectFailure::None);
    EXPECT_TRUE(m_server.WaitConnection(0)->WaitEnded()); // the session closed its end
    EXPECT_EQ(m_log.Lines(), Events{});
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LoginReplies,
    ::testing::Values(
        LoginCase{"InvalidCredentials", FrameOf(Payload(msg::kReplyFailed, {"1001", "-24"})),
                  rc::kBadCredentials, 0},
        // A refusal must never read as success, whatever it carries.
        LoginCase{"RefusalWithoutCode", FrameOf(Payload(msg::kReplyFailed, {"1001"})),
                  rc::kBadFormat, 0},
        LoginCase{"WrongEcho", FrameOf(Payload(msg::kReplyOk, {"1003", "7", "16"})),
                  rc::kBadParameters, 16},
        LoginCase{"OperatorIdZero", FrameOf(Payload(msg::kReplyOk, {"1001", "0", "16"})),
                  rc::kBadParameters, 16},
        LoginCase{"EventInsteadOfReply", FrameOf(Payload(msg::kEvent, {"4002", "1"})),
                  rc::kBadCommand, 0},
        LoginCase{"NegativeCode", FrameOf("-123"), rc::kBadFormat, 0},
        LoginCase{"ServerCloses", "close", rc::kPeerClosed, 0},
        LoginCase{"Silent", "", rc::kIdle, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SessionTest, LoginKeepsWhatTheServerGaveAndASecondOneLogsOutFirst)
{
    auto first = LoggedIn();
    EXPECT_EQ(first->Received()[0].Payload(), "1001op<~>secret<~>");
    EXPECT_EQ(m_session->GetStatus(), OperatorStatus::kOnline);
    EXPECT_EQ(m_session->OperatorId(), FakeChatServer::kOperatorId);
    EXPECT_EQ(m_session->ServerPort(), m_server.Port());
    auto second = LoggedIn();
    EXPECT_TRUE(first->WaitEnded());
    EXPECT_FALSE(second->WaitEnded(0ms));
    EXPECT_EQ(m_log.Lines(), (Events{"LoggedIn", "LoggedOut 1", "LoggedIn"}));
}

TEST_F(SessionTest, EventsFollowLoggedInEvenWhenTheServerIsQuick)
{
    // The server pushes an event and hangs up in the same breath as its log-in answer.
    m_server.On(msg::kLogin, [](FakeConnection& c, const CSocketMessage&) {
        c.Send(Payload(msg::kReplyOk, {"1001", "7", "15"}));
        c.Send(Payload(msg::kReplyOk, {"1003", "2"}));
        c.Close();
    });
    EXPECT_EQ(Login(), rc::kOk);
    ASSERT_TRUE(m_log.WaitFor("LoggedOut 2"));
    EXPECT_EQ(m_log.Lines(), (Events{"LoggedIn", "StatusChanged 2", "LoggedOut 2"}));
}

struct CommandCase
{
    const char* name;
    std::function<int(COperatorSession&)> run;
    std::string payload;    // what reaches the server
    bool disconnectsOnFail; // a failed send ends the session with reason 3
};

class Commands : public SessionTest, public ::testing::WithParamInterface<CommandCase>
{
};

TEST_P(Commands, SendOneMessageOrFailWithoutAConnection)
{
    const CommandCase& c = GetParam();
    EXPECT_EQ(c.run(*m_session), rc::kNotConnected);
    EXPECT_EQ(m_log.Lines(), c.disconnectsOnFail ? Events{"LoggedOut 3"} : Events{});
    m_log.Clear();
    m_server.On(std::stoi(c.payload.substr(0, 4)), [](FakeConnection&, const CSocketMessage&) {});
    auto connection = LoggedIn();
    EXPECT_EQ(c.run(*m_session), static_cast<int>(c.payload.size()));
    EXPECT_EQ(connection->Next()->Payload(), c.payload);
    EXPECT_EQ(m_session->GetStatus(), OperatorStatus::kOnline); // until the server confirms
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Commands,
    ::testing::Values(
        CommandCase{"SetStatus", [](COperatorSession& s) { return s.SetStatus(2); },
                    Payload(msg::kSetStatus, {"2"}), true},
        CommandCase{"RequestOperators", [](COperatorSession& s) { return s.RequestOperators(); },
                    Payload(msg::kRequestUsers), true},
        CommandCase{"RequestVisitors", [](COperatorSession& s) { return s.RequestVisitors(); },
                    Payload(msg::kRequestVisitors), true},
        CommandCase{"InviteVisitorWithoutText",
                    [](COperatorSession& s) { return s.InviteVisitor(-3, ""); },
                    Payload(msg::kInviteVisitor, {"-3", ""}), true},
        CommandCase{"KeepAlive", [](COperatorSession& s) { return s.KeepAlive(); },
                    Payload(msg::kKeepAlive), false}),
    [](const auto& info) { return std::string(info.param.name); });

// After log-in the session lists operator 5 and visitor 17; each row pushes one message, then a
// status reply as a marker: callbacks keep message order, so what the row raised stands before
// the marker.
struct Row
{
    const char* name;
    std::string payload;
    Events raised;
    int operators; // listed afterwards
    int visitors;
};

class Dispatch : public SessionTest, public ::testing::WithParamInterface<Row>
{
};

TEST_P(Dispatch, RaisesExactlyTheRowsCallbacks)
{
    ::setenv("TZ", "UTC", 1); // list replies convert stamps to local time
    ::tzset();
    auto connection = LoggedIn();
    connection->Send(Payload(msg::kReplyOk, {"1006", "1", "5", "0", "2", "1", "host5", "Ann", "Lee"}));
    connection->Send(Payload(msg::kReplyOk, {"1007", "1", "17", "3", "http://a/p", "Guest", "x",
                                             "2005-3-7 9:5:0", "10.0.0.1", "4"}));
    connection->Send(GetParam().payload);
    connection->Send(Payload(msg::kReplyOk, {"1003", "88"}));
    ASSERT_TRUE(m_log.WaitFor("StatusChanged 88"));
    Events raised = m_log.Lines();
    raised.erase(raised.begin(), raised.begin() + 3); // LoggedIn and the two lists
    raised.pop_back();
    EXPECT_EQ(raised, GetParam().raised);
    EXPECT_EQ(m_session->Operators().Count(), GetParam().operators);
    EXPECT_EQ(m_session->Visitors().Count(), GetParam().visitors);
}

const std::string kAnn = "5/2 st1 host5|Ann|Lee";
const std::string kGuest = "17 3 http://a/p|Guest|x|09:05:00 03/07/2005|10.0.0.1 4";

INSTANTIATE_TEST_SUITE_P(
    Rows, Dispatch,
    ::testing::Values(
        Row{"StatusConfirmed", Payload(msg::kReplyOk, {"1003", "2"}), {"StatusChanged 2"}, 1, 1},
        Row{"OperatorsReloadedFirstOfAKeyKept",
            Payload(msg::kReplyOk, {"1006", "2", "8", "0", "2", "3", "h8", "Bo", "Ng", "8", "0",
                                    "2", "1", "again", "", ""}),
            {"OperatorsRefreshed"}, 1, 1},
        Row{"VisitorsReloadedEmpty", Payload(msg::kReplyOk, {"1007", "0"}), {"VisitorsRefreshed"},
            1, 0},
        Row{"InvitedListedVisitor", Payload(msg::kReplyOk, {"4003", "17"}),
            {"VisitorInvited " + kGuest}, 1, 1},
        Row{"InvitedVisitorGone", Payload(msg::kReplyOk, {"4003", "18"}), {}, 1, 1},
        Row{"Refusal", Payload(msg::kReplyFailed, {"1003", "-27"}), {"Other 1003 -27"}, 1, 1},
        Row{"OperatorAdded", Payload(msg::kEvent, {"1001", "6", "0", "2", "3", "h6", "Di", "Ro"}),
            {"OperatorAdded 6/2 st3 h6|Di|Ro"}, 2, 1},
        Row{"OperatorAlreadyListed", Payload(msg::kEvent, {"1001", "5", "0", "2", "3", "x"}), {},
            1, 1},
        Row{"OperatorRemoved", Payload(msg::kEvent, {"1002", "5", "2"}),
            {"OperatorRemoved " + kAnn}, 0, 1},
        Row{"OperatorOfOtherTypeRemoved", Payload(msg::kEvent, {"1002", "5", "1"}), {}, 1, 1},
        Row{"OperatorStatus", Payload(msg::kEvent, {"1003", "5", "2", "3"}),
            {"OperatorUpdated 5/2 st3 host5|Ann|Lee"}, 1, 1},
        Row{"IncomingCallWithoutName", Payload(msg::kEvent, {"2001", "12", "44", "", "page"}),
            {"IncomingCall 44 12 1 - [page] -"}, 1, 1},
        Row{"CallTransfer", Payload(msg::kEvent, {"2002", "3", "45", "Ann", "Lee", "note"}),
            {"IncomingCall 45 3 2 [Ann] [Lee] [note]"}, 1, 1},
        // Unlike a list reply, the event keeps its stamp as received.
        Row{"VisitorEntered",
            Payload(msg::kEvent, {"4001", "18", "1", "b", "Bob", "y", "2005-3-7 9:5:0", "ip", "9"}),
            {"VisitorAdded 18 1 b|Bob|y|2005-3-7 9:5:0|ip 9"}, 1, 2},
        Row{"VisitorEnteredWithOnlyItsId", Payload(msg::kEvent, {"4001", "18"}),
            {"VisitorAdded 18 -16 |||| -16"}, 1, 2},
        Row{"VisitorAlreadyListed", Payload(msg::kEvent, {"4001", "17", "1", "other"}), {}, 1, 1},
        Row{"VisitorLeft", Payload(msg::kEvent, {"4002", "17"}), {"VisitorRemoved " + kGuest}, 1,
            0},
        Row{"UnknownCode", Payload(1234, {"1", "5"}), {"Other 9999 5"}, 1, 1},
        Row{"ShortPayload", "12", {"Other 9999 -16"}, 1, 1}),
    [](const auto& info) { return std::string(info.param.name); });

struct EndCase
{
    const char* name;
    std::string bytes; // then the server hangs up, or (when hold) falls silent
    bool hangUp;
};

class ConnectionEnds : public SessionTest, public ::testing::WithParamInterface<EndCase>
{
};

TEST_P(ConnectionEnds, AreReportedOnceAsLost)
{
    auto connection = LoggedIn();
    connection->SendRaw(GetParam().bytes);
    if (GetParam().hangUp)
        connection->Close();
    ASSERT_TRUE(m_log.WaitFor("LoggedOut 2"));
    EXPECT_TRUE(connection->WaitEnded());
    EXPECT_EQ(m_session->GetStatus(), 0);
    EXPECT_EQ(m_session->ServerHost(), "");
    m_session->Disconnect(COperatorSession::kReasonLoggedOut);
    EXPECT_EQ(m_log.Lines(), (Events{"LoggedIn", "LoggedOut 2", "LoggedOut 1"}));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ConnectionEnds,
    ::testing::Values(
        EndCase{"ServerCloses", "", true},
        EndCase{"ClosedMidFrame", FrameOf(Payload(msg::kEvent, {"4002", "1"})).substr(0, 10), true},
        EndCase{"HalfAHeaderThenSilence", "<!>", false},
        EndCase{"Garbage", "GET / HTTP/1.0\r\n\r\n", false},
        EndCase{"ZeroLength", std::string("<!>\0\0\0\0", 7), false},
        EndCase{"NegativeLength", std::string("<!>\x80\0\0\x01", 7), false},
        EndCase{"OverTheCap", std::string("<!>\x04\0\0\x01", 7), false},
        EndCase{"NegativeCode", FrameOf("-901<~>"), false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SessionTest, DisconnectFromACallbackOnTheReceiveThread)
{
    m_log.SetHook([this](const std::string& e) {
        if (e.starts_with("VisitorAdded"))
            m_session->Disconnect(COperatorSession::kReasonLoggedOut);
        if (e == "StatusChanged 2") // Login from the receive thread is refused
            m_log.Log("Nested " + std::to_string(Login()));
    });
    auto connection = LoggedIn();
    connection->Send(Payload(msg::kReplyOk, {"1003", "2"}));
    connection->Send(Payload(msg::kEvent, {"4001", "9"}));
    connection->Send(Payload(msg::kEvent, {"4001", "10"})); // never dispatched
    EXPECT_TRUE(connection->WaitEnded());
    ASSERT_TRUE(m_log.WaitFor("LoggedOut 1"));
    // The thread that disconnected itself is joined by the next log-in.
    auto next = LoggedIn();
    EXPECT_EQ(m_log.Lines(), (Events{"LoggedIn", "StatusChanged 2", "Nested -22",
                                     "VisitorAdded 9 -16 |||| -16", "LoggedOut 1", "LoggedIn"}));
}

TEST_F(SessionTest, DestructionReportsReasonFourAndNothingAfter)
{
    auto connection = LoggedIn();
    connection->Send(Payload(msg::kReplyOk, {"1003", "2"}));
    ASSERT_TRUE(m_log.WaitFor("StatusChanged 2"));
    m_session.reset();
    EXPECT_TRUE(connection->WaitEnded());
    EXPECT_EQ(m_log.Lines(), (Events{"LoggedIn", "StatusChanged 2", "LoggedOut 4"}));
}

// A callback still running holds ClearCallbacks up: once it returns, nothing of the old
// callbacks runs any more, so what they captured may go.
TEST_F(SessionTest, NoCallbackRunsOnceClearCallbacksReturned)
{
    auto connection = LoggedIn();
    std::latch inside(1), release(1);
    std::atomic<bool> running{false};
    m_log.SetHook([&](const std::string& e) {
        if (e != "StatusChanged 2")
            return;
        running = true;
        inside.count_down();
        release.wait();
        running = false;
    });
    connection->Send(Payload(msg::kReplyOk, {"1003", "2"}));
    inside.wait();
    std::atomic<int> clearer{0};
    bool ranAfterClear = true;
    std::thread clear([&] {
        clearer = ::gettid();
        m_session->ClearCallbacks();
        ranAfterClear = running;
    });
    while (!clearer)
        std::this_thread::yield();
    WaitAsleep(clearer); // inside ClearCallbacks, waiting for the callback (or gone already)
    release.count_down();
    clear.join();
    EXPECT_FALSE(ranAfterClear);
    connection->Send(Payload(msg::kReplyOk, {"1003", "3"}));
    while (m_session->GetStatus() != 3) // set before the callback would be raised
        std::this_thread::yield();
    EXPECT_EQ(m_log.Lines(), (Events{"LoggedIn", "StatusChanged 2"}));
}

// A full visitor list drops a newcomer, and raises nothing for what it did not list.
TEST_F(SessionTest, FullVisitorListDropsNewcomersWithoutACallback)
{
    std::vector<std::string> fields = {"1007", std::to_string(limits::kVisitors + 1)};
    for (int id = 1; id <= limits::kVisitors + 1; ++id)
        fields.insert(fields.end(), {std::to_string(id), "", "", "", "", "", "", ""});
    m_server.SetListReply(msg::kRequestVisitors, Payload(msg::kReplyOk, fields));
    auto connection = LoggedIn();
    m_session->RequestVisitors();
    ASSERT_TRUE(m_log.WaitFor("VisitorsRefreshed"));
    EXPECT_EQ(m_session->Visitors().Count(), limits::kVisitors);
    EXPECT_FALSE(m_session->Visitors().FindCopy(limits::kVisitors + 1));
    connection->Send(Payload(msg::kEvent, {"4001", "0"}));
    connection->Send(Payload(msg::kEvent, {"4002", "1"}));
    connection->Send(Payload(msg::kEvent, {"4001", "-1"}));
    ASSERT_TRUE(m_log.WaitFor("VisitorAdded -1 -16 |||| -16"));
    EXPECT_EQ(m_log.Lines(), (Events{"LoggedIn", "VisitorsRefreshed", "VisitorRemoved 1 -16 |||| -16",
                                     "VisitorAdded -1 -16 |||| -16"}));
}

// A log-in is cancelled from another thread while it connects or waits for the answer: it
// returns at once instead of after its 30 s waits, and says why.
TEST_F(SessionTest, LoginCancelledFromAnotherThreadReturnsAtOnce)
{
    COperatorSession session(30s, 30s);
    Blackhole blackhole;
    m_server.On(msg::kLogin, [](FakeConnection&, const CSocketMessage&) {}); // never answers
    for (std::uint16_t port : {blackhole.Port(), m_server.Port()}) {
        auto login = std::async(std::launch::async,
                                [&] { return session.Login("127.0.0.1", port, "op", "secret"); });
        while (!session.CancelLogin())
            std::this_thread::yield();
        EXPECT_EQ(login.wait_for(10s), std::future_status::ready) << "the cancel did not wake it";
        EXPECT_EQ(login.get(), rc::kNotConnected);
        EXPECT_EQ(session.LastConnectFailure(), ConnectFailure::Cancelled);
    }
    m_server.On(msg::kLogin,
                [this](FakeConnection& c, const CSocketMessage& m) { m_server.DefaultAnswer(c, m); });
    EXPECT_EQ(session.Login("127.0.0.1", m_server.Port(), "op", "secret"), rc::kOk);
    EXPECT_FALSE(session.CancelLogin()); // an established session is left alone
    EXPECT_GT(session.KeepAlive(), 0);
}

// Commands from several threads while the server floods events, then a log-out in the middle;
// run under ThreadSanitizer in CI.
TEST_F(SessionTest, CommandsFromSeveralThreadsWhileTheServerFloods)
{
    for (int round = 1; round <= 4; ++round) {
        m_log.Clear();
        auto connection = LoggedIn();
        std::atomic<int> failed{0};
        std::vector<std::thread> threads;
        threads.emplace_back([&] {
            for (int i = 0; i < 300; ++i) {
                const std::string id = std::to_string(1000 * round + i % 50);
                connection->Send(Payload(msg::kEvent, {"4001", id, "0", "p"}));
                connection->Send(Payload(msg::kEvent, {"1001", id, "0", "2", "1", "h"}));
                connection->Send(Payload(msg::kEvent, {"4002", id}));
            }
        });
        for (int t = 0; t < 3; ++t) {
            threads.emplace_back([&, t] {
                for (int i = 0; i < 40; ++i) {
                    failed += ((i + t) % 2 ? m_session->SetStatus(1 + i % 3)
                                           : m_session->InviteVisitor(1000 + i, "hi")) < 0;
                    (void)m_session->Visitors().Snapshot();
                }
            });
        }
        EXPECT_TRUE(m_log.WaitFor("VisitorAdded "));
        m_session->Disconnect(COperatorSession::kReasonLoggedOut);
        for (auto& thread : threads)
            thread.join();
        // One report for the log-out and one per command that failed after it; never a loss.
        EXPECT_EQ(m_log.CountOf("LoggedOut 1"), 1u);
        EXPECT_EQ(m_log.CountOf("LoggedOut 2"), 0u);
        EXPECT_EQ(m_log.CountOf("LoggedOut 3"), static_cast<size_t>(failed.load()));
    }
}

} // namespace
} // namespace testing_support
