#include "sim_requests.h"

#include "message_codes.h"
#include "result_codes.h"
#include "sim_chat_script.h"
#include "sim_messages.h"
#include "socket_message.h"
#include "wire_limits.h"

#include <algorithm>

namespace {

constexpr int kMinInviteDelayMs = 3'000;
constexpr int kMaxInviteDelayMs = 12'000;

using Ms = std::chrono::milliseconds;

} // namespace

void CSimRequests::Handle(const Connection& c, Peer& peer, const CSocketMessage& m)
{
    if (m.Code() <= 0) {
        m_world.Send(c, simmsg::Refusal(m.Code(), rc::kBadFormat));
        return;
    }
    const bool handled = peer.role == Role::Unbound    ? HandleUnbound(c, peer, m)
                         : peer.role == Role::Operator ? HandleOperator(c, peer, m)
                                                       : HandleChannel(c, peer, m);
    // A keep-alive is never answered; any other request the role does not know is refused.
    if (!handled && m.Code() != msg::kKeepAlive)
        m_world.Send(c, simmsg::Refusal(m.Code(), rc::kBadCommand));
}

bool CSimRequests::HandleUnbound(const Connection& c, Peer& peer, const CSocketMessage& m)
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
        m_world.Send(c, simmsg::ChannelRefusal(rc::kBadCommand));
        break;
    default:
        return false;
    }
    return true;
}

bool CSimRequests::HandleOperator(const Connection& c, Peer& peer, const CSocketMessage& m)
{
    Operator* op = m_world.FindOperator(peer.operatorId);
    if (!op)
        return true; // dropped from the server's side; the connection is ending
    switch (m.Code()) {
    case msg::kLogin:
        m_world.Send(c, simmsg::Refusal(msg::kLogin, rc::kAlreadySignedIn));
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
    default:
        return false;
    }
    return true;
}

bool CSimRequests::HandleChannel(const Connection& c, Peer& peer, const CSocketMessage& m)
{
    Call* call = m_world.FindCall(peer.callId);
    if (!call)
        return true; // the call has ended; the connection is closing
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
        m_world.Send(c, simmsg::ChannelRefusal(rc::kChannelAlreadyOpen));
        break;
    default:
        return false;
    }
    return true;
}

void CSimRequests::Login(const Connection& c, Peer& peer, const CSocketMessage& m)
{
    const auto user = m.GetField(msg::login::kFieldUser);
    const auto password = m.GetField(msg::login::kFieldPassword);
    if (!user || !password) {
        m_world.Send(c, simmsg::Refusal(msg::kLogin, rc::kBadParameters));
        return;
    }
    const auto account = std::find_if(m_world.m_accounts.begin(), m_world.m_accounts.end(),
                                      [&](const SimAccount& a) { return a.user == *user; });
    if (account == m_world.m_accounts.end() || account->password != *password) {
        m_world.Send(c, simmsg::Refusal(msg::kLogin, rc::kBadCredentials));
        return;
    }
    const auto id = static_cast<std::int32_t>(account - m_world.m_accounts.begin()) + 1;
    if (m_world.m_operators.count(id)) {
        m_world.Send(c, simmsg::Refusal(msg::kLogin, rc::kAlreadySignedIn));
        return;
    }
    const auto fault = m_world.m_faults.Take(false);
    if (fault && fault->moment == SimFaultMoment::AtLogin) {
        m_world.Strike(c, false, *fault); // no reply, and nobody signed in
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
    reply.AddIntField(m_world.m_version);
    m_world.Send(c, reply);
    if (fault)
        m_world.Strike(c, false, *fault);
    m_world.Broadcast(simmsg::OperatorAdded(op.info, m_world.OperatorNumber(id)));
    m_world.m_operators.emplace(id, std::move(op));
}

void CSimRequests::SetStatus(Operator& op, const CSocketMessage& m)
{
    const std::int32_t status = m.GetIntField(msg::kStatusFieldStatus);
    if (status != OperatorStatus::kOnline && status != OperatorStatus::kBusy &&
        status != OperatorStatus::kAway) {
        m_world.Send(op.session, simmsg::Refusal(msg::kSetStatus, rc::kBadParameters));
        return;
    }
    op.info.status = status;
    m_world.Send(op.session, simmsg::Reply(msg::kSetStatus, status));
    m_world.Broadcast(simmsg::OperatorStatus(op.info.id, status), op.info.id);
}

void CSimRequests::SendOperatorList(const Connection& c)
{
    CSocketMessage reply(msg::kReplyOk);
    reply.AddIntField(msg::kRequestUsers);
    reply.AddIntField(static_cast<std::int32_t>(m_world.m_operators.size()));
    for (const auto& [id, op] : m_world.m_operators)
        simmsg::AddUserRecord(reply, id, m_world.OperatorNumber(id), UserType::kOperator,
                              op.info.status, op.info.host, op.info.firstName, op.info.lastName);
    m_world.Send(c, reply);
}

void CSimRequests::SendVisitorList(const Connection& c)
{
    CSocketMessage reply(msg::kReplyOk);
    reply.AddIntField(msg::kRequestVisitors);
    reply.AddIntField(static_cast<std::int32_t>(m_world.m_crowd.Count()));
    for (const auto& [id, visitor] : m_world.m_crowd.All())
        simmsg::AddVisitorRecord(reply, visitor);
    m_world.Send(c, reply);
}

void CSimRequests::Invite(Operator& op, const CSocketMessage& m)
{
    const std::int32_t visitorId = m.GetIntField(msg::invite::kFieldVisitor);
    if (!m_world.m_crowd.Find(visitorId)) {
        m_world.Send(op.session, simmsg::Refusal(msg::kInviteVisitor, rc::kVisitorNotFound));
        return;
    }
    m_world.Send(op.session, simmsg::Reply(msg::kInviteVisitor, visitorId));
    if (m_world.m_crowd.CallOf(visitorId) ||
        !m_world.m_random.Chance(m_world.m_options.inviteAcceptChance))
        return;
    const std::int32_t operatorId = op.info.id;
    m_world.m_scheduler.After(Ms(m_world.m_random.Between(kMinInviteDelayMs, kMaxInviteDelayMs)),
                              [this, visitorId, operatorId] {
                                  // Both may have gone, or the visitor started another chat
                                  // meanwhile.
                                  if (m_world.m_crowd.Find(visitorId) &&
                                      !m_world.m_crowd.CallOf(visitorId) &&
                                      m_world.FindOperator(operatorId))
                                      m_world.OfferCall(visitorId, operatorId);
                              });
}

void CSimRequests::OpenChannel(const Connection& c, Peer& peer, const CSocketMessage& m)
{
    using namespace msg::channelOpen;
    c->SetPeerFrameCap(limits::kChannelFrame); // whatever the answer, the client is a channel
    if (!m.HasField(kFieldCallId) || !m.HasField(kFieldOperatorId) ||
        !m.HasField(kFieldChannelId) || !m.HasField(kFieldUserType) ||
        m.GetIntField(kFieldChannelId) != 0 ||
        m.GetIntField(kFieldUserType) != UserType::kOperator) {
        m_world.Send(c, simmsg::ChannelRefusal(rc::kBadParameters));
        return;
    }
    const std::int32_t callId = m.GetIntField(kFieldCallId);
    const std::int32_t operatorId = m.GetIntField(kFieldOperatorId);
    Operator* op = m_world.FindOperator(operatorId);
    Call* call = m_world.FindCall(callId);
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
        m_world.Send(c, simmsg::ChannelRefusal(refusal));
        return;
    }
    const auto fault = m_world.m_faults.Take(true);
    if (fault && fault->moment == SimFaultMoment::AtLogin) {
        m_world.Strike(c, true, *fault); // no reply, and the call not joined
        return;
    }

    std::erase(call->invited, operatorId);
    call->members.emplace_back(operatorId, c);
    peer.role = Role::Channel;
    peer.operatorId = operatorId;
    peer.callId = callId;
    m_world.Send(c, simmsg::Reply(msg::kOpenMainChannel, callId));
    if (fault)
        m_world.Strike(c, true, *fault);
    // The newcomer learns who is there from its participant list; the others from this event.
    m_world.SendToMembers(*call,
                          simmsg::ParticipantJoined(operatorId, UserType::kOperator,
                                                    m_world.OperatorNumber(operatorId),
                                                    op->info.firstName, op->info.lastName),
                          operatorId);
    if (!call->started) {
        call->started = true;
        m_world.m_script->NextLine(*call); // the visitor asks the question they came with
    }
}

void CSimRequests::SendParticipants(const Connection& c, const Call& call)
{
    const SimVisitor* visitor = m_world.m_crowd.Find(call.visitorId);
    CSocketMessage reply(msg::kReplyOk);
    reply.AddIntField(msg::kRequestUsers);
    reply.AddIntField(static_cast<std::int32_t>(call.members.size() + (visitor ? 1 : 0)));
    if (visitor)
        simmsg::AddUserRecord(reply, visitor->id, visitor->pageViews, UserType::kVisitor,
                              OperatorStatus::kOnline, visitor->address, visitor->name, "");
    for (const auto& [id, connection] : call.members) {
        const Operator* op = m_world.FindOperator(id);
        const SimAccount& account = m_world.m_accounts[static_cast<std::size_t>(id - 1)];
        simmsg::AddUserRecord(reply, id, m_world.OperatorNumber(id), UserType::kOperator,
                              op ? op->info.status : OperatorStatus::kOnline,
                              op ? op->info.host : connection->Peer(), account.firstName,
                              account.lastName);
    }
    m_world.Send(c, reply);
}

void CSimRequests::Relay(const Connection& c, Call& call, const CSocketMessage& m)
{
    const std::int32_t kind = m.GetIntField(msg::chat::kFieldKind);
    if (kind != msg::chat::kLine && kind != msg::chat::kTyping) {
        m_world.Send(c, simmsg::Refusal(msg::kChatData, rc::kBadParameters));
        return;
    }
    std::int32_t senderId = 0;
    for (const auto& [id, connection] : call.members)
        if (connection == c)
            senderId = id;
    m_world.SendToMembers(call, m, senderId);
    if (kind == msg::chat::kLine)
        m_world.m_script->NextLine(call);
}

void CSimRequests::Transfer(const Connection& c, Call& call, std::int32_t fromId,
                            const CSocketMessage& m)
{
    const std::int32_t targetId = m.GetIntField(msg::transfer::kFieldOperator);
    Operator* target = m_world.FindOperator(targetId);
    Operator* from = m_world.FindOperator(fromId);
    if (!target) {
        m_world.Send(c, simmsg::Refusal(msg::kTransferCall, rc::kUserNotOnline));
        return;
    }
    const bool member = std::any_of(call.members.begin(), call.members.end(),
                                    [targetId](const auto& x) { return x.first == targetId; });
    if (member) {
        m_world.Send(c, simmsg::Refusal(msg::kTransferCall, rc::kBadInvitation));
        return;
    }
    if (std::find(call.invited.begin(), call.invited.end(), targetId) == call.invited.end())
        call.invited.push_back(targetId);
    call.deadline = m_world.m_scheduler.Now() + CSimWorld::kOfferTimeout;
    m_world.Send(c, simmsg::Reply(msg::kTransferCall, targetId));

    SimOperatorInfo sender;
    if (from) {
        sender = from->info;
    } else { // signed out since joining: still named by its account
        const SimAccount& account = m_world.m_accounts[static_cast<std::size_t>(fromId - 1)];
        sender.firstName = account.firstName;
        sender.lastName = account.lastName;
    }
    m_world.Send(target->session, simmsg::CallTransfer(call.visitorId, call.id, sender,
                                                       m.FieldView(msg::transfer::kFieldText)));
}
