#include "sim_world.h"

#include "message_codes.h"
#include "result_codes.h"
#include "sim_chat_script.h"
#include "sim_messages.h"
#include "sim_requests.h"
#include "socket_message.h"

#include <algorithm>

namespace {

constexpr double kLeaveDuringChatChance = 0.2;
// Without a steady crowd to keep (no initial visitors), new visitors stay this long on average.
constexpr double kDefaultStayMinutes = 5.0;
// The oldest opening visitor entered at most this long before the start.
constexpr double kMaxPastStayMinutes = 120.0;

using Ms = std::chrono::milliseconds;

Ms FromMinutes(double minutes)
{
    return Ms(static_cast<std::int64_t>(minutes * 60'000.0));
}

} // namespace

CSimWorld::CSimWorld(const SimOptions& options, std::chrono::system_clock::time_point startTime)
    : m_options(options), m_startTime(startTime), m_accounts(options.accounts),
      m_version(options.version), m_random(options.seed), m_crowd(m_random),
      m_faults(options.fault), m_flood(*this, options.floodPerSecond, options.floodTarget),
      m_requests(std::make_unique<CSimRequests>(*this)), m_script(std::make_unique<CSimChatScript>(*this))
{
    if (m_accounts.empty())
        m_accounts.push_back(SimAccount{"demo", "demo", "Demo", "Operator"});
}

CSimWorld::~CSimWorld() = default;

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
        m_flood.Start();
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

// --- Connections ------------------------------------------------------------------------------

void CSimWorld::OnMessage(const std::shared_ptr<CSimConnection>& c, const CSocketMessage& m)
{
    {
        std::lock_guard lock(m_mutex);
        ++m_stats.messagesIn;
        Peer& peer = m_peers[c->Id()];
        Trace(peer, m);
        m_requests->Handle(c, peer, m);
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
        m_faults.Forget(c->Id());
        const auto it = m_peers.find(c->Id());
        if (it != m_peers.end()) {
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
    m_faults.Arm(fault);
}

void CSimWorld::Strike(const Connection& c, bool channel, const SimFault& fault)
{
    m_faults.Strike(c, channel, fault.kind, fault.moment);
}

bool CSimWorld::InjectFault(std::int32_t operatorId, SimFaultKind kind, SimFaultMoment moment)
{
    {
        std::lock_guard lock(m_mutex);
        const Operator* op = FindOperator(operatorId);
        if (!op)
            return false;
        m_faults.Strike(op->session, false, kind, moment);
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
            m_faults.Strike(connection, true, kind, moment);
    }
    Changed();
    return true;
}

void CSimWorld::Flood(int events, SimTarget target)
{
    {
        std::lock_guard lock(m_mutex);
        m_flood.Burst(events, target);
    }
    Changed();
}

void CSimWorld::SetFloodRate(double perSecond, SimTarget target)
{
    {
        std::lock_guard lock(m_mutex);
        m_flood.SetRate(perSecond, target);
    }
    Changed();
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
    SimStats stats = m_stats;
    stats.faultsStruck = m_faults.Struck();
    return stats;
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
    return m_changes.WaitUntil(pred, timeout);
}

// --- Helpers ----------------------------------------------------------------------------------

void CSimWorld::Send(const Connection& c, const CSocketMessage& m)
{
    Send(c, std::make_shared<const CSocketMessage>(m));
}

void CSimWorld::Send(const Connection& c, const CSimConnection::Shared& m)
{
    if (!c || (m_faults.AnyWaiting() && m_faults.Cut(c, m)))
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
    m_changes.Notify();
}
