#include "loopback_peer.h"
#include "session_fixture.h"

#include <functional>
#include <ostream>

namespace testing_support {
namespace {

struct LoginCase
{
    const char* name;
    std::function<void(FakeConnection&)> answer; // how the server answers the log-in
    int result;
    int version; // kept even when the log-in fails
};

void Reply(FakeConnection& c, std::string payload)
{
    c.Send(payload);
}

void PrintTo(const LoginCase& c, std::ostream* out)
{
    *out << c.name;
}

class LoginReplies : public SessionTest, public ::testing::WithParamInterface<LoginCase>
{
};

TEST_P(LoginReplies, FailureLeavesNoConnectionAndRaisesNothing)
{
    const LoginCase& c = GetParam();
    m_server.On(msg::kLogin, [&](FakeConnection& conn, const CSocketMessage&) { c.answer(conn); });

    EXPECT_EQ(Login(), c.result);
    EXPECT_EQ(m_session->GetStatus(), 0);
    EXPECT_EQ(m_session->OperatorId(), 0);
    EXPECT_EQ(m_session->ServerHost(), "");
    EXPECT_EQ(m_session->ServerVersion(), c.version);
    auto connection = m_server.WaitConnection(0);
    ASSERT_TRUE(connection);
    EXPECT_TRUE(connection->WaitEnded()); // the session closed its end
    EXPECT_EQ(m_log.Events(), Events{});
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LoginReplies,
    ::testing::Values(
        LoginCase{"InvalidCredentials",
                  [](FakeConnection& c) {
                      Reply(c, Payload(msg::kReplyFailed, {"1001", "-24"}));
                  },
                  rc::kBadCredentials, 0},
        LoginCase{"AlreadySignedIn",
                  [](FakeConnection& c) {
                      Reply(c, Payload(msg::kReplyFailed, {"1001", "-35"}));
                  },
                  rc::kAlreadySignedIn, 0},
        // A refusal must never read as success, whatever it carries.
        LoginCase{"RefusalWithoutCode",
                  [](FakeConnection& c) { Reply(c, Payload(msg::kReplyFailed, {"1001"})); },
                  rc::kBadFormat, 0},
        LoginCase{"RefusalWithZero",
                  [](FakeConnection& c) {
                      Reply(c, Payload(msg::kReplyFailed, {"1001", "0"}));
                  },
                  rc::kBadFormat, 0},
        LoginCase{"WrongEcho",
                  [](FakeConnection& c) {
                      Reply(c, Payload(msg::kReplyOk, {"1003", "7", "16"}));
                  },
                  rc::kBadParameters, 16},
        LoginCase{"OperatorIdZero",
                  [](FakeConnection& c) {
                      Reply(c, Payload(msg::kReplyOk, {"1001", "0", "16"}));
                  },
                  rc::kBadParameters, 16},
        LoginCase{"OperatorIdMissing",
                  [](FakeConnection& c) { Reply(c, Payload(msg::kReplyOk, {"1001"})); },
                  rc::kBadParameters, rc::kBadFormat},
        LoginCase{"UnexpectedReply",
                  [](FakeConnection& c) {
                      Reply(c, Payload(1234, {"1001", "7", "15"}));
                  },
                  rc::kBadCommand, 0},
        LoginCase{"EventInsteadOfReply",
                  [](FakeConnection& c) {
                      Reply(c, Payload(msg::kEvent, {"4002", "1"}));
                  },
                  rc::kBadCommand, 0},
        LoginCase{"NegativeCode", [](FakeConnection& c) { Reply(c, "-123"); }, rc::kBadFormat, 0},
        LoginCase{"ServerCloses", [](FakeConnection& c) { c.Close(); }, rc::kPeerClosed, 0},
        LoginCase{"ClosedMidFrame",
                  [](FakeConnection& c) {
                      c.CloseMidFrame(Payload(msg::kReplyOk, {"1001", "7", "15"}), 6);
                  },
                  rc::kPeerClosed, 0},
        LoginCase{"Garbage", [](FakeConnection& c) { c.SendRaw("HTTP/1.1 400 Bad"); },
                  rc::kReceiveFailed, 0},
        LoginCase{"Silent", [](FakeConnection&) {}, rc::kIdle, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SessionTest, LoginStoresWhatTheServerGaveAndRaisesLoggedIn)
{
    auto connection = LoggedIn();
    EXPECT_EQ(connection->Received()[0].Payload(), "1001op<~>secret<~>");
    EXPECT_EQ(m_session->GetStatus(), OperatorStatus::kOnline);
    EXPECT_EQ(m_session->OperatorId(), FakeChatServer::kOperatorId);
    EXPECT_EQ(m_session->ServerVersion(), FakeChatServer::kServerVersion);
    EXPECT_EQ(m_session->ServerHost(), "127.0.0.1");
    EXPECT_EQ(m_session->ServerPort(), m_server.Port());
    EXPECT_EQ(m_log.Events(), Events{"LoggedIn"});
}

TEST_F(SessionTest, WrongPasswordIsRefusedByTheServer)
{
    EXPECT_EQ(Login("wrong"), rc::kBadCredentials);
    EXPECT_EQ(m_session->GetStatus(), 0);
}

TEST_F(SessionTest, AbsentCredentialsAreRefusedWithoutTraffic)
{
    EXPECT_EQ(m_session->Login(m_server.Host(), m_server.Port(), "op", std::nullopt),
              rc::kBadParameters);
    EXPECT_EQ(m_session->Login(m_server.Host(), m_server.Port(), std::nullopt, "secret"),
              rc::kBadParameters);
    // Had either attempt connected, the log-in below would not be the first connection.
    auto connection = LoggedIn();
    EXPECT_EQ(connection, m_server.WaitConnection(0));
    EXPECT_EQ(m_log.Events(), Events{"LoggedIn"});
}

TEST_F(SessionTest, UnreachableServerFailsToConnect)
{
    LoopbackListener closed;
    const std::uint16_t port = closed.Port();
    closed.Close();
    EXPECT_EQ(m_session->Login("127.0.0.1", port, "op", "secret"), rc::kNotConnected);
    EXPECT_EQ(m_session->Login("300.1.1.1", port, "op", "secret"), rc::kNotConnected);
    EXPECT_EQ(m_log.Events(), Events{});
}

TEST_F(SessionTest, LoginWhileLoggedInLogsOutFirst)
{
    auto first = LoggedIn();
    auto second = LoggedIn();
    EXPECT_TRUE(first->WaitEnded());
    EXPECT_FALSE(second->Ended());
    EXPECT_EQ(m_log.Events(), (Events{"LoggedIn", "LoggedOut 1", "LoggedIn"}));
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
    EXPECT_EQ(m_log.Events(), (Events{"LoggedIn", "StatusChanged 2", "LoggedOut 2"}));
    EXPECT_EQ(m_session->GetStatus(), 0);
}

TEST_F(SessionTest, DisconnectFromLoggedInOnTheLoginThreadDoesNotHang)
{
    m_log.SetHook([this](const std::string& e) {
        if (e == "LoggedIn")
            m_session->Disconnect(COperatorSession::kReasonLoggedOut);
    });
    EXPECT_EQ(Login(), rc::kOk);
    EXPECT_EQ(m_session->GetStatus(), 0);
    EXPECT_EQ(m_log.Events(), (Events{"LoggedIn", "LoggedOut 1"}));
}

TEST_F(SessionTest, SessionsAreIndependent)
{
    EventLog otherLog; // outlives the session that reports to it
    COperatorSession other(kReceiveTimeout, kReceiveTimeout);
    other.SetCallbacks(SessionCallbacks(otherLog));
    auto connection = LoggedIn();
    EXPECT_EQ(other.GetStatus(), 0);
    EXPECT_EQ(other.Login(m_server.Host(), m_server.Port(), "op", "secret"), rc::kOk);
    m_session->Disconnect(COperatorSession::kReasonLoggedOut);
    EXPECT_EQ(other.GetStatus(), OperatorStatus::kOnline);
    EXPECT_EQ(otherLog.Events(), Events{"LoggedIn"});
}

TEST(SessionInstance, IsOneUntilDestroyed)
{
    COperatorSession& first = COperatorSession::GetInstance();
    EXPECT_EQ(&first, &COperatorSession::GetInstance());
    EventLog log;
    first.SetCallbacks(SessionCallbacks(log));
    COperatorSession::DestroyInstance();
    EXPECT_EQ(log.Events(), Events{"LoggedOut 4"});
    EXPECT_EQ(COperatorSession::GetInstance().GetStatus(), 0);
    COperatorSession::DestroyInstance();
}

} // namespace
} // namespace testing_support
