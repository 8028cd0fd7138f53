#include "loopback_peer.h"
#include "session_fixture.h"

#include <ostream>

namespace testing_support {
namespace {

struct CommandCase
{
    const char* name;
    std::function<int(COperatorSession&)> run;
    std::string payload;    // what reaches the server
    bool disconnectsOnFail; // a failed send ends the session with reason 3
};

void PrintTo(const CommandCase& c, std::ostream* out)
{
    *out << c.name;
}

class Commands : public SessionTest, public ::testing::WithParamInterface<CommandCase>
{
};

TEST_P(Commands, SendOneMessageAndReturnItsLength)
{
    const CommandCase& c = GetParam();
    // The server stays silent, so the command's own effect is all there is to see.
    m_server.On(std::stoi(c.payload.substr(0, 4)), [](FakeConnection&, const CSocketMessage&) {});
    auto connection = LoggedIn();
    EXPECT_EQ(c.run(*m_session), static_cast<int>(c.payload.size()));
    const auto sent = connection->Next();
    ASSERT_TRUE(sent);
    EXPECT_EQ(sent->Payload(), c.payload);
    EXPECT_EQ(m_session->GetStatus(), OperatorStatus::kOnline);
    EXPECT_EQ(m_log.Events(), Events{"LoggedIn"});
}

TEST_P(Commands, WithoutConnectionFailAndDisconnectUnlessKeepAlive)
{
    const CommandCase& c = GetParam();
    EXPECT_EQ(c.run(*m_session), rc::kNotConnected);
    EXPECT_EQ(m_log.Events(), c.disconnectsOnFail ? Events{"LoggedOut 3"} : Events{});
}

TEST_P(Commands, AfterTheConnectionWasLostFailTheSameWay)
{
    const CommandCase& c = GetParam();
    auto connection = LoggedIn();
    connection->Close();
    ASSERT_TRUE(m_log.WaitFor("LoggedOut 2"));
    EXPECT_EQ(c.run(*m_session), rc::kNotConnected);
    Events expected{"LoggedIn", "LoggedOut 2"};
    if (c.disconnectsOnFail)
        expected.push_back("LoggedOut 3");
    EXPECT_EQ(m_log.Events(), expected);
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
        CommandCase{"InviteVisitor",
                    [](COperatorSession& s) { return s.InviteVisitor(17, "Hello there"); },
                    Payload(msg::kInviteVisitor, {"17", "Hello there"}), true},
        CommandCase{"InviteVisitorWithoutText",
                    [](COperatorSession& s) { return s.InviteVisitor(-3, ""); },
                    Payload(msg::kInviteVisitor, {"-3", ""}), true},
        CommandCase{"KeepAlive", [](COperatorSession& s) { return s.KeepAlive(); },
                    Payload(msg::kKeepAlive), false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SessionTest, StatusChangesOnlyWhenTheServerConfirmsIt)
{
    m_server.On(msg::kSetStatus, [](FakeConnection&, const CSocketMessage&) {});
    auto connection = LoggedIn();
    EXPECT_EQ(m_session->SetStatus(OperatorStatus::kBusy), 8);
    ASSERT_TRUE(connection->WaitReceived(2));
    EXPECT_EQ(m_session->GetStatus(), OperatorStatus::kOnline);
    connection->Send(Payload(msg::kReplyOk, {"1003", "2"}));
    ASSERT_TRUE(m_log.WaitFor("StatusChanged 2"));
    EXPECT_EQ(m_session->GetStatus(), OperatorStatus::kBusy);
}

TEST_F(SessionTest, InvitationIsConfirmedForAListedVisitor)
{
    m_server.SetListReply(
        msg::kRequestVisitors,
        Payload(msg::kReplyOk, {"1007", "1", "17", "0", "p", "Guest", "", "t", "ip", "0"}));
    auto connection = LoggedIn();
    EXPECT_EQ(m_session->RequestVisitors(), 4);
    ASSERT_TRUE(m_log.WaitFor("VisitorsRefreshed"));
    EXPECT_EQ(m_session->InviteVisitor(17, "op"), 14);
    EXPECT_EQ(m_session->InviteVisitor(18, "op"), 14);
    EXPECT_TRUE(m_log.WaitFor("VisitorInvited 17 0 p|Guest||t|ip 0"));
    // The reply for 18 names a visitor the session does not list: nothing is raised for it.
    m_session->RequestOperators();
    ASSERT_TRUE(m_log.WaitFor("OperatorsRefreshed"));
    EXPECT_EQ(m_log.Events(),
              (Events{"LoggedIn", "VisitorsRefreshed", "VisitorInvited 17 0 p|Guest||t|ip 0",
                      "OperatorsRefreshed"}));
}

} // namespace
} // namespace testing_support
