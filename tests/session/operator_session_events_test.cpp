#include "loopback_peer.h"
#include "session_fixture.h"

#include <cstdlib>
#include <ctime>
#include <ostream>

namespace testing_support {
namespace {

// After log-in the session lists operator 5 (type 2, online) and visitor 17; each row pushes
// one message, then a status reply as a marker. Callbacks keep message order, so whatever the
// row raised stands before the marker.
class Dispatch : public SessionTest
{
protected:
    void SetUp() override
    {
        // List replies convert time stamps to local time; run at UTC+1 whatever the host says.
        const char* tz = std::getenv("TZ");
        m_oldTz = tz ? std::optional<std::string>(tz) : std::nullopt;
        ::setenv("TZ", "TEST-1", 1);
        ::tzset();
        SessionTest::SetUp();
        m_connection = LoggedIn();
        ASSERT_TRUE(m_connection);
        m_connection->Send(
            Payload(msg::kReplyOk, {"1006", "1", "5", "0", "2", "1", "host5", "Ann", "Lee"}));
        m_connection->Send(Payload(msg::kReplyOk, {"1007", "1", "17", "3", "http://a/p", "Guest",
                                                   "x", "2005-3-7 9:5:0", "10.0.0.1", "4"}));
        ASSERT_TRUE(m_log.WaitFor("VisitorsRefreshed"));
        m_log.Clear();
    }

    // What the payload raises, up to the marker.
    Events Raised(const std::string& payload)
    {
        m_connection->Send(payload);
        m_connection->Send(Payload(msg::kReplyOk, {"1003", "88"}));
        EXPECT_TRUE(m_log.WaitFor("StatusChanged 88"));
        Events events = m_log.Events();
        EXPECT_FALSE(events.empty());
        if (!events.empty())
            events.pop_back();
        return events;
    }

    void TearDown() override
    {
        SessionTest::TearDown();
        if (m_oldTz)
            ::setenv("TZ", m_oldTz->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }

    std::shared_ptr<FakeConnection> m_connection;
    std::optional<std::string> m_oldTz;
};

struct Row
{
    const char* name;
    std::string payload;
    Events raised;
    int operators; // listed afterwards
    int visitors;
};

void PrintTo(const Row& row, std::ostream* out)
{
    *out << row.name;
}

class DispatchRows : public Dispatch, public ::testing::WithParamInterface<Row>
{
};

TEST_P(DispatchRows, RaisesExactlyTheRowsCallbacks)
{
    const Row& row = GetParam();
    EXPECT_EQ(Raised(row.payload), row.raised);
    EXPECT_EQ(m_session->Operators().Count(), row.operators);
    EXPECT_EQ(m_session->Visitors().Count(), row.visitors);
    EXPECT_EQ(m_session->GetStatus(), 88);
}

const std::string kAnn = "5/2 st1 host5|Ann|Lee";
const std::string kGuest = "17 3 http://a/p|Guest|x|10:05:00 03/07/2005|10.0.0.1 4";

INSTANTIATE_TEST_SUITE_P(
    Replies, DispatchRows,
    ::testing::Values(
        Row{"StatusConfirmed", Payload(msg::kReplyOk, {"1003", "2"}), {"StatusChanged 2"}, 1, 1},
        Row{"OperatorsReloaded",
            Payload(msg::kReplyOk, {"1006", "2", "8", "0", "2", "3", "h8", "Bo", "Ng", "9", "0",
                                    "2", "1", "h9", "Cy", "Ot"}),
            {"OperatorsRefreshed"},
            2,
            1},
        Row{"OperatorsReloadedEmpty",
            Payload(msg::kReplyOk, {"1006", "0"}),
            {"OperatorsRefreshed"},
            0,
            1},
        Row{"VisitorsReloaded",
            Payload(msg::kReplyOk, {"1007", "2", "1", "0", "p", "c", "", "t", "ip", "0", "2", "0",
                                    "p", "c", "", "t", "ip", "0"}),
            {"VisitorsRefreshed"},
            1,
            2},
        Row{"InvitedListedVisitor",
            Payload(msg::kReplyOk, {"4003", "17"}),
            {"VisitorInvited " + kGuest},
            1,
            1},
        Row{"InvitedVisitorGone", Payload(msg::kReplyOk, {"4003", "18"}), {}, 1, 1},
        Row{"OtherReply", Payload(msg::kReplyOk, {"2002", "5"}), {"Other 2002 5"}, 1, 1},
        Row{"OtherReplyWithoutValue", Payload(msg::kReplyOk, {"3001"}), {"Other 3001 -16"}, 1, 1},
        Row{"Refusal", Payload(msg::kReplyFailed, {"1003", "-27"}), {"Other 1003 -27"}, 1, 1}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Events, DispatchRows,
    ::testing::Values(
        Row{"OperatorAdded",
            Payload(msg::kEvent, {"1001", "6", "0", "2", "3", "h6", "Di", "Ro"}),
            {"OperatorAdded 6/2 st3 h6|Di|Ro"},
            2,
            1},
        Row{"OperatorOfOtherTypeAdded",
            Payload(msg::kEvent, {"1001", "5", "0", "1", "1"}),
            {"OperatorAdded 5/1 st1 ||"},
            2,
            1},
        Row{"OperatorAlreadyListed",
            Payload(msg::kEvent, {"1001", "5", "0", "2", "3", "other", "Z", "Z"}),
            {},
            1,
            1},
        Row{"OperatorRemoved",
            Payload(msg::kEvent, {"1002", "5", "2"}),
            {"OperatorRemoved " + kAnn},
            0,
            1},
        Row{"UnlistedOperatorRemoved", Payload(msg::kEvent, {"1002", "5", "1"}), {}, 1, 1},
        Row{"OperatorStatus",
            Payload(msg::kEvent, {"1003", "5", "2", "3"}),
            {"OperatorUpdated 5/2 st3 host5|Ann|Lee"},
            1,
            1},
        Row{"UnlistedOperatorStatus", Payload(msg::kEvent, {"1003", "6", "2", "3"}), {}, 1, 1},
        Row{"IncomingCall",
            Payload(msg::kEvent, {"2001", "12", "44", "Guest", "page"}),
            {"IncomingCall 44 12 1 [Guest] [page] -"},
            1,
            1},
        Row{"IncomingCallWithoutName",
            Payload(msg::kEvent, {"2001", "12", "44", "", "page"}),
            {"IncomingCall 44 12 1 - [page] -"},
            1,
            1},
        Row{"CallTransfer",
            Payload(msg::kEvent, {"2002", "3", "45", "Ann", "Lee", "note"}),
            {"IncomingCall 45 3 2 [Ann] [Lee] [note]"},
            1,
            1},
        Row{"VisitorEntered",
            Payload(msg::kEvent,
                    {"4001", "18", "1", "http://b", "Bob", "y", "2005-3-7 9:5:0", "10.0.0.2", "9"}),
            {"VisitorAdded 18 1 http://b|Bob|y|2005-3-7 9:5:0|10.0.0.2 9"},
            1,
            2},
        Row{"VisitorAlreadyListed", Payload(msg::kEvent, {"4001", "17", "1", "other"}), {}, 1, 1},
        Row{"VisitorLeft",
            Payload(msg::kEvent, {"4002", "17"}),
            {"VisitorRemoved " + kGuest},
            1,
            0},
        Row{"UnlistedVisitorLeft", Payload(msg::kEvent, {"4002", "18"}), {}, 1, 1},
        Row{"UnknownEvent", Payload(msg::kEvent, {"7777", "1", "2"}), {}, 1, 1}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    OtherCodes, DispatchRows,
    ::testing::Values(Row{"KeepAliveIgnored", Payload(msg::kKeepAlive), {}, 1, 1},
                      Row{"UnknownCode", Payload(1234, {"1", "5"}), {"Other 9999 5"}, 1, 1},
                      Row{"UnknownCodeWithoutFields", Payload(1234), {"Other 9999 -16"}, 1, 1},
                      Row{"ShortPayload", "12", {"Other 9999 -16"}, 1, 1},
                      Row{"BlankCode", "    <~>3<~>", {"Other 9999 3"}, 1, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Dispatch, OperatorListReplyKeepsTheFirstOfARepeatedKey)
{
    Raised(Payload(msg::kReplyOk, {"1006", "2", "8", "0", "2", "3", "first", "", "", "8", "0", "2",
                                   "1", "second", "", ""}));
    ASSERT_EQ(m_session->Operators().Count(), 1);
    EXPECT_EQ(m_session->Operators().FindCopy(8, UserType::kOperator)->text1, "first");
}

TEST_F(Dispatch, ListReplyAnnouncingMoreThanItCarriesLoadsWhatItCarries)
{
    Raised(Payload(msg::kReplyOk,
                   {"1007", "2000000000", "30", "0", "p", "c", "", "t", "ip", "0", "31", "1"}));
    const auto visitors = m_session->Visitors().Snapshot();
    ASSERT_EQ(visitors.size(), 2u);
    EXPECT_EQ(visitors[1].id, 31);
    EXPECT_EQ(visitors[1].number1, 1);
    EXPECT_EQ(visitors[1].text1, "");
    EXPECT_EQ(visitors[1].number2, rc::kBadFormat);
}

struct EndCase
{
    const char* name;
    std::function<void(FakeConnection&)> end;
};

void PrintTo(const EndCase& c, std::ostream* out)
{
    *out << c.name;
}

class ConnectionEnds : public SessionTest, public ::testing::WithParamInterface<EndCase>
{
};

TEST_P(ConnectionEnds, ReceiveThreadReportsTheLossOnce)
{
    auto connection = LoggedIn();
    GetParam().end(*connection);
    ASSERT_TRUE(m_log.WaitFor("LoggedOut 2"));
    EXPECT_TRUE(connection->WaitEnded());
    EXPECT_EQ(m_session->GetStatus(), 0);
    EXPECT_EQ(m_session->OperatorId(), 0);
    EXPECT_EQ(m_session->ServerHost(), "");
    // The lists stay until the next reload.
    m_session->Disconnect(COperatorSession::kReasonLoggedOut);
    EXPECT_EQ(m_log.Events(), (Events{"LoggedIn", "LoggedOut 2", "LoggedOut 1"}));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ConnectionEnds,
    ::testing::Values(
        EndCase{"ServerCloses", [](FakeConnection& c) { c.Close(); }},
        EndCase{"ClosedMidFrame",
                [](FakeConnection& c) {
                    c.CloseMidFrame(Payload(msg::kEvent, {"4002", "1"}), 3);
                }},
        EndCase{"HalfAHeaderThenSilence", [](FakeConnection& c) { c.SendRaw("<!>"); }},
        EndCase{"BodyNeverCompletes",
                [](FakeConnection& c) {
                    c.SendRaw(std::string("<!>\0\0\0\x20"
                                          "9003",
                                          11));
                }},
        EndCase{"Garbage", [](FakeConnection& c) { c.SendRaw("GET / HTTP/1.0\r\n\r\n"); }},
        EndCase{"ZeroLength", [](FakeConnection& c) { c.SendRaw(std::string("<!>\0\0\0\0", 7)); }},
        EndCase{"NegativeLength",
                [](FakeConnection& c) { c.SendRaw(std::string("<!>\x80\0\0\x01", 7)); }},
        EndCase{"NegativeCode", [](FakeConnection& c) { c.Send("-901<~>"); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SessionTest, SilentServerKeepsTheSessionThroughIdleWaits)
{
    auto connection = LoggedIn();
    // Several receive time-outs pass without the session giving up the connection.
    EXPECT_FALSE(connection->WaitEnded(kReceiveTimeout * 6));
    connection->Send(Payload(msg::kReplyOk, {"1003", "3"}));
    EXPECT_TRUE(m_log.WaitFor("StatusChanged 3"));
    EXPECT_EQ(m_log.Events(), (Events{"LoggedIn", "StatusChanged 3"}));
}

TEST_F(SessionTest, DisconnectWhileTheThreadWaitsEndsItWithoutASecondReport)
{
    auto connection = LoggedIn();
    EXPECT_EQ(m_session->Disconnect(COperatorSession::kReasonLoggedOut), 0);
    // Disconnect returned: the receive thread is gone, so nothing it could raise is pending.
    EXPECT_TRUE(connection->WaitEnded());
    EXPECT_EQ(m_log.Events(), (Events{"LoggedIn", "LoggedOut 1"}));
    EXPECT_EQ(m_session->GetStatus(), 0);
    EXPECT_EQ(m_session->ServerHost(), "");
    EXPECT_EQ(m_session->Disconnect(COperatorSession::kReasonLoggedOut), 0);
    EXPECT_EQ(m_log.Events(), (Events{"LoggedIn", "LoggedOut 1", "LoggedOut 1"}));
}

TEST_F(SessionTest, DisconnectFromACallbackOnTheReceiveThread)
{
    m_log.SetHook([this](const std::string& e) {
        if (e.rfind("VisitorAdded", 0) == 0)
            m_session->Disconnect(COperatorSession::kReasonLoggedOut);
    });
    auto connection = LoggedIn();
    connection->Send(Payload(msg::kEvent, {"4001", "9"}));
    connection->Send(Payload(msg::kEvent, {"4001", "10"})); // never dispatched
    EXPECT_TRUE(connection->WaitEnded());
    ASSERT_TRUE(m_log.WaitFor("LoggedOut 1"));
    // The thread that disconnected itself is joined by the next log-in.
    auto next = LoggedIn();
    EXPECT_EQ(m_log.Events(),
              (Events{"LoggedIn", "VisitorAdded 9 -16 |||| -16", "LoggedOut 1", "LoggedIn"}));
}

TEST_F(SessionTest, LoginFromACallbackOnTheReceiveThreadIsRefused)
{
    int nested = 1;
    m_log.SetHook([&](const std::string& e) {
        if (e == "StatusChanged 2")
            nested = m_session->Login(m_server.Host(), m_server.Port(), "op", "secret");
    });
    auto connection = LoggedIn();
    connection->Send(Payload(msg::kReplyOk, {"1003", "2"}));
    ASSERT_TRUE(m_log.WaitFor("StatusChanged 2"));
    m_session->Disconnect(COperatorSession::kReasonLoggedOut);
    m_log.SetHook(nullptr);
    EXPECT_EQ(nested, rc::kThreadFailed);
}

TEST_F(SessionTest, DestructionReportsReasonFourAndNothingAfter)
{
    auto connection = LoggedIn();
    std::atomic<bool> destroyed{false};
    std::atomic<int> late{0};
    m_log.SetHook([&](const std::string&) { late += destroyed.load(); });
    connection->Send(Payload(msg::kReplyOk, {"1003", "2"}));
    ASSERT_TRUE(m_log.WaitFor("StatusChanged 2"));
    m_session.reset();
    destroyed = true;
    for (int i = 0; i < 50; ++i)
        connection->Send(Payload(msg::kEvent, {"4001", std::to_string(i).c_str()}));
    EXPECT_TRUE(connection->WaitEnded());
    EXPECT_EQ(m_log.Events(), (Events{"LoggedIn", "StatusChanged 2", "LoggedOut 4"}));
    EXPECT_EQ(late, 0);
}

TEST_F(SessionTest, ClearedCallbacksAreNeitherRunningNorRaisedAfterwards)
{
    auto connection = LoggedIn();
    std::atomic<bool> cleared{false};
    std::atomic<int> late{0};
    std::atomic<int> seen{0};
    m_log.SetHook([&](const std::string&) {
        late += cleared.load();
        ++seen;
    });
    std::thread flood([&] {
        for (int i = 0; i < 2000 && !connection->Ended(); ++i)
            connection->Send(Payload(msg::kReplyOk, {"1003", std::to_string(i).c_str()}));
    });
    while (seen < 10)
        std::this_thread::yield();
    m_session->ClearCallbacks();
    cleared = true;
    flood.join();
    m_session->Disconnect(COperatorSession::kReasonLoggedOut);
    EXPECT_EQ(late, 0);
}

} // namespace
} // namespace testing_support
