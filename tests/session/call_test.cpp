// Calls and their channel 0 against the scripted fake server: opening (also twice at once),
// posting, every message a channel dispatches, caps both ways, a stalled server, losses and
// closes from every thread that may close.
#include "session_rig.h"
#include "socket_message.h"

#include <atomic>
#include <latch>
#include <set>
#include <thread>

namespace testing_support {
namespace {

class CallTest : public SessionTest
{
protected:
    void SetUp() override
    {
        SessionTest::SetUp();
        m_operator = LoggedIn();
    }
    std::shared_ptr<FakeConnection> m_operator;
};

TEST_F(CallTest, OpenCallSendsTheOpeningAndRefusesAListedIdWithoutTraffic)
{
    EXPECT_EQ(m_session->Calls().OpenCall(44), rc::kOk);
    EXPECT_EQ(m_server.WaitChannel(44)->Next()->Payload(), "200344<~>7<~>0<~>2<~>");
    EXPECT_EQ(m_session->Calls().OpenCall(44), rc::kCallNotFound);
    EXPECT_EQ(m_server.ConnectionCount(), 2u);
    m_session->Disconnect(COperatorSession::kReasonLoggedOut);
    EXPECT_EQ(m_session->Calls().OpenCall(45), rc::kNotConnected); // no server to connect to
    EXPECT_EQ(m_server.ConnectionCount(), 2u);
}

// While one OpenCall waits for its answer, a second one of the same call is refused at once;
// exactly one channel opens and one call is listed.
TEST_F(CallTest, TwoOpenCallsOfOneIdAtOnceOpenItOnce)
{
    std::latch answering(1), release(1);
    std::atomic<int> openings{0};
    m_server.On(msg::kOpenMainChannel, [&](FakeConnection& c, const CSocketMessage& m) {
        if (openings++ == 0) {
            answering.count_down();
            release.wait();
        }
        m_server.DefaultAnswer(c, m);
    });
    int first = 1;
    std::thread opener([&] { first = m_session->Calls().OpenCall(44, CallCallbacks(m_calls)); });
    answering.wait();
    EXPECT_EQ(m_session->Calls().OpenCall(44), rc::kCallNotFound);
    release.count_down();
    opener.join();
    EXPECT_EQ(first, rc::kOk);
    EXPECT_EQ(openings, 1);
    EXPECT_EQ(m_session->Calls().Count(), 1);
    EXPECT_EQ(m_session->Calls().CloseCall(44), rc::kOk);
}

struct OpenCase
{
    const char* name;
    std::string answer; // raw bytes answering the opening; "close": hang up; empty: silence
    int result;
};

class OpenReplies : public CallTest, public ::testing::WithParamInterface<OpenCase>
{
};

TEST_P(OpenReplies, FailureLeavesTheCallUnlistedAndItsChannelClosed)
{
    m_server.On(msg::kOpenMainChannel, [&](FakeConnection& c, const CSocketMessage&) {
        GetParam().answer == "close" ? c.Close() : (void)c.SendRaw(GetParam().answer);
    });
    EXPECT_EQ(m_session->Calls().OpenCall(44, CallCallbacks(m_calls)), GetParam().result);
    EXPECT_EQ(m_session->Calls().Find(44), nullptr);
    EXPECT_TRUE(m_server.WaitChannel(44)->WaitEnded());
    // The failed open, the channel's destruction and the call's each report it.
    EXPECT_EQ(m_calls.Lines(), (Events{"CallClosed 1", "CallClosed 1", "CallClosed 1"}));
    m_server.On(msg::kOpenMainChannel,
                [&](FakeConnection& c, const CSocketMessage& m) { m_server.DefaultAnswer(c, m); });
    EXPECT_EQ(m_session->Calls().OpenCall(44), rc::kOk); // the same id can be tried again
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OpenReplies,
    ::testing::Values(
        // A channel refusal carries its code in field 1.
        OpenCase{"Refused", FrameOf(Payload(msg::kReplyFailed, {"-24", "2003"})),
                 rc::kBadCredentials},
        OpenCase{"RefusalWithoutCode", FrameOf(Payload(msg::kReplyFailed)), rc::kBadFormat},
        OpenCase{"WrongEcho", FrameOf(Payload(msg::kReplyOk, {"3001"})), rc::kBadParameters},
        OpenCase{"UnexpectedReply", FrameOf(Payload(msg::kChatData, {"1", "x"})), rc::kBadCommand},
        OpenCase{"ServerCloses", "close", rc::kPeerClosed},
        OpenCase{"Silent", "", rc::kIdle}),
    [](const auto& info) { return std::string(info.param.name); });

// The sender is held inside its first report while the rest is posted: one wake-up stands for
// all of them, and they go out in order.
TEST_F(CallTest, EverythingPostedGoesOutInOrderAndIsReportedSent)
{
    constexpr int kLines = 200;
    auto channel = Opened(44);
    std::latch posted(1);
    m_calls.SetHook([&](const std::string& e) {
        if (e == "MessageSent 30031<~>op<~>0<~>")
            posted.wait();
    });
    for (int i = 0; i < kLines; ++i)
        EXPECT_EQ(Call(44)->Post(ChatLine(std::to_string(i))), rc::kOk);
    posted.count_down();
    ASSERT_TRUE(channel->WaitReceived(1 + kLines));
    ASSERT_TRUE(m_calls.WaitFor("MessageSent 30031<~>op<~>199<~>"));
    const auto received = channel->Received();
    const Events sent = m_calls.Lines();
    for (int i = 0; i < kLines; ++i) {
        EXPECT_EQ(received[static_cast<size_t>(1 + i)].GetField(3), std::to_string(i));
        EXPECT_EQ(sent[static_cast<size_t>(i)], "MessageSent 30031<~>op<~>" + std::to_string(i) + "<~>");
    }
}

// The call lists participant 30 (a visitor), the session operator 8. Each row pushes one
// message on channel 0, then a notice as a marker.
struct ChannelRow
{
    const char* name;
    std::string payload;
    Events raised;
    int participants;
};

class ChannelDispatch : public CallTest, public ::testing::WithParamInterface<ChannelRow>
{
};

TEST_P(ChannelDispatch, RaisesExactlyTheRowsCallbacks)
{
    m_operator->Send(Payload(msg::kReplyOk, {"1006", "1", "8", "0", "2", "2", "h8", "Bo", "Ng"}));
    ASSERT_TRUE(m_log.WaitFor("OperatorsRefreshed"));
    auto channel = Opened(44);
    const std::string marker = Payload(msg::kChatData, {"3", "", "marker"});
    channel->Send(Payload(msg::kEvent, {"2003", "30", "1", "0", "Guest", ""}));
    channel->Send(GetParam().payload);
    channel->Send(marker);
    ASSERT_TRUE(m_calls.WaitFor("ChatData " + marker));
    Events raised = m_calls.Lines();
    EXPECT_EQ(raised.front(), "ParticipantAdded 30/1 st1 |Guest|");
    EXPECT_EQ(Events(raised.begin() + 1, raised.end() - 1), GetParam().raised);
    EXPECT_EQ(Call(44)->Participants().Count(), GetParam().participants);
}

const std::string kLine = Payload(msg::kChatData, {"1", "Guest", "Hello"});

INSTANTIATE_TEST_SUITE_P(
    Rows, ChannelDispatch,
    ::testing::Values(
        ChannelRow{"ChatLine", kLine, {"ChatData " + kLine}, 1},
        ChannelRow{"ParticipantsReloaded",
                   Payload(msg::kReplyOk, {"1006", "2", "7", "0", "2", "1", "", "Me", "Op", "31",
                                           "0", "1", "0", "", "Other", ""}),
                   {"ParticipantsRefreshed"}, 2},
        ChannelRow{"TransferToListedOperator", Payload(msg::kReplyOk, {"2002", "8"}),
                   {"Transferred 8/2 st2 h8|Bo|Ng"}, 1},
        ChannelRow{"TransferToUnlistedOperator", Payload(msg::kReplyOk, {"2002", "9"}), {}, 1},
        ChannelRow{"OtherReply", Payload(msg::kReplyOk, {"1003", "2"}), {"Other 9001 1003"}, 1},
        ChannelRow{"Refusal", Payload(msg::kReplyFailed, {"2002", "-27"}), {"Other 2002 -27"}, 1},
        ChannelRow{"ListedParticipantJoined", Payload(msg::kEvent, {"2003", "30", "1", "0", "X"}),
                   {}, 1},
        ChannelRow{"ParticipantLeft", Payload(msg::kEvent, {"2004", "30", "1"}),
                   {"ParticipantRemoved 30/1 st1 |Guest|"}, 0},
        ChannelRow{"ChannelClosed", Payload(msg::kEvent, {"3002", "4", "5"}),
                   {"ChannelEvent 4 5 -16 1"}, 1},
        ChannelRow{"OtherEvent", Payload(msg::kEvent, {"4001", "1"}), {"Other 9003 4001"}, 1},
        ChannelRow{"KeepAliveIsUnknownHere", Payload(msg::kKeepAlive), {"Other 5001 -4"}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CallTest, LostChannelIsReportedOnceAndTheCallStaysListedUntilClosed)
{
    auto channel = Opened(44);
    channel->Close();
    ASSERT_TRUE(m_calls.WaitFor("CallClosed 2"));
    EXPECT_EQ(m_session->Calls().OpenCall(44), rc::kCallNotFound);
    EXPECT_EQ(Call(44)->Post(ChatLine("late")), rc::kOk); // reported, not lost
    ASSERT_TRUE(m_calls.WaitFor("Other 3003 -3"));
    const auto call = Call(44);
    EXPECT_EQ(m_session->Calls().CloseCall(44), rc::kOk);
    EXPECT_EQ(m_calls.Lines(), (Events{"CallClosed 2", "Other 3003 -3", "CallClosed 1",
                                       "CallClosed 1", "CallClosed 1", "CallClosed 1"}));
    EXPECT_EQ(m_session->Calls().CloseCall(44), rc::kCallNotFound);
    EXPECT_EQ(call->Post(ChatLine("after")), rc::kChannelNotFound); // the window's copy is inert
}

// A message above the channel's cap is refused whole and reported unsent; the channel goes on.
TEST_F(CallTest, MessageTooLargeToSendIsReportedUnsent)
{
    auto channel = Opened(44);
    Call(44)->Post(ChatLine(std::string(limits::kChannelFrame, 'x')));
    Call(44)->Post(ChatLine("small"));
    ASSERT_TRUE(m_calls.WaitFor("MessageSent 30031<~>op<~>small<~>"));
    EXPECT_EQ(m_calls.Lines().front(), "Other 3003 -3");
    ASSERT_TRUE(channel->WaitReceived(2)); // the opening and the small line alone
    EXPECT_EQ(channel->Received().back().GetField(3), "small");
}

// A frame above the channel's cap (far below the operator connection's) ends the call as
// broken, even when the whole body follows.
TEST_F(CallTest, FrameAboveTheChannelCapEndsTheCall)
{
    auto channel = Opened(44);
    channel->Send(Payload(msg::kChatData, {"1", "Guest", std::string(limits::kChannelFrame, 'x')}));
    ASSERT_TRUE(m_calls.WaitFor("CallClosed 2"));
    EXPECT_EQ(m_calls.Lines(), Events{"CallClosed 2"});
}

// The server stops reading: once a line goes out only in part, the connection ends, the loss
// is reported and every line behind it is reported unsent, in order; the server sees the cut
// frame end the stream, never a later frame as its rest.
TEST_F(CallTest, StalledServerCutsALineAndEverythingAfterIsReportedUnsent)
{
    constexpr int kLines = 16; // far more than the socket buffers hold
    m_allowedViolation = "frame cut short";
    auto channel = Opened(44);
    channel->HoldReading(true);
    for (int i = 0; i < kLines; ++i)
        Call(44)->Post(ChatLine(std::to_string(i) + std::string(900'000, 'x')));
    ASSERT_TRUE(m_calls.WaitFor("CallClosed 2"));
    while (m_calls.CountOf("MessageSent") + m_calls.CountOf("Other 3003 -3") < kLines)
        std::this_thread::yield();
    const size_t sent = m_calls.CountOf("MessageSent");
    EXPECT_GT(sent, 0u);
    EXPECT_LT(sent, static_cast<size_t>(kLines));
    Events reports = m_calls.Lines();
    std::erase(reports, "CallClosed 2");
    for (size_t i = sent; i < reports.size(); ++i)
        EXPECT_EQ(reports[i], "Other 3003 -3") << i;
    channel->HoldReading(false);
    EXPECT_TRUE(channel->WaitEnded());
    EXPECT_EQ(channel->Violation(), "frame cut short");
    EXPECT_EQ(channel->Received().size(), 1 + sent);
}

// A callback may close its own call: the channel's threads keep it alive until they return.
TEST_F(CallTest, CloseCallFromItsOwnReceiverThread)
{
    auto channel = Opened(44);
    m_calls.SetHook([&](const std::string& e) {
        if (e == "ChatData " + kLine)
            m_calls.Log("Closed " + std::to_string(m_session->Calls().CloseCall(44)));
    });
    std::weak_ptr<CCall> watch = Call(44);
    channel->Send(kLine);
    channel->Send(kLine);
    EXPECT_TRUE(channel->WaitEnded());
    ASSERT_TRUE(m_calls.WaitFor("Closed 0"));
    while (!watch.expired())
        std::this_thread::yield();
    EXPECT_EQ(m_calls.CountOf("ChatData " + kLine), 1u);
    EXPECT_EQ(m_session->Calls().Count(), 0);
}

// Calls opened, chatting and closed from several threads while the server hangs up channels:
// every line posted is reported once, sent or not; run under ThreadSanitizer in CI.
TEST_F(CallTest, ManyCallsChatAndCloseWhileTheServerDropsChannels)
{
    m_server.SetChatEcho(true);
    std::atomic<bool> done{false};
    std::thread chaos([&] {
        std::set<FakeConnection*> seen;
        for (unsigned n = 0; !done; std::this_thread::yield())
            for (const auto& channel : m_server.Channels())
                if (seen.insert(channel.get()).second && ++n % 4 == 0)
                    channel->Close();
    });
    std::atomic<int> bad{0};
    std::vector<std::thread> windows;
    for (int t = 0; t < 4; ++t) {
        windows.emplace_back([&, t] {
            for (int id = 1000 * t; id < 1000 * t + 6; ++id) {
                EventLog log;
                const int opened = m_session->Calls().OpenCall(id, CallCallbacks(log));
                // Only a channel the server dropped while opening may fail.
                bad += opened != rc::kOk && opened != rc::kPeerClosed && opened != rc::kReceiveFailed;
                for (int i = 0; opened == rc::kOk && i < 5; ++i) // echoed while the call closes
                    m_session->Calls().Find(id)->Post(ChatLine(std::to_string(i)));
                bad += opened == rc::kOk && m_session->Calls().CloseCall(id) != rc::kOk;
                bad += log.CountOf("CallClosed 2") > 1;
                bad += opened == rc::kOk && log.CountOf("MessageSent") + log.CountOf("Other 3003 -3") != 5;
            }
        });
    }
    for (auto& w : windows)
        w.join();
    done = true;
    chaos.join();
    EXPECT_EQ(bad, 0);
    EXPECT_EQ(m_session->Calls().Count(), 0);
}

} // namespace
} // namespace testing_support
