#include "call_fixture.h"
#include "loopback_peer.h"

#include <latch>
#include <ostream>

namespace testing_support {
namespace {

TEST_F(CallTest, OpenCallSendsTheOpeningAndListsTheCall)
{
    auto call = Opened(44);
    ASSERT_TRUE(call);
    EXPECT_EQ(call->CallId(), 44);
    EXPECT_EQ(m_session->Calls().Count(), 1);
    auto channel = m_server.WaitChannel(44);
    ASSERT_TRUE(channel);
    EXPECT_EQ(channel->Next()->Payload(), "200344<~>7<~>0<~>2<~>");
}

TEST_F(CallTest, OpenCallOfAListedIdIsRefusedWithoutTraffic)
{
    Opened(44);
    EXPECT_EQ(m_session->Calls().OpenCall(44), rc::kCallNotFound);
    // Had the refused attempt connected, the next call would not be the third connection.
    Opened(45);
    auto third = m_server.WaitConnection(2);
    ASSERT_TRUE(third);
    EXPECT_EQ(third->Next()->GetIntField(msg::channelOpen::kFieldCallId), 45);
    EXPECT_EQ(m_server.ConnectionCount(), 3u);
}

TEST_F(SessionTest, OpenCallWithoutLogInFailsWithoutTraffic)
{
    EXPECT_EQ(m_session->Calls().OpenCall(44), rc::kNotConnected);
    EXPECT_EQ(m_session->Calls().Count(), 0);
    auto connection = LoggedIn(); // the first connection of all
    EXPECT_EQ(connection, m_server.WaitConnection(0));
}

struct OpenCase
{
    const char* name;
    std::function<void(FakeConnection&)> answer;
    int result;
};

void PrintTo(const OpenCase& c, std::ostream* out)
{
    *out << c.name;
}

class OpenReplies : public CallTest, public ::testing::WithParamInterface<OpenCase>
{
};

TEST_P(OpenReplies, FailureLeavesTheCallUnlistedAndTheChannelClosed)
{
    m_server.On(msg::kOpenMainChannel,
                [&](FakeConnection& c, const CSocketMessage&) { GetParam().answer(c); });
    EXPECT_EQ(m_session->Calls().OpenCall(44), GetParam().result);
    EXPECT_EQ(m_session->Calls().Count(), 0);
    EXPECT_EQ(m_session->Calls().Find(44), nullptr);
    auto channel = m_server.WaitChannel(44);
    ASSERT_TRUE(channel);
    EXPECT_TRUE(channel->WaitEnded());
    // The same id can be tried again.
    m_server.On(msg::kOpenMainChannel,
                [&](FakeConnection& c, const CSocketMessage& m) { m_server.DefaultAnswer(c, m); });
    EXPECT_EQ(m_session->Calls().OpenCall(44), rc::kOk);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OpenReplies,
    ::testing::Values(
        // A channel refusal carries its code in field 1.
        OpenCase{"InvalidCredentials",
                 [](FakeConnection& c) { c.Send(Payload(msg::kReplyFailed, {"-24"})); },
                 rc::kBadCredentials},
        OpenCase{"CallNotFound",
                 [](FakeConnection& c) {
                     c.Send(Payload(msg::kReplyFailed, {"-28", "2003"}));
                 },
                 rc::kCallNotFound},
        OpenCase{"RefusalWithoutCode",
                 [](FakeConnection& c) { c.Send(Payload(msg::kReplyFailed)); }, rc::kBadFormat},
        OpenCase{"RefusalWithZero",
                 [](FakeConnection& c) { c.Send(Payload(msg::kReplyFailed, {"0"})); },
                 rc::kBadFormat},
        OpenCase{"WrongEcho", [](FakeConnection& c) { c.Send(Payload(msg::kReplyOk, {"3001"})); },
                 rc::kBadParameters},
        OpenCase{"EchoMissing", [](FakeConnection& c) { c.Send(Payload(msg::kReplyOk)); },
                 rc::kBadParameters},
        OpenCase{"UnexpectedReply",
                 [](FakeConnection& c) {
                     c.Send(Payload(msg::kChatData, {"1", "x", "y"}));
                 },
                 rc::kBadCommand},
        OpenCase{"ServerCloses", [](FakeConnection& c) { c.Close(); }, rc::kPeerClosed},
        OpenCase{"Garbage", [](FakeConnection& c) { c.SendRaw("<?xml version='1.0'?>"); },
                 rc::kReceiveFailed},
        OpenCase{"Silent", [](FakeConnection&) {}, rc::kIdle}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CallTest, CallbacksGivenToOpenCallSeeAServerThatHangsUpAtOnce)
{
    m_server.On(msg::kOpenMainChannel, [](FakeConnection& c, const CSocketMessage&) {
        c.Send(Payload(msg::kReplyOk, {"2003"}));
        c.Close();
    });
    EXPECT_EQ(m_session->Calls().OpenCall(44, CallCallbacks(m_calls)), 0);
    EXPECT_TRUE(m_calls.WaitFor("CallClosed 2"));
    EXPECT_EQ(m_calls.Events(), Events{"CallClosed 2"});
}

TEST_F(CallTest, FailedOpenReportsTheCallClosedToCallbacksGivenToOpenCall)
{
    m_server.Answer(msg::kOpenMainChannel, Payload(msg::kReplyFailed, {"-24"}));
    EXPECT_EQ(m_session->Calls().OpenCall(44, CallCallbacks(m_calls)), rc::kBadCredentials);
    // The failed open, the channel's destruction and the call's each report it.
    EXPECT_EQ(m_calls.Events(), (Events{"CallClosed 1", "CallClosed 1", "CallClosed 1"}));
}

TEST_F(CallTest, PostedLinesArriveInOrderAndAreReportedSent)
{
    auto call = Opened(44);
    auto channel = ChannelOf(44);
    for (const char* text : {"one", "two", "three"})
        EXPECT_EQ(call->Post(ChatLine(text)), 0);
    ASSERT_TRUE(channel->WaitReceived(4));
    const auto received = channel->Received();
    EXPECT_EQ(received[1].Payload(), "30031<~>op<~>one<~>");
    EXPECT_EQ(received[2].GetField(3), "two");
    EXPECT_EQ(received[3].GetField(3), "three");
    ASSERT_TRUE(m_calls.WaitCount(3));
    EXPECT_EQ(m_calls.Events(),
              (Events{"MessageSent 30031<~>op<~>one<~>", "MessageSent 30031<~>op<~>two<~>",
                      "MessageSent 30031<~>op<~>three<~>"}));
}

TEST_F(CallTest, EverythingPostedWhileTheSenderIsBusyIsSent)
{
    constexpr int kLines = 300;
    auto call = Opened(44);
    auto channel = ChannelOf(44);
    // The sender is held inside its first report while the rest is posted: one wake-up signal
    // stands for all of them.
    std::latch posted(1);
    m_calls.SetHook([&](const std::string& e) {
        if (e == "MessageSent 30031<~>op<~>0<~>")
            posted.wait();
    });
    for (int i = 0; i < kLines; ++i)
        call->Post(ChatLine(std::to_string(i)));
    posted.count_down();
    ASSERT_TRUE(channel->WaitReceived(1 + kLines));
    const auto received = channel->Received();
    for (int i = 0; i < kLines; ++i)
        EXPECT_EQ(received[static_cast<size_t>(1 + i)].GetField(3), std::to_string(i));
    EXPECT_TRUE(m_calls.WaitCount(kLines));
    m_calls.SetHook(nullptr);
}

TEST_F(CallTest, ServerClosingTheChannelReportsReasonTwoOnceAndKeepsTheCallListed)
{
    auto call = Opened(44);
    auto channel = ChannelOf(44);
    channel->Close();
    ASSERT_TRUE(m_calls.WaitFor("CallClosed 2"));
    EXPECT_EQ(m_session->Calls().Find(44), call);
    EXPECT_EQ(m_session->Calls().OpenCall(44), rc::kCallNotFound);
    // A line posted into the broken channel is reported, not lost.
    EXPECT_EQ(call->Post(ChatLine("late")), 0);
    EXPECT_TRUE(m_calls.WaitFor("Other 3003 -3"));

    EXPECT_EQ(m_session->Calls().CloseCall(44), 0);
    EXPECT_EQ(m_calls.Events(), (Events{"CallClosed 2", "Other 3003 -3", "CallClosed 1",
                                        "CallClosed 1", "CallClosed 1", "CallClosed 1"}));
    EXPECT_EQ(m_session->Calls().Count(), 0);
}

TEST_F(CallTest, CloseCallClosesTheChannelAndRepeatsReasonOne)
{
    auto call = Opened(44);
    auto channel = ChannelOf(44);
    EXPECT_EQ(m_session->Calls().CloseCall(44), 0);
    EXPECT_TRUE(channel->WaitEnded());
    EXPECT_EQ(m_calls.Events(),
              (Events{"CallClosed 1", "CallClosed 1", "CallClosed 1", "CallClosed 1"}));
    EXPECT_EQ(m_session->Calls().Find(44), nullptr);
    EXPECT_EQ(m_session->Calls().CloseCall(44), rc::kCallNotFound);
    // The window's reference stays valid but has nothing left to send on.
    EXPECT_EQ(call->Post(ChatLine("after")), rc::kChannelNotFound);
    EXPECT_EQ(call->RequestParticipants(), rc::kChannelNotFound);
    EXPECT_EQ(call->TransferCall(8, "invitation"), rc::kChannelNotFound);
}

TEST_F(CallTest, CloseCallOfAnUnlistedIdIsRefused)
{
    Opened(44);
    EXPECT_EQ(m_session->Calls().CloseCall(45), rc::kCallNotFound);
    EXPECT_EQ(m_session->Calls().Count(), 1);
}

TEST_F(CallTest, RequestsOnChannelZero)
{
    m_operator->Send(Payload(msg::kReplyOk, {"1006", "1", "8", "0", "2", "2", "h8", "Bo", "Ng"}));
    ASSERT_TRUE(m_log.WaitFor("OperatorsRefreshed"));
    m_server.SetParticipantsReply(
        Payload(msg::kReplyOk, {"1006", "2", "7", "0", "2", "1", "", "Me", "Op", "30", "0", "1",
                                "1", "", "Guest", ""}));
    auto call = Opened(44);
    auto channel = ChannelOf(44);
    EXPECT_EQ(call->RequestParticipants(), 0);
    ASSERT_TRUE(m_calls.WaitFor("ParticipantsRefreshed"));
    EXPECT_EQ(call->Participants().Count(), 2);
    EXPECT_EQ(call->TransferCall(8, "invitation"), 0);
    ASSERT_TRUE(m_calls.WaitFor("Transferred 8/2 st2 h8|Bo|Ng"));
    EXPECT_EQ(channel->Next()->Payload(), "1006");
    EXPECT_EQ(channel->Next()->Payload(), "20028<~>invitation<~>");
}

// The call lists participant 30 (a visitor); the session lists operator 8. Each row pushes one
// message on channel 0, then a notice 3003 as a marker.
class ChannelDispatch : public CallTest
{
protected:
    void SetUp() override
    {
        CallTest::SetUp();
        m_operator->Send(
            Payload(msg::kReplyOk, {"1006", "1", "8", "0", "2", "2", "h8", "Bo", "Ng"}));
        ASSERT_TRUE(m_log.WaitFor("OperatorsRefreshed"));
        m_call = Opened(44);
        m_channel = ChannelOf(44);
        m_channel->Send(Payload(msg::kEvent, {"2003", "30", "1", "0", "Guest", ""}));
        ASSERT_TRUE(m_calls.WaitCount(1));
        m_calls.Clear();
    }

    Events Raised(const std::string& payload)
    {
        const std::string marker = Payload(msg::kChatData, {"3", "", "marker"});
        m_channel->Send(payload);
        m_channel->Send(marker);
        EXPECT_TRUE(m_calls.WaitFor("ChatData " + marker));
        Events events = m_calls.Events();
        if (!events.empty())
            events.pop_back();
        return events;
    }

    std::shared_ptr<CCall> m_call;
    std::shared_ptr<FakeConnection> m_channel;
};

struct ChannelRow
{
    const char* name;
    std::string payload;
    Events raised;
    int participants;
};

void PrintTo(const ChannelRow& row, std::ostream* out)
{
    *out << row.name;
}

class ChannelRows : public ChannelDispatch, public ::testing::WithParamInterface<ChannelRow>
{
};

TEST_P(ChannelRows, RaisesExactlyTheRowsCallbacks)
{
    EXPECT_EQ(Raised(GetParam().payload), GetParam().raised);
    EXPECT_EQ(m_call->Participants().Count(), GetParam().participants);
}

const std::string kLine = Payload(msg::kChatData, {"1", "Guest", "Hello"});
const std::string kTyping = Payload(msg::kChatData, {"2", "Guest"});

INSTANTIATE_TEST_SUITE_P(
    Rows, ChannelRows,
    ::testing::Values(
        ChannelRow{"ChatLine", kLine, {"ChatData " + kLine}, 1},
        ChannelRow{"Typing", kTyping, {"ChatData " + kTyping}, 1},
        ChannelRow{"ParticipantsReloaded",
                   Payload(msg::kReplyOk, {"1006", "2", "7", "0", "2", "1", "", "Me", "Op", "31",
                                           "0", "1", "0", "", "Other", ""}),
                   {"ParticipantsRefreshed"},
                   2},
        ChannelRow{"TransferToListedOperator",
                   Payload(msg::kReplyOk, {"2002", "8"}),
                   {"Transferred 8/2 st2 h8|Bo|Ng"},
                   1},
        ChannelRow{"TransferToUnlistedOperator", Payload(msg::kReplyOk, {"2002", "9"}), {}, 1},
        ChannelRow{"OtherReply", Payload(msg::kReplyOk, {"1003", "2"}), {"Other 9001 1003"}, 1},
        ChannelRow{"Refusal", Payload(msg::kReplyFailed, {"2002", "-27"}), {"Other 2002 -27"}, 1},
        ChannelRow{"ParticipantJoined",
                   Payload(msg::kEvent, {"2003", "8", "2", "5", "Bo", "Ng"}),
                   {"ParticipantAdded 8/2 st1 |Bo|Ng"},
                   2},
        ChannelRow{"ListedParticipantJoined",
                   Payload(msg::kEvent, {"2003", "30", "1", "0", "Again", ""}),
                   {},
                   1},
        ChannelRow{"ParticipantLeft",
                   Payload(msg::kEvent, {"2004", "30", "1"}),
                   {"ParticipantRemoved 30/1 st1 |Guest|"},
                   0},
        ChannelRow{"UnlistedParticipantLeft", Payload(msg::kEvent, {"2004", "30", "2"}), {}, 1},
        ChannelRow{"ChannelOpened",
                   Payload(msg::kEvent, {"3001", "4", "5", "6"}),
                   {"ChannelEvent 4 5 6 0"},
                   1},
        ChannelRow{"ChannelClosed",
                   Payload(msg::kEvent, {"3002", "4", "5"}),
                   {"ChannelEvent 4 5 -16 1"},
                   1},
        ChannelRow{"OtherEvent", Payload(msg::kEvent, {"4001", "1"}), {"Other 9003 4001"}, 1},
        ChannelRow{"UnknownCode", Payload(1234, {"1", "2"}), {"Other 1234 -4"}, 1},
        ChannelRow{"KeepAliveIsUnknownHere", Payload(msg::kKeepAlive), {"Other 5001 -4"}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CallTest, FurtherChannelReportsToItsOwnCallbacks)
{
    auto call = Opened(44);
    EventLog own;
    EXPECT_EQ(call->OpenChannel(1, ChannelCallbacks(own)), 0);
    EXPECT_EQ(call->OpenChannel(1, ChannelCallbacks(own)), rc::kChannelNotFound);
    EXPECT_EQ(call->OpenChannel(0), rc::kChannelNotFound);
    auto channel = m_server.WaitChannel(44, 1);
    ASSERT_TRUE(channel);
    EXPECT_EQ(channel->Next()->Payload(), "300144<~>7<~>1<~>2<~>");

    const auto further = call->Channels().Find(1);
    ASSERT_TRUE(further);
    further->Post(ChatLine("side"));
    ASSERT_TRUE(own.WaitFor("Sent 30031<~>op<~>side<~>"));
    // The server relays the line of channel 1 to channel 0 of the same call.
    ASSERT_TRUE(m_calls.WaitFor("ChatData 30031<~>op<~>side<~>"));
    channel->Send(kLine);
    channel->Send(Payload(1234));
    channel->Send(Payload(msg::kEvent, {"3001", "1", "2", "3"})); // the call's, as on channel 0
    ASSERT_TRUE(m_calls.WaitFor("ChannelEvent 1 2 3 0"));
    channel->Close();
    ASSERT_TRUE(own.WaitFor("Closed 2"));
    EXPECT_EQ(own.Events(), (Events{"Sent 30031<~>op<~>side<~>", "Message " + kLine,
                                    "Error 1234 -4", "Closed 2"}));
    EXPECT_EQ(m_calls.Events(), (Events{"ChatData 30031<~>op<~>side<~>", "ChannelEvent 1 2 3 0"}));
    EXPECT_EQ(m_session->Calls().CloseCall(44), 0);
}

TEST_F(CallTest, LinesLostWithTheConnectionAreEachReportedOnce)
{
    constexpr int kLines = 200;
    auto call = Opened(44);
    auto channel = ChannelOf(44);
    std::thread poster([&] {
        for (int i = 0; i < kLines; ++i)
            call->Post(ChatLine(std::to_string(i)));
    });
    ASSERT_TRUE(channel->WaitReceived(11)); // the opening and ten lines
    channel->Close();
    poster.join();
    ASSERT_TRUE(m_calls.WaitFor("CallClosed 2"));
    EXPECT_EQ(m_session->Calls().CloseCall(44), 0);
    // Every line was either sent or reported unsent, exactly once.
    size_t sent = 0, failed = 0;
    for (const std::string& e : m_calls.Events()) {
        sent += e.rfind("MessageSent ", 0) == 0;
        failed += e == "Other 3003 -3";
    }
    EXPECT_EQ(sent + failed, static_cast<size_t>(kLines));
    EXPECT_GE(sent, 10u);
}

TEST_F(CallTest, DetachingCallbacksWhileTheReceiverRunsOneIsRaceFree)
{
    for (int round = 0; round < 5; ++round) {
        const int id = 100 + round;
        auto call = Opened(id);
        auto channel = ChannelOf(id);
        std::atomic<bool> windowGone{false};
        std::atomic<int> late{0};
        std::atomic<int> seen{0};
        m_calls.SetHook([&](const std::string&) {
            late += windowGone.load();
            ++seen;
        });
        std::thread flood([&] {
            for (int i = 0; i < 300 && !channel->Ended(); ++i)
                channel->Send(kLine);
        });
        while (seen < 5)
            std::this_thread::yield();
        call->ClearCallbacks(); // as the window does on destruction, before CloseCall
        windowGone = true;
        EXPECT_EQ(m_session->Calls().CloseCall(id), 0);
        flood.join();
        EXPECT_EQ(late, 0);
        m_calls.SetHook(nullptr);
    }
}

TEST_F(CallTest, CloseCallFromItsOwnReceiverThread)
{
    auto call = Opened(44);
    auto channel = ChannelOf(44);
    m_calls.SetHook([&](const std::string& e) {
        if (e == "ChatData " + kLine)
            m_calls.Log("CloseCall " + std::to_string(m_session->Calls().CloseCall(44)));
    });
    const std::weak_ptr<CCall> watch = call;
    call.reset(); // the call lives on only in the list and in its own threads
    channel->Send(kLine);
    channel->Send(kLine);
    EXPECT_TRUE(channel->WaitEnded());
    ASSERT_TRUE(m_calls.WaitFor("CloseCall 0"));
    EXPECT_EQ(m_session->Calls().Count(), 0);
    EXPECT_TRUE(WaitReleased(watch));
    EXPECT_EQ(m_calls.CountOf("ChatData " + kLine), 1u);
}

TEST_F(CallTest, CloseCallFromTheLossReportOfItsReceiver)
{
    auto call = Opened(44);
    auto channel = ChannelOf(44);
    m_calls.SetHook([&](const std::string& e) {
        if (e == "CallClosed 2")
            m_session->Calls().CloseCall(44);
    });
    const std::weak_ptr<CCall> watch = call;
    call.reset();
    channel->Close();
    ASSERT_TRUE(m_calls.WaitCount(4));
    EXPECT_TRUE(WaitReleased(watch));
    // The channel cannot be destroyed under its own receiver, so its own repeat of reason 1
    // comes after the callbacks were cleared.
    EXPECT_EQ(m_calls.Events(),
              (Events{"CallClosed 2", "CallClosed 1", "CallClosed 1", "CallClosed 1"}));
    EXPECT_EQ(m_session->Calls().Count(), 0);
}

TEST_F(CallTest, SessionDestructionClosesEveryCall)
{
    auto first = Opened(44);
    auto second = Opened(45);
    auto a = ChannelOf(44);
    auto b = ChannelOf(45);
    m_session.reset();
    EXPECT_TRUE(a->WaitEnded());
    EXPECT_TRUE(b->WaitEnded());
    EXPECT_EQ(m_calls.CountOf("CallClosed 1"), 8u);
    EXPECT_EQ(first->Post(ChatLine("x")), rc::kChannelNotFound);
}

} // namespace
} // namespace testing_support
