#include "sim_world.h"

#include "message_codes.h"
#include "result_codes.h"
#include "sim_messages.h"
#include "socket_message.h"
#include "wire_limits.h"

#include <algorithm>

namespace {

constexpr int kMinThinkMs = 800;
constexpr int kMaxThinkMs = 2'500;
constexpr int kTypingBaseMs = 1'200;
constexpr int kTypingPerCharMs = 45;
constexpr int kMaxTypingMs = 8'000;
// The console clears "is typing" 4 s after the last notice, so a long answer repeats it.
constexpr int kTypingRepeatMs = 3'000;
constexpr int kMinInviteDelayMs = 3'000;
constexpr int kMaxInviteDelayMs = 12'000;
constexpr int kMinGoodbyeMs = 2'000;
constexpr int kMaxGoodbyeMs = 5'000;
constexpr double kLeaveDuringChatChance = 0.2;
// Without a steady crowd to keep (no initial visitors), new visitors stay this long on average.
constexpr double kDefaultStayMinutes = 5.0;
// The oldest opening visitor entered at most this long before the start.
constexpr double kMaxPastStayMinutes = 120.0;
// The flood sends its events in bursts this far apart.
constexpr std::chrono::milliseconds kFloodTick{10};
// Of the flood's operator-connection events: operators changing status, and visitors announced
// again; the rest are arrivals and departures that keep the crowd near its size.
constexpr double kFloodStatusShare = 0.15;
constexpr double kFloodUpdateShare = 0.15;

using Ms = std::chrono::milliseconds;

Ms FromMinutes(double minutes)
{
    return Ms(static_cast<std::int64_t>(minutes * 60'000.0));
}

} // namespace

CSimWorld::CSimWorld(const SimOptions& options, std::chrono::system_clock::time_point startTime)
    : m_options(options), m_startTime(startTime), m_accounts(options.accounts),
      m_version(options.version), m_random(options.seed), m_crowd(m_random), m_fault(options.fault),
      m_faultsLeft(options.fault.times), m_floodRate(options.floodPerSecond),
      m_floodTarget(options.floodTarget)
{
    if (m_accounts.empty())
        m_accounts.push_back(SimAccount{"demo", "demo", "Demo", "Operator"});
}

// --- Time -------------------------------------------------------------------------------------

void CSimWorld::Populate()
{
    {
        std::lock_guard lock(m_mutex);
        const double meanStay = std::chrono::duration<double, std::ratio<60>>(StayTime()).count();
        for (int i = 0; i < m_options.initialVisitors; ++i) {
            const double ago = std::min(m_random.Exponential(meanStay), kMaxPastStayMinutes);
            VisitorArrives(m_startTime - FromMinutes(ago));
        }
        ScheduleArrival();
        ScheduleChatRequest();
        ScheduleFlood();
    }
    Changed();
}

void CSimWorld::AdvanceTo(Time t)
{
    {
        std::lock_guard lock(m_mutex);
        m_scheduler.RunUntil(t);
    }
    Changed();
}

CSimWorld::Time CSimWorld::Now() const
{
    std::lock_guard lock(m_mutex);
    return m_scheduler.Now();
}

std::optional<CSimWorld::Time> CSimWorld::NextDue() const
{
    std::lock_guard lock(m_mutex);
    return m_scheduler.NextDue();
}

void CSimWorld::SetEarliestChanged(std::function<void()> hook)
{
    std::lock_guard lock(m_mutex);
    m_scheduler.SetEarliestChanged(std::move(hook));
}

CSimWorld::Time CSimWorld::StayTime()
{
    // A steady crowd: arrivals per minute times the mean stay gives the opening size.
    if (m_options.arrivalPerMinute <= 0)
        return FromMinutes(kDefaultStayMinutes);
    const double mean = m_options.initialVisitors > 0
                            ? m_options.initialVisitors / m_options.arrivalPerMinute
                            : kDefaultStayMinutes;
    return FromMinutes(mean);
}

void CSimWorld::ScheduleArrival()
{
    if (m_options.arrivalPerMinute <= 0)
        return;
    // Kept in fractions of a millisecond: at thousands a second, rounding each gap would
    // change the rate.
    m_nextArrivalMs += m_random.Exponential(60'000.0 / m_options.arrivalPerMinute);
    m_scheduler.At(Ms(static_cast<std::int64_t>(m_nextArrivalMs)), [this] {
        VisitorArrives(m_startTime + m_scheduler.Now());
        ScheduleArrival();
    });
}

void CSimWorld::ScheduleChatRequest()
{
    if (m_options.chatPerMinute <= 0)
        return;
    m_nextChatMs += m_random.Exponential(60'000.0 / m_options.chatPerMinute);
    m_scheduler.At(Ms(static_cast<std::int64_t>(m_nextChatMs)), [this] {
        const std::int32_t operatorId = PickOnlineOperator();
        const std::int32_t visitorId = operatorId ? m_crowd.PickFree(m_random) : 0;
        if (visitorId)
            OfferCall(visitorId, operatorId);
        ScheduleChatRequest();
    });
}

std::int32_t CSimWorld::PickOnlineOperator()
{
    std::vector<std::int32_t> online;
    for (const auto& [id, op] : m_operators)
        if (op.info.status == OperatorStatus::kOnline)
            online.push_back(id);
    if (online.empty())
        return 0;
    return online[m_roundRobin++ % online.size()];
}

void CSimWorld::VisitorArrives(std::chrono::system_clock::time_point entered)
{
    const SimVisitor& visitor = m_crowd.Arrive(entered);
    ++m_stats.visitorsArrived;
    Broadcast(simmsg::VisitorEntered(visitor));
    // With no arrivals the opening crowd stays: nobody would replace those who leave.
    if (m_options.arrivalPerMinute > 0) {
        const double mean = static_cast<double>(StayTime().count());
        ScheduleDeparture(visitor.id, Ms(static_cast<std::int64_t>(m_random.Exponential(mean))));
    }
}

void CSimWorld::ScheduleDeparture(std::int32_t visitorId, Time after)
{
    m_scheduler.After(after, [this, visitorId] {
        // Someone in a chat mostly stays until it is over; now and then they just go.
        if (m_crowd.CallOf(visitorId) && !m_random.Chance(kLeaveDuringChatChance))
            ScheduleDeparture(visitorId, kOfferTimeout);
        else
            VisitorLeaves(visitorId);
    });
}

void CSimWorld::VisitorLeaves(std::int32_t visitorId)
{
    const SimVisitor* visitor = m_crowd.Find(visitorId);
    if (!visitor)
        return;
    if (Call* call = FindCall(m_crowd.CallOf(visitorId))) {
        SendToMembers(*call, simmsg::Notice(visitor->name + " has left the web site."));
        SendToMembers(*call, simmsg::ParticipantLeft(visitorId, UserType::kVisitor));
        EndCall(call->id);
    }
    m_crowd.Leave(visitorId);
    ++m_stats.visitorsLeft;
    Broadcast(simmsg::VisitorLeft(visitorId));
}

// --- Calls ------------------------------------------------------------------------------------

std::int32_t CSimWorld::OfferCall(std::int32_t visitorId, std::int32_t operatorId)
{
    const SimVisitor* visitor = m_crowd.Find(visitorId);
    Operator* op = FindOperator(operatorId);
    if (!visitor)
        return rc::kVisitorNotFound;
    if (m_crowd.CallOf(visitorId))
        return rc::kBadInvitation;
    if (!op)
        return rc::kUserNotOnline;

    Call call;
    call.id = m_nextCallId++;
    call.visitorId = visitorId;
    call.invited.push_back(operatorId);
    call.deadline = m_scheduler.Now() + kOfferTimeout;
    const std::int32_t callId = call.id;
    m_calls.emplace(callId, std::move(call));
    m_crowd.SetCall(visitorId, callId);
    ++m_stats.callsOffered;
    Send(op->session, simmsg::IncomingCall(visitorId, callId, visitor->name, visitor->question));
    m_scheduler.After(kOfferTimeout, [this, callId] { ExpireIfUnattended(callId); });
    return callId;
}

void CSimWorld::ExpireIfUnattended(std::int32_t callId)
{
    const Call* call = FindCall(callId);
    if (call && call->members.empty() && m_scheduler.Now() >= call->deadline)
        EndCall(callId);
}

void CSimWorld::EndCall(std::int32_t callId)
{
    const auto it = m_calls.find(callId);
    if (it == m_calls.end())
        return;
    for (const auto& member : it->second.members)
        member.second->CloseAfterFlush();
    m_crowd.SetCall(it->second.visitorId, 0);
    m_calls.erase(it);
}

void CSimWorld::LeaveCall(std::int32_t callId, std::int32_t operatorId)
{
    Call* call = FindCall(callId);
    if (!call)
        return;
    auto& members = call->members;
    const auto it = std::find_if(members.begin(), members.end(),
                                 [operatorId](const auto& m) { return m.first == operatorId; });
    if (it == members.end())
        return;
    members.erase(it);
    SendToMembers(*call, simmsg::ParticipantLeft(operatorId, UserType::kOperator));
    if (!members.empty())
        return;
    if (call->invited.empty()) {
        EndCall(callId);
        return;
    }
    // Someone was invited in and has not joined yet: the visitor waits for them a while.
    call->deadline = m_scheduler.Now() + kOfferTimeout;
    m_scheduler.After(kOfferTimeout, [this, callId] { ExpireIfUnattended(callId); });
}

bool CSimWorld::VisitorClosesChat(std::int32_t callId)
{
    const Call* call = FindCall(callId);
    if (!call)
        return false;
    const SimVisitor* visitor = m_crowd.Find(call->visitorId);
    SendToMembers(*call, simmsg::Notice((visitor ? visitor->name : std::string("The visitor")) +
                                        " closed the chat window."));
    SendToMembers(*call, simmsg::ParticipantLeft(call->visitorId, UserType::kVisitor));
    EndCall(callId);
    return true;
}

void CSimWorld::ScheduleNextReply(Call& call)
{
    const SimVisitor* visitor = m_crowd.Find(call.visitorId);
    if (!visitor || call.replyPending)
        return;
    if (!call.asked) {
        call.asked = true;
        ScheduleVisitorLine(call.id, visitor->question, false);
    } else if (call.nextReply < visitor->replies.size()) {
        const std::size_t index = call.nextReply++;
        ScheduleVisitorLine(call.id, visitor->replies[index],
                            call.nextReply == visitor->replies.size());
    }
}

void CSimWorld::ScheduleVisitorLine(std::int32_t callId, std::string text, bool last)
{
    Call* call = FindCall(callId);
    if (!call)
        return;
    call->replyPending = true;
    const int thinkMs = m_random.Between(kMinThinkMs, kMaxThinkMs);
    const int typingMs =
        std::min(kTypingBaseMs + kTypingPerCharMs * static_cast<int>(text.size()), kMaxTypingMs);

    auto typing = [this, callId] {
        const Call* c = FindCall(callId);
        const SimVisitor* v = c ? m_crowd.Find(c->visitorId) : nullptr;
        if (c && v && c->replyPending)
            SendToMembers(*c, simmsg::Chat(msg::chat::kTyping, v->name));
    };
    for (int at = 0; at < typingMs; at += kTypingRepeatMs)
        m_scheduler.After(Ms(thinkMs + at), typing);

    m_scheduler.After(Ms(thinkMs + typingMs), [this, callId, text = std::move(text), last] {
        Call* c = FindCall(callId);
        const SimVisitor* v = c ? m_crowd.Find(c->visitorId) : nullptr;
        if (!c || !v)
            return;
        c->replyPending = false;
        SendToMembers(*c, simmsg::Chat(msg::chat::kLine, v->name, text));
        if (last) {
            m_scheduler.After(Ms(m_random.Between(kMinGoodbyeMs, kMaxGoodbyeMs)),
                              [this, callId] { VisitorClosesChat(callId); });
        }
    });
}

// --- Connections ------------------------------------------------------------------------------

void CSimWorld::OnMessage(const std::shared_ptr<CSimConnection>& c, const CSocketMessage& m)
{
    {
        std::lock_guard lock(m_mutex);
        ++m_stats.messagesIn;
        Peer& peer = m_peers[c->Id()];
        Trace(peer, m);
        if (m.Code() <= 0)
            Send(c, simmsg::Refusal(m.Code(), rc::kBadFormat));
        else if (peer.role == Role::Unbound)
            HandleUnbound(c, peer, m);
        else if (peer.role == Role::Operator)
            HandleOperator(c, peer, m);
        else
            HandleChannel(c, peer, m);
    }
    Changed();
}

void CSimWorld::OnClosed(const std::shared_ptr<CSimConnection>& c)
{
    {
        std::lock_guard lock(m_mutex);
        ++m_stats.connectionsClosed;
        if (c->Dropped())
            ++m_stats.connectionsDropped;
        const auto it = m_peers.find(c->Id());
        if (it != m_peers.end()) {
            Disarm(it->second);
            const Peer peer = it->second;
            m_peers.erase(it);
            if (peer.role == Role::Operator) {
                const auto op = m_operators.find(peer.operatorId);
                if (op != m_operators.end() && op->second.session == c) {
                    m_operators.erase(op);
                    Broadcast(simmsg::OperatorRemoved(peer.operatorId));
                }
            } else if (peer.role == Role::Channel) {
                LeaveCall(peer.callId, peer.operatorId);
            }
        }
    }
    Changed();
}

void CSimWorld::HandleUnbound(const Connection& c, Peer& peer, const CSocketMessage& m)
{
    switch (m.Code()) {
    case msg::kLogin:
        Login(c, peer, m);
        break;
    case msg::kOpenMainChannel:
        OpenChannel(c, peer, m);
        break;
    case msg::kOpenChannel:
        // Only channel 0 is offered; the refusal of an opening carries its code in field 1.
        Send(c, simmsg::ChannelRefusal(rc::kBadCommand));
        break;
    case msg::kKeepAlive:
        break;
    default:
        Send(c, simmsg::Refusal(m.Code(), rc::kBadCommand));
        break;
    }
}

void CSimWorld::HandleOperator(const Connection& c, Peer& peer, const CSocketMessage& m)
{
    Operator* op = FindOperator(peer.operatorId);
    if (!op)
        return; // dropped from the server's side; the connection is ending
    switch (m.Code()) {
    case msg::kLogin:
        Send(c, simmsg::Refusal(msg::kLogin, rc::kAlreadySignedIn));
        break;
    case msg::kSetStatus:
        SetStatus(*op, m);
        break;
    case msg::kRequestUsers:
        SendOperatorList(c);
        break;
    case msg::kRequestVisitors:
        SendVisitorList(c);
        break;
    case msg::kInviteVisitor:
        Invite(*op, m);
        break;
    case msg::kKeepAlive:
        break;
    default:
        Send(c, simmsg::Refusal(m.Code(), rc::kBadCommand));
        break;
    }
}

void CSimWorld::HandleChannel(const Connection& c, Peer& peer, const CSocketMessage& m)
{
    Call* call = FindCall(peer.callId);
    if (!call)
        return; // the call has ended; the connection is closing
    switch (m.Code()) {
    case msg::kChatData:
        Relay(c, *call, m);
        break;
    case msg::kRequestUsers:
        SendParticipants(c, *call);
        break;
    case msg::kTransferCall:
        Transfer(c, *call, peer.operatorId, m);
        break;
    case msg::kOpenMainChannel:
    case msg::kOpenChannel:
        Send(c, simmsg::ChannelRefusal(rc::kChannelAlreadyOpen));
        break;
    case msg::kKeepAlive:
        break;
    default:
        Send(c, simmsg::Refusal(m.Code(), rc::kBadCommand));
        break;
    }
}

// --- Operator connection ----------------------------------------------------------------------

void CSimWorld::Login(const Connection& c, Peer& peer, const CSocketMessage& m)
{
    const auto user = m.GetField(msg::login::kFieldUser);
    const auto password = m.GetField(msg::login::kFieldPassword);
    if (!user || !password) {
        Send(c, simmsg::Refusal(msg::kLogin, rc::kBadParameters));
        return;
    }
    const auto account = std::find_if(m_accounts.begin(), m_accounts.end(),
                                      [&](const SimAccount& a) { return a.user == *user; });
    if (account == m_accounts.end() || account->password != *password) {
        Send(c, simmsg::Refusal(msg::kLogin, rc::kBadCredentials));
        return;
    }
    const auto id = static_cast<std::int32_t>(account - m_accounts.begin()) + 1;
    if (m_operators.count(id)) {
        Send(c, simmsg::Refusal(msg::kLogin, rc::kAlreadySignedIn));
        return;
    }
    SimFaultMoment moment{};
    const auto fault = TakeFault(false, moment);
    if (fault && moment == SimFaultMoment::AtLogin) {
        Strike(c, peer, *fault, moment); // no reply, and nobody signed in
        return;
    }
    Operator op;
    op.info = SimOperatorInfo{
        id,       account->user, account->firstName, account->lastName, OperatorStatus::kOnline,
        c->Peer()};
    op.session = c;
    peer.role = Role::Operator;
    peer.operatorId = id;

    CSocketMessage reply(msg::kReplyOk);
    reply.AddIntField(msg::kLogin);
    reply.AddIntField(id);
    reply.AddIntField(m_version);
    Send(c, reply);
    if (fault)
        Strike(c, peer, *fault, moment);
    Broadcast(simmsg::OperatorAdded(op.info, OperatorNumber(id)));
    m_operators.emplace(id, std::move(op));
}

void CSimWorld::SetStatus(Operator& op, const CSocketMessage& m)
{
    const std::int32_t status = m.GetIntField(msg::kStatusFieldStatus);
    if (status != OperatorStatus::kOnline && status != OperatorStatus::kBusy &&
        status != OperatorStatus::kAway) {
        Send(op.session, simmsg::Refusal(msg::kSetStatus, rc::kBadParameters));
        return;
    }
    op.info.status = status;
    Send(op.session, simmsg::Reply(msg::kSetStatus, status));
    Broadcast(simmsg::OperatorStatus(op.info.id, status), op.info.id);
}

void CSimWorld::SendOperatorList(const Connection& c)
{
    CSocketMessage reply(msg::kReplyOk);
    reply.AddIntField(msg::kRequestUsers);
    reply.AddIntField(static_cast<std::int32_t>(m_operators.size()));
    for (const auto& [id, op] : m_operators)
        simmsg::AddUserRecord(reply, id, OperatorNumber(id), UserType::kOperator, op.info.status,
                              op.info.host, op.info.firstName, op.info.lastName);
    Send(c, reply);
}

void CSimWorld::SendVisitorList(const Connection& c)
{
    CSocketMessage reply(msg::kReplyOk);
    reply.AddIntField(msg::kRequestVisitors);
    reply.AddIntField(static_cast<std::int32_t>(m_crowd.Count()));
    for (const auto& [id, visitor] : m_crowd.All())
        simmsg::AddVisitorRecord(reply, visitor);
    Send(c, reply);
}

void CSimWorld::Invite(Operator& op, const CSocketMessage& m)
{
    const std::int32_t visitorId = m.GetIntField(msg::invite::kFieldVisitor);
    if (!m_crowd.Find(visitorId)) {
        Send(op.session, simmsg::Refusal(msg::kInviteVisitor, rc::kVisitorNotFound));
        return;
    }
    Send(op.session, simmsg::Reply(msg::kInviteVisitor, visitorId));
    if (m_crowd.CallOf(visitorId) || !m_random.Chance(m_options.inviteAcceptChance))
        return;
    const std::int32_t operatorId = op.info.id;
    m_scheduler.After(
        Ms(m_random.Between(kMinInviteDelayMs, kMaxInviteDelayMs)), [this, visitorId, operatorId] {
            // Both may have gone, or the visitor started another chat meanwhile.
            if (m_crowd.Find(visitorId) && !m_crowd.CallOf(visitorId) && FindOperator(operatorId))
                OfferCall(visitorId, operatorId);
        });
}

// --- Call channels ----------------------------------------------------------------------------

void CSimWorld::OpenChannel(const Connection& c, Peer& peer, const CSocketMessage& m)
{
    using namespace msg::channelOpen;
    c->SetPeerFrameCap(limits::kChannelFrame); // whatever the answer, the client is a channel
    if (!m.HasField(kFieldCallId) || !m.HasField(kFieldOperatorId) || !m.HasField(kFieldChannelId) ||
        !m.HasField(kFieldUserType) || m.GetIntField(kFieldChannelId) != 0 ||
        m.GetIntField(kFieldUserType) != UserType::kOperator) {
        Send(c, simmsg::ChannelRefusal(rc::kBadParameters));
        return;
    }
    const std::int32_t callId = m.GetIntField(kFieldCallId);
    const std::int32_t operatorId = m.GetIntField(kFieldOperatorId);
    Operator* op = FindOperator(operatorId);
    Call* call = FindCall(callId);
    int refusal = rc::kOk;
    if (!op)
        refusal = rc::kBadCredentials; // the channel names its operator only by id
    else if (!call)
        refusal = rc::kCallNotFound;
    else if (std::any_of(call->members.begin(), call->members.end(),
                         [operatorId](const auto& x) { return x.first == operatorId; }))
        refusal = rc::kChannelAlreadyOpen;
    else if (std::find(call->invited.begin(), call->invited.end(), operatorId) ==
             call->invited.end())
        refusal = rc::kBadInvitation;
    if (refusal != rc::kOk) {
        Send(c, simmsg::ChannelRefusal(refusal));
        return;
    }
    SimFaultMoment moment{};
    const auto fault = TakeFault(true, moment);
    if (fault && moment == SimFaultMoment::AtLogin) {
        Strike(c, peer, *fault, moment); // no reply, and the call not joined
        return;
    }

    std::erase(call->invited, operatorId);
    call->members.emplace_back(operatorId, c);
    peer.role = Role::Channel;
    peer.operatorId = operatorId;
    peer.callId = callId;
    Send(c, simmsg::Reply(msg::kOpenMainChannel, callId));
    if (fault)
        Strike(c, peer, *fault, moment);
    // The newcomer learns who is there from its participant list; the others from this event.
    SendToMembers(*call,
                  simmsg::ParticipantJoined(operatorId, UserType::kOperator,
                                            OperatorNumber(operatorId), op->info.firstName,
                                            op->info.lastName),
                  operatorId);
    if (!call->started) {
        call->started = true;
        ScheduleNextReply(*call); // the visitor asks the question they came with
    }
}

void CSimWorld::SendParticipants(const Connection& c, const Call& call)
{
    const SimVisitor* visitor = m_crowd.Find(call.visitorId);
    CSocketMessage reply(msg::kReplyOk);
    reply.AddIntField(msg::kRequestUsers);
    reply.AddIntField(static_cast<std::int32_t>(call.members.size() + (visitor ? 1 : 0)));
    if (visitor)
        simmsg::AddUserRecord(reply, visitor->id, visitor->pageViews, UserType::kVisitor,
                              OperatorStatus::kOnline, visitor->address, visitor->name, "");
    for (const auto& [id, connection] : call.members) {
        const Operator* op = FindOperator(id);
        const SimAccount& account = m_accounts[static_cast<std::size_t>(id - 1)];
        simmsg::AddUserRecord(reply, id, OperatorNumber(id), UserType::kOperator,
                              op ? op->info.status : OperatorStatus::kOnline,
                              op ? op->info.host : connection->Peer(), account.firstName,
                              account.lastName);
    }
    Send(c, reply);
}

void CSimWorld::Relay(const Connection& c, Call& call, const CSocketMessage& m)
{
    const std::int32_t kind = m.GetIntField(msg::chat::kFieldKind);
    if (kind != msg::chat::kLine && kind != msg::chat::kTyping) {
        Send(c, simmsg::Refusal(msg::kChatData, rc::kBadParameters));
        return;
    }
    std::int32_t senderId = 0;
    for (const auto& [id, connection] : call.members)
        if (connection == c)
            senderId = id;
    SendToMembers(call, m, senderId);
    if (kind == msg::chat::kLine)
        ScheduleNextReply(call);
}

void CSimWorld::Transfer(const Connection& c, Call& call, std::int32_t fromId,
                         const CSocketMessage& m)
{
    const std::int32_t targetId = m.GetIntField(msg::transfer::kFieldOperator);
    Operator* target = FindOperator(targetId);
    Operator* from = FindOperator(fromId);
    if (!target) {
        Send(c, simmsg::Refusal(msg::kTransferCall, rc::kUserNotOnline));
        return;
    }
    const bool member = std::any_of(call.members.begin(), call.members.end(),
                                    [targetId](const auto& x) { return x.first == targetId; });
    if (member) {
        Send(c, simmsg::Refusal(msg::kTransferCall, rc::kBadInvitation));
        return;
    }
    if (std::find(call.invited.begin(), call.invited.end(), targetId) == call.invited.end())
        call.invited.push_back(targetId);
    call.deadline = m_scheduler.Now() + kOfferTimeout;
    Send(c, simmsg::Reply(msg::kTransferCall, targetId));

    SimOperatorInfo sender;
    if (from) {
        sender = from->info;
    } else { // signed out since joining: still named by its account
        const SimAccount& account = m_accounts[static_cast<std::size_t>(fromId - 1)];
        sender.firstName = account.firstName;
        sender.lastName = account.lastName;
    }
    Send(target->session, simmsg::CallTransfer(call.visitorId, call.id, sender,
                                               m.FieldView(msg::transfer::kFieldText)));
}

// --- Step by step -----------------------------------------------------------------------------

std::int32_t CSimWorld::AddVisitor()
{
    std::int32_t id = 0;
    {
        std::lock_guard lock(m_mutex);
        VisitorArrives(m_startTime + m_scheduler.Now());
        id = m_crowd.All().rbegin()->first;
    }
    Changed();
    return id;
}

bool CSimWorld::RemoveVisitor(std::int32_t visitorId)
{
    bool found = false;
    {
        std::lock_guard lock(m_mutex);
        found = m_crowd.Find(visitorId) != nullptr;
        VisitorLeaves(visitorId);
    }
    Changed();
    return found;
}

std::int32_t CSimWorld::RequestChat(std::int32_t visitorId, std::int32_t operatorId)
{
    std::int32_t result = 0;
    {
        std::lock_guard lock(m_mutex);
        result = OfferCall(visitorId, operatorId);
    }
    Changed();
    return result;
}

bool CSimWorld::VisitorSays(std::int32_t callId, const std::string& text)
{
    std::lock_guard lock(m_mutex);
    const Call* call = FindCall(callId);
    const SimVisitor* visitor = call ? m_crowd.Find(call->visitorId) : nullptr;
    if (!visitor)
        return false;
    SendToMembers(*call, simmsg::Chat(msg::chat::kLine, visitor->name, text));
    return true;
}

bool CSimWorld::VisitorTypes(std::int32_t callId)
{
    std::lock_guard lock(m_mutex);
    const Call* call = FindCall(callId);
    const SimVisitor* visitor = call ? m_crowd.Find(call->visitorId) : nullptr;
    if (!visitor)
        return false;
    SendToMembers(*call, simmsg::Chat(msg::chat::kTyping, visitor->name));
    return true;
}

bool CSimWorld::SendNotice(std::int32_t callId, const std::string& text)
{
    std::lock_guard lock(m_mutex);
    const Call* call = FindCall(callId);
    if (!call)
        return false;
    SendToMembers(*call, simmsg::Notice(text));
    return true;
}

bool CSimWorld::VisitorLeavesCall(std::int32_t callId)
{
    bool found = false;
    {
        std::lock_guard lock(m_mutex);
        found = VisitorClosesChat(callId);
    }
    Changed();
    return found;
}

bool CSimWorld::SendToOperator(std::int32_t operatorId, const CSocketMessage& message)
{
    std::lock_guard lock(m_mutex);
    const Operator* op = FindOperator(operatorId);
    if (!op)
        return false;
    Send(op->session, message);
    return true;
}

bool CSimWorld::SendToCall(std::int32_t callId, const CSocketMessage& message)
{
    std::lock_guard lock(m_mutex);
    const Call* call = FindCall(callId);
    if (!call)
        return false;
    SendToMembers(*call, message);
    return true;
}

bool CSimWorld::DropOperator(std::int32_t operatorId)
{
    std::lock_guard lock(m_mutex);
    const Operator* op = FindOperator(operatorId);
    if (!op)
        return false;
    // The operator is listed until its reader sees the end, like any connection that ends.
    op->session->CloseAfterFlush();
    return true;
}

void CSimWorld::SetVersion(int version)
{
    std::lock_guard lock(m_mutex);
    m_version = version;
}

// --- Hostile modes ---------------------------------------------------------------------------

void CSimWorld::ArmFault(const SimFault& fault)
{
    std::lock_guard lock(m_mutex);
    m_fault = fault;
    m_faultsLeft = fault.times;
}

std::optional<SimFaultKind> CSimWorld::TakeFault(bool channel, SimFaultMoment& moment)
{
    if (m_fault.kind == SimFaultKind::None || !Strikes(m_fault.target, channel))
        return std::nullopt;
    if (m_fault.times > 0) {
        if (m_faultsLeft <= 0)
            return std::nullopt;
        --m_faultsLeft;
    }
    moment = m_fault.moment;
    return m_fault.kind;
}

void CSimWorld::Strike(const Connection& c, Peer& peer, SimFaultKind kind, SimFaultMoment moment)
{
    if (kind == SimFaultKind::None)
        return;
    if (moment == SimFaultMoment::AtLogin || moment == SimFaultMoment::AfterLogin) {
        if (c->PostFault(kind))
            ++m_stats.faultsStruck;
        return;
    }
    if (peer.armedKind == SimFaultKind::None)
        ++m_armedPeers;
    peer.armedKind = kind;
    peer.armedMoment = moment;
}

bool CSimWorld::StrikeArmed(const Connection& c, const CSimConnection::Shared& m)
{
    const auto it = m_peers.find(c->Id());
    if (it == m_peers.end() || it->second.armedKind == SimFaultKind::None)
        return false;
    Peer& peer = it->second;
    if (peer.armedMoment == SimFaultMoment::MidList) {
        const int list = peer.role == Role::Channel ? msg::kRequestUsers : msg::kRequestVisitors;
        if (m->Code() != msg::kReplyOk || m->GetIntField(msg::kFieldRequest) != list)
            return false;
    }
    if (c->PostFault(peer.armedKind, m))
        ++m_stats.faultsStruck;
    Disarm(peer);
    return true;
}

void CSimWorld::Disarm(Peer& peer)
{
    if (peer.armedKind == SimFaultKind::None)
        return;
    peer.armedKind = SimFaultKind::None;
    --m_armedPeers;
}

bool CSimWorld::InjectFault(std::int32_t operatorId, SimFaultKind kind, SimFaultMoment moment)
{
    {
        std::lock_guard lock(m_mutex);
        const Operator* op = FindOperator(operatorId);
        if (!op)
            return false;
        Strike(op->session, m_peers[op->session->Id()], kind, moment);
    }
    Changed();
    return true;
}

bool CSimWorld::InjectCallFault(std::int32_t callId, SimFaultKind kind, SimFaultMoment moment)
{
    {
        std::lock_guard lock(m_mutex);
        const Call* call = FindCall(callId);
        if (!call)
            return false;
        for (const auto& [id, connection] : call->members)
            Strike(connection, m_peers[connection->Id()], kind, moment);
    }
    Changed();
    return true;
}

void CSimWorld::Flood(int events, SimTarget target)
{
    {
        std::lock_guard lock(m_mutex);
        for (int i = 0; i < events; ++i)
            FloodOnce(target);
    }
    Changed();
}

void CSimWorld::SetFloodRate(double perSecond, SimTarget target)
{
    {
        std::lock_guard lock(m_mutex);
        m_floodRate = perSecond;
        m_floodTarget = target;
        ScheduleFlood();
    }
    Changed();
}

void CSimWorld::ScheduleFlood()
{
    if (m_floodScheduled || m_floodRate <= 0)
        return;
    m_floodScheduled = true;
    m_scheduler.After(kFloodTick, [this] {
        m_floodScheduled = false;
        if (m_floodRate <= 0)
            return;
        m_floodCarry += m_floodRate * std::chrono::duration<double>(kFloodTick).count();
        const auto burst = static_cast<std::int64_t>(m_floodCarry);
        m_floodCarry -= static_cast<double>(burst);
        for (std::int64_t i = 0; i < burst; ++i)
            FloodOnce(m_floodTarget);
        ScheduleFlood();
    });
}

void CSimWorld::FloodOnce(SimTarget target)
{
    if (Strikes(target, false))
        FloodOperatorEvent();
    if (Strikes(target, true))
        FloodChannelLine();
}

void CSimWorld::FloodOperatorEvent()
{
    ++m_stats.floodEvents;
    if (!m_operators.empty() && m_random.Chance(kFloodStatusShare)) {
        auto it = m_operators.begin();
        std::advance(it, static_cast<std::ptrdiff_t>(m_floodTurn++ % m_operators.size()));
        SimOperatorInfo& info = it->second.info;
        info.status = info.status % OperatorStatus::kAway + 1; // online, busy, away, online...
        // Every operator hears it, the operator itself too: as if it had changed elsewhere.
        Broadcast(simmsg::OperatorStatus(info.id, info.status));
        return;
    }
    // Arrivals outweigh departures below the crowd's size and the other way round above it.
    const auto size = static_cast<std::size_t>(std::max(m_options.initialVisitors, 0));
    const double arrive = m_crowd.Count() < size ? 0.6 : 0.25;
    const double roll = m_random.Unit();
    const std::int32_t someone = roll < arrive ? 0 : m_crowd.PickFree(m_random);
    if (!someone)
        VisitorArrives(m_startTime + m_scheduler.Now());
    else if (roll < arrive + kFloodUpdateShare)
        Broadcast(simmsg::VisitorEntered(*m_crowd.Find(someone)));
    else
        VisitorLeaves(someone);
}

void CSimWorld::FloodChannelLine()
{
    std::vector<const Call*> busy;
    for (const auto& [id, call] : m_calls)
        if (!call.members.empty() && m_crowd.Find(call.visitorId))
            busy.push_back(&call);
    if (busy.empty())
        return;
    ++m_stats.floodEvents;
    const Call& call = *busy[m_floodTurn++ % busy.size()];
    const SimVisitor& visitor = *m_crowd.Find(call.visitorId);
    SendToMembers(call, simmsg::Chat(msg::chat::kLine, visitor.name,
                                     "flood " + std::to_string(m_stats.floodEvents)));
}

// --- Looking on -------------------------------------------------------------------------------

std::vector<SimVisitor> CSimWorld::Visitors() const
{
    std::lock_guard lock(m_mutex);
    std::vector<SimVisitor> result;
    result.reserve(m_crowd.Count());
    for (const auto& [id, visitor] : m_crowd.All())
        result.push_back(visitor);
    return result;
}

std::vector<SimOperatorInfo> CSimWorld::Operators() const
{
    std::lock_guard lock(m_mutex);
    std::vector<SimOperatorInfo> result;
    for (const auto& [id, op] : m_operators)
        result.push_back(op.info);
    return result;
}

std::vector<SimCallInfo> CSimWorld::Calls() const
{
    std::lock_guard lock(m_mutex);
    std::vector<SimCallInfo> result;
    for (const auto& [id, call] : m_calls) {
        SimCallInfo info{id, call.visitorId, {}, call.invited};
        for (const auto& member : call.members)
            info.members.push_back(member.first);
        result.push_back(std::move(info));
    }
    return result;
}

std::vector<SimReceived> CSimWorld::Received() const
{
    std::lock_guard lock(m_mutex);
    return {m_received.begin(), m_received.end()};
}

SimStats CSimWorld::Stats() const
{
    std::lock_guard lock(m_mutex);
    return m_stats;
}

void CSimWorld::CountAccepted(bool dropped)
{
    std::lock_guard lock(m_mutex);
    ++m_stats.connectionsAccepted;
    if (dropped)
        ++m_stats.connectionsDropped;
}

bool CSimWorld::WaitUntil(const std::function<bool()>& pred,
                          std::chrono::milliseconds timeout) const
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        std::uint64_t seen = 0;
        {
            std::lock_guard lock(m_changeMutex);
            seen = m_generation;
        }
        if (pred())
            return true;
        std::unique_lock lock(m_changeMutex);
        if (!m_changed.wait_until(lock, deadline, [&] { return m_generation != seen; }))
            return pred();
    }
}

// --- Helpers ----------------------------------------------------------------------------------

void CSimWorld::Send(const Connection& c, const CSocketMessage& m)
{
    Send(c, std::make_shared<const CSocketMessage>(m));
}

void CSimWorld::Send(const Connection& c, const CSimConnection::Shared& m)
{
    if (!c || (m_armedPeers > 0 && StrikeArmed(c, m)))
        return;
    if (c->Post(m))
        ++m_stats.messagesOut;
}

void CSimWorld::Broadcast(const CSocketMessage& m, std::int32_t exceptOperatorId)
{
    if (m_operators.empty())
        return;
    const auto shared = std::make_shared<const CSocketMessage>(m);
    for (const auto& [id, op] : m_operators)
        if (id != exceptOperatorId)
            Send(op.session, shared);
}

void CSimWorld::SendToMembers(const Call& call, const CSocketMessage& m,
                              std::int32_t exceptOperatorId)
{
    if (call.members.empty())
        return;
    const auto shared = std::make_shared<const CSocketMessage>(m);
    for (const auto& [id, connection] : call.members)
        if (id != exceptOperatorId)
            Send(connection, shared);
}

CSimWorld::Operator* CSimWorld::FindOperator(std::int32_t id)
{
    const auto it = m_operators.find(id);
    return it == m_operators.end() ? nullptr : &it->second;
}

CSimWorld::Call* CSimWorld::FindCall(std::int32_t id)
{
    const auto it = m_calls.find(id);
    return it == m_calls.end() ? nullptr : &it->second;
}

void CSimWorld::Trace(const Peer& peer, const CSocketMessage& m)
{
    if (m_options.traceLimit == 0)
        return;
    if (m_received.size() >= m_options.traceLimit)
        m_received.pop_front();
    SimReceived entry;
    entry.kind = peer.role == Role::Operator  ? SimReceived::Kind::Operator
                 : peer.role == Role::Channel ? SimReceived::Kind::Channel
                                              : SimReceived::Kind::Unbound;
    entry.operatorId = peer.operatorId;
    entry.callId = peer.callId;
    entry.code = m.Code();
    entry.payload = std::string(m.Payload());
    m_received.push_back(std::move(entry));
}

void CSimWorld::Changed() const
{
    {
        std::lock_guard lock(m_changeMutex);
        ++m_generation;
    }
    m_changed.notify_all();
}
