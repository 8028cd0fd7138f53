#include "sim_messages.h"

#include "message_codes.h"

namespace simmsg {

CSocketMessage Reply(int request, std::int32_t value)
{
    CSocketMessage m(msg::kReplyOk);
    m.AddIntField(request);
    m.AddIntField(value);
    return m;
}

CSocketMessage Refusal(int request, int result)
{
    CSocketMessage m(msg::kReplyFailed);
    m.AddIntField(request);
    m.AddIntField(result);
    return m;
}

CSocketMessage ChannelRefusal(int result)
{
    CSocketMessage m(msg::kReplyFailed);
    m.AddIntField(result);
    return m;
}

void AddVisitorRecord(CSocketMessage& m, const SimVisitor& v)
{
    // Field order of the visitor record (msg::visitor offsets 0..7).
    m.AddIntField(v.id);
    m.AddIntField(v.pageViews);
    m.AddField(std::string_view(v.page));
    m.AddField(std::string_view(v.caption));
    m.AddField(std::string_view(v.referrer));
    m.AddField(std::string_view(v.entered));
    m.AddField(std::string_view(v.address));
    m.AddIntField(v.groupKey);
}

void AddUserRecord(CSocketMessage& m, std::int32_t id, std::int32_t number, int type, int status,
                   std::string_view text1, std::string_view text2, std::string_view text3)
{
    // Field order of the user record (msg::user offsets 0..6).
    m.AddIntField(id);
    m.AddIntField(number);
    m.AddIntField(type);
    m.AddIntField(status);
    m.AddField(text1);
    m.AddField(text2);
    m.AddField(text3);
}

CSocketMessage VisitorEntered(const SimVisitor& visitor)
{
    CSocketMessage m(msg::kEvent);
    m.AddIntField(msg::kEvVisitorEntered);
    AddVisitorRecord(m, visitor);
    return m;
}

CSocketMessage VisitorLeft(std::int32_t visitorId)
{
    CSocketMessage m(msg::kEvent);
    m.AddIntField(msg::kEvVisitorLeft);
    m.AddIntField(visitorId);
    return m;
}

CSocketMessage OperatorAdded(const SimOperatorInfo& op, std::int32_t number)
{
    CSocketMessage m(msg::kEvent);
    m.AddIntField(msg::kEvOperatorAdded);
    m.AddIntField(op.id);
    m.AddIntField(number);
    m.AddIntField(UserType::kOperator);
    m.AddIntField(op.status);
    m.AddField(std::string_view(op.host));
    m.AddField(std::string_view(op.firstName));
    m.AddField(std::string_view(op.lastName));
    return m;
}

CSocketMessage OperatorRemoved(std::int32_t operatorId)
{
    CSocketMessage m(msg::kEvent);
    m.AddIntField(msg::kEvOperatorRemoved);
    m.AddIntField(operatorId);
    m.AddIntField(UserType::kOperator);
    return m;
}

CSocketMessage OperatorStatus(std::int32_t operatorId, int status)
{
    CSocketMessage m(msg::kEvent);
    m.AddIntField(msg::kEvOperatorStatus);
    m.AddIntField(operatorId);
    m.AddIntField(UserType::kOperator);
    m.AddIntField(status);
    return m;
}

CSocketMessage IncomingCall(std::int32_t visitorId, std::int32_t callId, std::string_view name,
                            std::string_view text)
{
    CSocketMessage m(msg::kEvent);
    m.AddIntField(msg::kEvIncomingCall);
    m.AddIntField(visitorId);
    m.AddIntField(callId);
    m.AddField(name);
    m.AddField(text);
    return m;
}

CSocketMessage CallTransfer(std::int32_t visitorId, std::int32_t callId,
                            const SimOperatorInfo& from, std::string_view text)
{
    CSocketMessage m(msg::kEvent);
    m.AddIntField(msg::kEvCallTransfer);
    m.AddIntField(visitorId);
    m.AddIntField(callId);
    m.AddField(std::string_view(from.firstName));
    m.AddField(std::string_view(from.lastName));
    m.AddField(text);
    return m;
}

CSocketMessage ParticipantJoined(std::int32_t id, int type, std::int32_t number,
                                 std::string_view text2, std::string_view text3)
{
    CSocketMessage m(msg::kEvent);
    m.AddIntField(msg::kEvParticipantJoined);
    m.AddIntField(id);
    m.AddIntField(type);
    m.AddIntField(number);
    m.AddField(text2);
    m.AddField(text3);
    return m;
}

CSocketMessage ParticipantLeft(std::int32_t id, int type)
{
    CSocketMessage m(msg::kEvent);
    m.AddIntField(msg::kEvParticipantLeft);
    m.AddIntField(id);
    m.AddIntField(type);
    return m;
}

CSocketMessage Chat(int kind, std::string_view sender, std::string_view text)
{
    CSocketMessage m(msg::kChatData);
    m.AddIntField(kind);
    m.AddField(sender);
    if (kind == msg::chat::kLine)
        m.AddField(text);
    return m;
}

CSocketMessage Notice(std::string_view text)
{
    CSocketMessage m(msg::kChatData);
    m.AddIntField(msg::chat::kNotice);
    m.AddField(std::string_view()); // no sender: the client does not read field 2 of a notice
    m.AddField(text);
    return m;
}

} // namespace simmsg
