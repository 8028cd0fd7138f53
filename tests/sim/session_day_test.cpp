// The simulated server driven by the real session and call classes: an operator's day in fast
// motion, as the console lives it, with a second operator taking over a chat.
#include "call.h"
#include "call_list.h"
#include "message_codes.h"
#include "operator_session.h"
#include "result_codes.h"
#include "sim_server.h"
#include "socket_message.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

using namespace std::chrono_literals;

namespace {

// Every callback of one operator, as text lines, in the order they were raised.
class Log
{
public:
    void Add(std::string line)
    {
        std::lock_guard lock(m_mutex);
        m_lines.push_back(std::move(line));
        m_changed.notify_all();
    }
    bool WaitFor(const std::string& line, std::chrono::milliseconds limit = 5s)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, limit, [&] {
            return std::find(m_lines.begin(), m_lines.end(), line) != m_lines.end();
        });
    }
    int Count(const std::string& line)
    {
        std::lock_guard lock(m_mutex);
        return static_cast<int>(std::count(m_lines.begin(), m_lines.end(), line));
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::string> m_lines;
};

std::string N(int n)
{
    return std::to_string(n);
}

COperatorSession::Callbacks Record(Log& log)
{
    COperatorSession::Callbacks c;
    c.OnLoggedIn = [&log] { log.Add("logged in"); };
    c.OnLoggedOut = [&log](int reason) { log.Add("logged out " + N(reason)); };
    c.OnStatusChanged = [&log](int status) { log.Add("status " + N(status)); };
    c.OnOperatorsRefreshed = [&log] { log.Add("operators"); };
    c.OnOperatorAdded = [&log](const CUserEntry& e) { log.Add("operator added " + e.text2); };
    c.OnOperatorRemoved = [&log](const CUserEntry& e) { log.Add("operator removed " + N(e.id)); };
    c.OnOperatorUpdated = [&log](const CUserEntry& e) {
        log.Add("operator " + N(e.id) + " status " + N(e.status));
    };
    c.OnVisitorsRefreshed = [&log] { log.Add("visitors"); };
    c.OnVisitorAdded = [&log](const CVisitorEntry& e) { log.Add("visitor added " + N(e.id)); };
    c.OnVisitorRemoved = [&log](const CVisitorEntry& e) { log.Add("visitor removed " + N(e.id)); };
    c.OnVisitorInvited = [&log](const CVisitorEntry& e) { log.Add("visitor invited " + N(e.id)); };
    c.OnIncomingCall = [&log](int callId, int, int kind, auto, auto, auto) {
        log.Add("call " + N(callId) + " kind " + N(kind));
    };
    return c;
}

CCall::Callbacks RecordCall(Log& log)
{
    CCall::Callbacks c;
    c.OnChatData = [&log](const CSocketMessage& m) {
        log.Add("chat " + N(m.GetIntField(msg::chat::kFieldKind)) + " " +
                std::string(m.FieldView(msg::chat::kFieldText)));
    };
    c.OnCallClosed = [&log](int reason) { log.Add("closed " + N(reason)); };
    c.OnParticipantsRefreshed = [&log] { log.Add("participants"); };
    c.OnParticipantAdded = [&log](const CUserEntry& e) { log.Add("joined " + N(e.id)); };
    c.OnParticipantRemoved = [&log](const CUserEntry& e) { log.Add("left " + N(e.id)); };
    c.OnTransferred = [&log](const CUserEntry& e) { log.Add("transferred " + N(e.id)); };
    return c;
}

int OperatorId(CSimServer& server, const std::string& user)
{
    for (const auto& op : server.World().Operators())
        if (op.user == user)
            return op.id;
    return 0;
}

TEST(SessionDay, AnOperatorsDayAgainstTheSimulatedServer)
{
    SimOptions options;
    options.accounts = {{"ann", "secret", "Ann", "Lee"}, {"bob", "hunter2", "Bob", "Ray"}};
    options.realTime = false; // nothing happens unless this test makes it happen
    options.initialVisitors = 25;
    options.seed = 7;
    CSimServer server(options);
    const int port = server.Start();
    ASSERT_GT(port, 0) << server.Error();

    Log ann, bob, annCall, bobCall;
    COperatorSession annSession(500ms, 500ms), bobSession(500ms, 500ms);
    annSession.SetCallbacks(Record(ann));
    bobSession.SetCallbacks(Record(bob));

    // Refused first, then in.
    EXPECT_EQ(annSession.Login("127.0.0.1", static_cast<std::uint16_t>(port), "ann", "wrong"),
              rc::kBadCredentials);
    ASSERT_EQ(annSession.Login("127.0.0.1", static_cast<std::uint16_t>(port), "ann", "secret"), 0);
    const int annId = annSession.OperatorId();
    EXPECT_EQ(annId, OperatorId(server, "ann"));

    // The lists, as the console asks for them right after log-in.
    EXPECT_EQ(annSession.RequestOperators(), 4);
    EXPECT_EQ(annSession.RequestVisitors(), 4);
    ASSERT_TRUE(ann.WaitFor("operators"));
    ASSERT_TRUE(ann.WaitFor("visitors"));
    EXPECT_EQ(annSession.Visitors().Count(), 25);
    EXPECT_EQ(annSession.Operators().Count(), 1);

    // Visitors come and go; one is invited.
    const int arriving = server.World().AddVisitor();
    ASSERT_TRUE(ann.WaitFor("visitor added " + N(arriving)));
    const int leaving = server.World().Visitors().front().id;
    ASSERT_TRUE(server.World().RemoveVisitor(leaving));
    ASSERT_TRUE(ann.WaitFor("visitor removed " + N(leaving)));
    EXPECT_GT(annSession.InviteVisitor(arriving, "ann"), 0);
    ASSERT_TRUE(ann.WaitFor("visitor invited " + N(arriving)));

    // A second operator arrives; a status change reaches both.
    ASSERT_EQ(bobSession.Login("127.0.0.1", static_cast<std::uint16_t>(port), "bob", "hunter2"), 0);
    const int bobId = bobSession.OperatorId();
    ASSERT_TRUE(ann.WaitFor("operator added Bob"));
    EXPECT_EQ(bobSession.RequestOperators(), 4);
    ASSERT_TRUE(bob.WaitFor("operators"));
    EXPECT_EQ(bobSession.Operators().Count(), 2);
    EXPECT_GT(annSession.SetStatus(OperatorStatus::kBusy), 0);
    ASSERT_TRUE(ann.WaitFor("status 2"));
    EXPECT_EQ(annSession.GetStatus(), OperatorStatus::kBusy);
    ASSERT_TRUE(bob.WaitFor("operator " + N(annId) + " status 2"));

    // A chat request rings; Ann opens the call and chats both ways.
    const int callId = server.World().RequestChat(arriving, annId);
    ASSERT_GT(callId, 0);
    ASSERT_TRUE(ann.WaitFor("call " + N(callId) + " kind 1"));
    ASSERT_EQ(annSession.Calls().OpenCall(callId, RecordCall(annCall)), 0);
    auto call = annSession.Calls().Find(callId);
    ASSERT_TRUE(call);
    EXPECT_EQ(call->RequestParticipants(), 0);
    ASSERT_TRUE(annCall.WaitFor("participants"));

    CSocketMessage line(msg::kChatData);
    line.AddIntField(msg::chat::kLine);
    line.AddField("ann");
    line.AddField("Hello, how can I help?");
    EXPECT_EQ(call->Post(line), 0);
    ASSERT_TRUE(server.World().WaitUntil(
        [&] {
            for (const auto& r : server.World().Received())
                if (r.callId == callId && r.code == msg::kChatData &&
                    r.payload.find("Hello, how can I help?") != std::string::npos)
                    return true;
            return false;
        },
        5s));
    ASSERT_TRUE(server.World().VisitorSays(callId, "My parcel is late"));
    ASSERT_TRUE(annCall.WaitFor("chat 1 My parcel is late"));

    // Transfer to Bob: Ann's call hears the confirmation, Bob is offered the call and joins it.
    EXPECT_EQ(call->TransferCall(bobId, "invitation"), 0);
    ASSERT_TRUE(annCall.WaitFor("transferred " + N(bobId)));
    ASSERT_TRUE(bob.WaitFor("call " + N(callId) + " kind 2"));
    ASSERT_EQ(bobSession.Calls().OpenCall(callId, RecordCall(bobCall)), 0);
    ASSERT_TRUE(annCall.WaitFor("joined " + N(bobId)));
    ASSERT_TRUE(server.World().VisitorSays(callId, "Thanks both"));
    ASSERT_TRUE(annCall.WaitFor("chat 1 Thanks both"));
    ASSERT_TRUE(bobCall.WaitFor("chat 1 Thanks both"));

    // The visitor leaves: the server ends the call under both channels, once each.
    ASSERT_TRUE(server.World().VisitorLeavesCall(callId));
    ASSERT_TRUE(annCall.WaitFor("closed 2"));
    ASSERT_TRUE(bobCall.WaitFor("closed 2"));
    EXPECT_EQ(annCall.Count("closed 2"), 1);
    // The broken call stays listed until closed; closing it reports reason 1.
    EXPECT_EQ(annSession.Calls().OpenCall(callId), rc::kCallNotFound);
    EXPECT_EQ(annSession.Calls().CloseCall(callId), 0);
    EXPECT_TRUE(annCall.WaitFor("closed 1"));

    // Bob logs out; Ann sees him go. Then Ann is dropped by the server and told once.
    EXPECT_EQ(bobSession.Disconnect(COperatorSession::kReasonLoggedOut), 0);
    ASSERT_TRUE(bob.WaitFor("logged out 1"));
    ASSERT_TRUE(ann.WaitFor("operator removed " + N(bobId)));
    ASSERT_TRUE(server.World().DropOperator(annId));
    ASSERT_TRUE(ann.WaitFor("logged out 2"));
    EXPECT_EQ(annSession.GetStatus(), 0);
    EXPECT_EQ(ann.Count("logged out 2"), 1);

    annSession.ClearCallbacks();
    bobSession.ClearCallbacks();
    server.Stop();
}

} // namespace
