#pragma once

#include "sim_changes.h"
#include "sim_connection.h"
#include "sim_faults.h"
#include "sim_flood.h"
#include "sim_options.h"
#include "sim_random.h"
#include "sim_records.h"
#include "sim_scheduler.h"
#include "visitor_crowd.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class CSimChatScript;
class CSimRequests;
class CSocketMessage;

// Everything the simulated chat server knows and does: accounts and signed-in operators,
// visitors coming and going, calls with their channels and the scripted visitor in each. The
// answers to requests (CSimRequests), the faults (CSimFaults) and the flood (CSimFlood) are
// jobs of their own on this state. Connections report to it; it answers by posting to
// connections' queues, so it never waits on the network.
//
// Thread rules: every public member may be called from any thread; one lock serialises them.
// The connection entry points (OnMessage, OnClosed) are called by CSimServer from connection
// reader threads. Time moves only through AdvanceTo, from CSimServer's clock thread in real
// time or from a test.
//
// Order: the messages one call to the world produces for one peer are queued, and therefore
// sent, in the order they were produced; a reply always precedes the events it causes for others.
class CSimWorld final
{
public:
    using Time = CSimScheduler::Time;

    // Chat requests, invitations and transfers not taken up within this are dropped.
    static constexpr Time kOfferTimeout{90'000};

    CSimWorld(const SimOptions& options, std::chrono::system_clock::time_point startTime);
    ~CSimWorld();
    CSimWorld(const CSimWorld&) = delete;
    CSimWorld& operator=(const CSimWorld&) = delete;

    // The opening crowd and the first arrival and chat request. Once, before any connection.
    void Populate();
    // Runs everything due up to the simulated time t.
    void AdvanceTo(Time t);
    Time Now() const;
    // The simulated time of the earliest task waiting, if any: the real-time clock sleeps
    // until then.
    std::optional<Time> NextDue() const;
    // Called, under the world's lock, whenever a task is scheduled ahead of all others; it must
    // not block or call into the world. Set before any connection or clock runs.
    void SetEarliestChanged(std::function<void()> hook);

    // Connection entry points.
    void OnMessage(const std::shared_ptr<CSimConnection>& connection,
                   const CSocketMessage& message);
    void OnClosed(const std::shared_ptr<CSimConnection>& connection);

    // --- Step by step: what a test or a demo script makes happen now. -----------------------
    // A new visitor arrives (event 4001 to every operator); returns its id.
    std::int32_t AddVisitor();
    // The visitor leaves the sites (event 4002), ending any call of theirs.
    bool RemoveVisitor(std::int32_t visitorId);
    // The visitor asks the operator for a chat (event 2001). The new call id, or -32 (no such
    // visitor), -29 (visitor already in a call), -27 (operator not signed in).
    std::int32_t RequestChat(std::int32_t visitorId, std::int32_t operatorId);
    // The call's visitor sends a line, a typing notice, or the server a notice, to every
    // operator in the call. False when there is no such call.
    bool VisitorSays(std::int32_t callId, const std::string& text);
    bool VisitorTypes(std::int32_t callId);
    bool SendNotice(std::int32_t callId, const std::string& text);
    // The visitor closes the chat: a notice and the participant-left event, then every channel
    // of the call ends.
    bool VisitorLeavesCall(std::int32_t callId);
    // Pushes any message to the operator's session connection, or to every channel of a call.
    bool SendToOperator(std::int32_t operatorId, const CSocketMessage& message);
    bool SendToCall(std::int32_t callId, const CSocketMessage& message);
    // Ends the operator's session connection from the server's side.
    bool DropOperator(std::int32_t operatorId);
    // The field 3 value of later log-in replies.
    void SetVersion(int version);

    // --- Hostile modes. ---------------------------------------------------------------------
    // Replaces the fault armed for later log-ins and channel openings (SimOptions::fault).
    void ArmFault(const SimFault& fault);
    // Strikes the operator's session connection, or every channel of a call: now, after what
    // is queued (AtLogin and AfterLogin), or within the next frame or list reply sent to it.
    // False when there is no such operator or call.
    bool InjectFault(std::int32_t operatorId, SimFaultKind kind,
                     SimFaultMoment moment = SimFaultMoment::AfterLogin);
    bool InjectCallFault(std::int32_t callId, SimFaultKind kind,
                         SimFaultMoment moment = SimFaultMoment::AfterLogin);
    // A burst of flood events now, each as the running flood would send it (one per target).
    void Flood(int events, SimTarget target = SimTarget::Operator);
    // Changes the running flood (SimOptions::floodPerSecond); 0 stops it.
    void SetFloodRate(double perSecond, SimTarget target = SimTarget::Operator);

    // --- Looking on. ------------------------------------------------------------------------
    std::vector<SimVisitor> Visitors() const;
    std::vector<SimOperatorInfo> Operators() const;
    std::vector<SimCallInfo> Calls() const;
    std::vector<SimReceived> Received() const;
    SimStats Stats() const;
    void CountAccepted(bool dropped);

    // Waits until pred holds, re-checking whenever the world changes; pred must not hold any
    // lock of its own that the world's threads need. False when the deadline passed first.
    bool WaitUntil(const std::function<bool()>& pred, std::chrono::milliseconds timeout) const;

private:
    friend class CSimChatScript;
    friend class CSimFlood;
    friend class CSimRequests;
    using Connection = std::shared_ptr<CSimConnection>;

    enum class Role
    {
        Unbound,
        Operator,
        Channel
    };
    struct Peer
    {
        Role role = Role::Unbound;
        std::int32_t operatorId = 0;
        std::int32_t callId = 0;
    };
    struct Operator
    {
        SimOperatorInfo info;
        Connection session;
    };
    struct Call
    {
        std::int32_t id = 0;
        std::int32_t visitorId = 0;
        std::vector<std::pair<std::int32_t, Connection>> members; // joining order
        std::vector<std::int32_t> invited;
        Time deadline{0};          // unattended after this, the call is dropped
        bool started = false;      // an operator has joined at least once
        bool replyPending = false; // the visitor is thinking or typing
        bool asked = false;        // the opening question has been sent
        std::size_t nextReply = 0;
    };

    void VisitorArrives(std::chrono::system_clock::time_point entered);
    void VisitorLeaves(std::int32_t visitorId);
    void ScheduleDeparture(std::int32_t visitorId, Time after);
    std::int32_t OfferCall(std::int32_t visitorId, std::int32_t operatorId);
    void ExpireIfUnattended(std::int32_t callId);
    // Notice, participant-left event, then the call ends. False when there is no such call.
    bool VisitorClosesChat(std::int32_t callId);
    // Ends the call: every channel sends what it has queued and closes.
    void EndCall(std::int32_t callId);
    void LeaveCall(std::int32_t callId, std::int32_t operatorId);

    void ScheduleArrival();
    void ScheduleChatRequest();
    Time StayTime();
    std::int32_t PickOnlineOperator();

    void Strike(const Connection& c, bool channel, const SimFault& fault);

    void Send(const Connection& c, const CSocketMessage& m);
    void Send(const Connection& c, const CSimConnection::Shared& m);
    void Broadcast(const CSocketMessage& m, std::int32_t exceptOperatorId = 0);
    void SendToMembers(const Call& call, const CSocketMessage& m,
                       std::int32_t exceptOperatorId = 0);
    Operator* FindOperator(std::int32_t id);
    Call* FindCall(std::int32_t id);
    std::int32_t OperatorNumber(std::int32_t id) const { return 100 + id; }
    void Trace(const Peer& peer, const CSocketMessage& m);
    void Changed() const;

    const SimOptions m_options;
    const std::chrono::system_clock::time_point m_startTime;
    std::vector<SimAccount> m_accounts;
    int m_version;

    mutable std::mutex m_mutex;
    CSimRandom m_random;
    CSimScheduler m_scheduler;
    CVisitorCrowd m_crowd;
    std::map<std::int32_t, Operator> m_operators; // by id: account position + 1
    std::map<std::int32_t, Call> m_calls;
    std::unordered_map<int, Peer> m_peers; // by connection id
    std::int32_t m_nextCallId = 1;
    std::size_t m_roundRobin = 0;
    double m_nextArrivalMs = 0; // simulated time of the next arrival and chat request
    double m_nextChatMs = 0;
    std::deque<SimReceived> m_received;
    SimStats m_stats;

    CSimFaults m_faults;
    CSimFlood m_flood;
    std::unique_ptr<CSimRequests> m_requests;
    std::unique_ptr<CSimChatScript> m_script;

    mutable CSimChanges m_changes;
};
