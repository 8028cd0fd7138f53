// The simulated server driven by the product's own session and call classes: an operator's day
// in fast motion, the scripted visitor, its refusals, each hostile mode, the real-time clock, and
// the program as scripts run it.
#include "session_rig.h"
#include "sim_server.h"
#include "socket_message.h"

#include <csignal>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {
namespace {

SimOptions Options(SimFault fault = {})
{
    SimOptions o;
    o.accounts = {{"ann", "pw-ann", "Ann", "Lee"}, {"bob", "pw-bob", "Bob", "Ray"}};
    o.initialVisitors = 12;
    o.arrivalPerMinute = 0;
    o.chatPerMinute = 0;
    o.realTime = false; // nothing happens unless the test makes it happen
    o.ioTimeout = 2s;
    o.fault = fault;
    return o;
}

// One operator: a session with its log and the log of its calls.
struct Desk
{
    explicit Desk(std::chrono::milliseconds wait = 500ms) : session(wait, wait)
    {
        session.SetCallbacks(SessionCallbacks(log));
    }
    EventLog log, call; // outlive the session that reports to them
    COperatorSession session;
};

class SimTest : public ::testing::Test
{
protected:
    void Start(SimOptions options)
    {
        m_server = std::make_unique<CSimServer>(std::move(options));
        m_port = static_cast<std::uint16_t>(m_server->Start());
        ASSERT_GT(m_port, 0) << m_server->Error();
    }
    int Login(Desk& desk, const std::string& user)
    {
        return desk.session.Login("127.0.0.1", m_port, user, "pw-" + user);
    }
    CSimWorld& World() { return m_server->World(); }
    // The server's visitors and the session's, by id in list order.
    std::vector<int> ServerVisitors()
    {
        std::vector<int> ids;
        for (const SimVisitor& v : World().Visitors())
            ids.push_back(v.id);
        return ids;
    }
    static std::vector<int> Listed(Desk& desk)
    {
        std::vector<int> ids;
        for (const CVisitorEntry& v : desk.session.Visitors().Snapshot())
            ids.push_back(v.id);
        return ids;
    }

    std::unique_ptr<CSimServer> m_server;
    std::uint16_t m_port = 0;
};

std::string N(int n)
{
    return std::to_string(n);
}

// How the session's log shows a visitor that arrived one at a time (its stamp as sent).
std::string Seen(const SimVisitor& v)
{
    return N(v.id) + " " + N(v.pageViews) + " " + v.page + "|" + v.caption + "|" + v.referrer +
           "|" + v.entered + "|" + v.address + " " + N(v.groupKey);
}

TEST_F(SimTest, AnOperatorsDay)
{
    Start(Options());
    Desk ann, bob;
    EXPECT_EQ(ann.session.Login("127.0.0.1", m_port, "ann", "wrong"), rc::kBadCredentials);
    ASSERT_EQ(Login(ann, "ann"), rc::kOk);
    EXPECT_EQ(Login(bob, "ann"), rc::kAlreadySignedIn);
    ann.session.KeepAlive();            // never answered
    ann.session.InviteVisitor(1, "Hi"); // no such visitor: refused
    ann.session.RequestVisitors();
    ASSERT_TRUE(ann.log.WaitFor("VisitorsRefreshed"));
    EXPECT_EQ(ann.log.Lines(), (Events{"LoggedIn", "Other 4003 -32", "VisitorsRefreshed"}));
    EXPECT_EQ(Listed(ann), ServerVisitors());

    // Visitors come and go; one is invited; a colleague arrives and goes busy.
    const int newcomer = World().AddVisitor();
    const SimVisitor visitor = World().Visitors().back();
    World().RemoveVisitor(World().Visitors().front().id);
    ann.session.InviteVisitor(newcomer, "Can I help?");
    ASSERT_EQ(Login(bob, "bob"), rc::kOk);
    const int annId = ann.session.OperatorId(), bobId = bob.session.OperatorId();
    const std::string bobEntry = N(bobId) + "/2 st";
    bob.session.SetStatus(OperatorStatus::kBusy);
    // Events reach Ann in the order they happened: by Bob's status, the rest is in too.
    ASSERT_TRUE(ann.log.WaitFor("OperatorUpdated " + bobEntry + "2 127.0.0.1|Bob|Ray"));
    EXPECT_EQ(Listed(ann), ServerVisitors());
    EXPECT_EQ(ann.log.CountOf("VisitorInvited " + Seen(visitor)), 1u);
    EXPECT_EQ(ann.log.CountOf("OperatorAdded " + bobEntry + "1 127.0.0.1|Bob|Ray"), 1u);

    // A chat request rings for Ann, and only Ann may take it.
    const int callId = World().RequestChat(newcomer, annId);
    const std::string offer = "IncomingCall " + N(callId) + " " + N(newcomer);
    ASSERT_TRUE(ann.log.WaitFor(offer + " 1 [" + visitor.name + "] [" + visitor.question + "] -"));
    EXPECT_EQ(bob.session.Calls().OpenCall(callId), rc::kBadInvitation);
    ASSERT_EQ(ann.session.Calls().OpenCall(callId, CallCallbacks(ann.call)), rc::kOk);
    const auto call = ann.session.Calls().Find(callId);
    call->RequestParticipants();
    ASSERT_TRUE(ann.call.WaitFor("ParticipantsRefreshed"));
    EXPECT_EQ(call->Participants().Count(), 2); // the visitor and Ann
    ASSERT_TRUE(World().VisitorSays(callId, "Late"));
    ASSERT_TRUE(ann.call.WaitFor("ChatData " + Payload(msg::kChatData, {"1", visitor.name, "Late"})));

    // Ann hands the call to Bob, who joins it; the visitor leaves and the call ends under both.
    call->TransferCall(bobId, "invitation");
    ASSERT_TRUE(ann.call.WaitFor("Transferred " + bobEntry + "2"));
    ASSERT_TRUE(bob.log.WaitFor(offer + " 2 [Ann] [Lee] [invitation]"));
    ASSERT_EQ(bob.session.Calls().OpenCall(callId, CallCallbacks(bob.call)), rc::kOk);
    ASSERT_TRUE(ann.call.WaitFor("ParticipantAdded " + bobEntry + "1 |Bob|Ray"));
    ASSERT_TRUE(World().RemoveVisitor(newcomer));
    ASSERT_TRUE(ann.call.WaitFor("CallClosed 2") && bob.call.WaitFor("CallClosed 2"));
    EXPECT_TRUE(World().Calls().empty());

    // Bob logs out and Ann sees him go; then the server drops Ann, who is told once.
    bob.session.Disconnect(COperatorSession::kReasonLoggedOut);
    ASSERT_TRUE(ann.log.WaitFor("OperatorRemoved " + bobEntry));
    ASSERT_TRUE(World().DropOperator(annId));
    ASSERT_TRUE(ann.log.WaitFor("LoggedOut 2"));
    EXPECT_EQ(ann.log.CountOf("LoggedOut"), 1u);
}

TEST_F(SimTest, ScriptedVisitorAnswersEachLineThenClosesTheChat)
{
    Start(Options());
    Desk ann;
    ASSERT_EQ(Login(ann, "ann"), rc::kOk);
    const SimVisitor visitor = World().Visitors().front();
    const int callId = World().RequestChat(visitor.id, ann.session.OperatorId());
    ASSERT_EQ(ann.session.Calls().OpenCall(callId, CallCallbacks(ann.call)), rc::kOk);
    std::vector<std::string> lines{visitor.question};
    lines.insert(lines.end(), visitor.replies.begin(), visitor.replies.end());
    for (const std::string& line : lines) {
        m_server->Advance(15s);
        ASSERT_TRUE(ann.call.WaitFor("ChatData " + Payload(msg::kChatData, {"2", visitor.name})));
        ASSERT_TRUE(ann.call.WaitFor("ChatData " + Payload(msg::kChatData, {"1", visitor.name, line})));
        if (line == lines.back())
            break; // the goodbye may already have ended the chat
        const auto heard = World().Stats().messagesIn;
        ann.session.Calls().Find(callId)->Post(ChatLine("I see."));
        // The server must have read the line before the clock moves on.
        ASSERT_TRUE(World().WaitUntil([&] { return World().Stats().messagesIn > heard; }, 5s));
    }
    m_server->Advance(10s);
    ASSERT_TRUE(ann.call.WaitFor("CallClosed 2"));
    // The visitor is free to ask again; an offer left unanswered is withdrawn.
    const int again = World().RequestChat(visitor.id, ann.session.OperatorId());
    EXPECT_GT(again, callId);
    m_server->Advance(CSimWorld::kOfferTimeout);
    EXPECT_EQ(ann.session.Calls().OpenCall(again), rc::kCallNotFound);
}

// Each fault at each moment, as the server plays it against the operator connection: the
// stream stays intact up to where it strikes, then the session loses the connection (or the
// log-in fails) within its short waits; the fault strikes once, so the next log-in is whole.
struct FaultRow
{
    SimFaultKind kind;
    SimFaultMoment moment;
};

class SimFaults : public SimTest, public ::testing::WithParamInterface<FaultRow>
{
};

TEST_P(SimFaults, BreakTheStreamWhereTheyStrike)
{
    const auto [kind, moment] = GetParam();
    Start(Options({kind, moment, SimTarget::Operator, 1}));
    Desk ann(200ms);
    const int login = Login(ann, "ann");
    if (moment == SimFaultMoment::AtLogin) {
        EXPECT_LT(login, 0);
    } else {
        ASSERT_EQ(login, rc::kOk);
        ann.session.RequestOperators();
        ann.session.RequestVisitors();
        // Lost under the receive thread (2), or with a list request that could not go out (3).
        EXPECT_TRUE(ann.log.WaitFor("LoggedOut "));
        // Garbage may complete a cut frame with bytes of its own.
        if (kind != SimFaultKind::Garbage) {
            EXPECT_EQ(ann.log.CountOf("OperatorsRefreshed"), moment == SimFaultMoment::MidList);
            EXPECT_EQ(ann.log.CountOf("VisitorsRefreshed"), 0u);
        }
    }
    EXPECT_EQ(World().Stats().faultsStruck, 1u);
    ASSERT_TRUE(World().WaitUntil([&] { return World().Operators().empty(); }, 5s));
    ann.log.Clear();
    ASSERT_EQ(Login(ann, "ann"), rc::kOk);
    ann.session.RequestVisitors();
    ASSERT_TRUE(ann.log.WaitFor("VisitorsRefreshed"));
    EXPECT_EQ(Listed(ann), ServerVisitors());
}

std::vector<FaultRow> EveryFault()
{
    std::vector<FaultRow> rows;
    for (int kind = 1; kind <= 6; ++kind)
        for (int moment = 0; moment < 4; ++moment)
            rows.push_back({SimFaultKind(kind), SimFaultMoment(moment)});
    // Silence between frames is no fault: the connection is only idle.
    std::erase_if(rows, [](const FaultRow& r) {
        return r.kind == SimFaultKind::Silence && r.moment == SimFaultMoment::AfterLogin;
    });
    return rows;
}

std::string FaultName(const ::testing::TestParamInfo<FaultRow>& info)
{
    static const char* const moments[] = {"AtLogin", "AfterLogin", "MidList", "MidFrame"};
    std::string kind(SimFaultKindName(info.param.kind));
    std::erase(kind, '-');
    return kind + "_" + moments[int(info.param.moment)];
}

INSTANTIATE_TEST_SUITE_P(Rows, SimFaults, ::testing::ValuesIn(EveryFault()), FaultName);

TEST(SimDeterminism, SameSeedSameDay)
{
    const auto day = [](std::uint64_t seed) {
        SimOptions options = Options();
        options.seed = seed;
        options.arrivalPerMinute = 30;
        options.startTime = std::chrono::system_clock::time_point(1709802300s);
        CSimServer server(options);
        server.Start();
        server.Advance(10min);
        std::string all;
        for (const SimVisitor& v : server.World().Visitors())
            all += Seen(v) + v.name + ";";
        return all;
    };
    EXPECT_EQ(day(7), day(7));
    EXPECT_NE(day(7), day(8));
}

// In real time the clock sleeps until the next task is due (with nothing due, up to 10 s); work
// scheduled while it sleeps wakes it: here the visitor's first line once an operator joins.
TEST_F(SimTest, RealTimeClockWakesForNewWork)
{
    SimOptions options = Options();
    options.realTime = true;
    Start(options);
    Desk ann;
    ASSERT_EQ(Login(ann, "ann"), rc::kOk);
    const SimVisitor visitor = World().Visitors().front();
    const int callId = World().RequestChat(visitor.id, ann.session.OperatorId());
    ASSERT_EQ(ann.session.Calls().OpenCall(callId, CallCallbacks(ann.call)), rc::kOk);
    EXPECT_TRUE(ann.call.WaitFor("ChatData " + Payload(msg::kChatData, {"2", visitor.name})));
}

// The program as scripts use it: the first line names the port, an account works, SIGTERM
// stops it cleanly.
TEST(SimProgram, AnnouncesItsPortServesAndStopsOnSigterm)
{
    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::execl(PARLENDO_SIM_PROGRAM, "parlendo-sim", "--port", "0", "--account", "ann:pw",
                "--version", "17", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(out[1]);
    char line[100] = {};
    for (size_t n = 0; n + 1 < sizeof line && ::read(out[0], line + n, 1) == 1 && line[n] != '\n';)
        ++n;
    int port = 0;
    ASSERT_EQ(std::sscanf(line, "parlendo-sim listening on 127.0.0.1:%d", &port), 1) << line;
    COperatorSession session(5s, 5s);
    EXPECT_EQ(session.Login("127.0.0.1", std::uint16_t(port), "demo", "demo"), rc::kBadCredentials);
    EXPECT_EQ(session.Login("127.0.0.1", std::uint16_t(port), "ann", "pw"), rc::kOk);
    EXPECT_EQ(session.ServerVersion(), 17);
    int status = 0;
    EXPECT_TRUE(::kill(pid, SIGTERM) == 0 && ::waitpid(pid, &status, 0) == pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ::close(out[0]);
}

} // namespace
} // namespace testing_support
