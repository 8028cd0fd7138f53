#pragma once

#include "sim_world.h"

class CSocketMessage;

// What the simulated server answers to each request a client sends, by the role the connection
// has taken: nothing yet (log-in, channel opening), an operator's session, or a call channel.
// Runs under CSimWorld's lock, on its state; it answers by posting to connections' queues.
class CSimRequests final
{
public:
    explicit CSimRequests(CSimWorld& world) : m_world(world) {}
    CSimRequests(const CSimRequests&) = delete;
    CSimRequests& operator=(const CSimRequests&) = delete;

    void Handle(const CSimWorld::Connection& c, CSimWorld::Peer& peer, const CSocketMessage& m);

private:
    using Connection = CSimWorld::Connection;
    using Peer = CSimWorld::Peer;
    using Role = CSimWorld::Role;
    using Operator = CSimWorld::Operator;
    using Call = CSimWorld::Call;

    // Each false when its role does not know the request.
    bool HandleUnbound(const Connection& c, Peer& peer, const CSocketMessage& m);
    bool HandleOperator(const Connection& c, Peer& peer, const CSocketMessage& m);
    bool HandleChannel(const Connection& c, Peer& peer, const CSocketMessage& m);

    void Login(const Connection& c, Peer& peer, const CSocketMessage& m);
    void SetStatus(Operator& op, const CSocketMessage& m);
    void SendOperatorList(const Connection& c);
    void SendVisitorList(const Connection& c);
    void Invite(Operator& op, const CSocketMessage& m);
    void OpenChannel(const Connection& c, Peer& peer, const CSocketMessage& m);
    void SendParticipants(const Connection& c, const Call& call);
    void Relay(const Connection& c, Call& call, const CSocketMessage& m);
    void Transfer(const Connection& c, Call& call, std::int32_t fromId, const CSocketMessage& m);

    CSimWorld& m_world;
};
