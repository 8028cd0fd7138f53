#include "call.h"

#include "message_codes.h"
#include "result_codes.h"
#include "socket_message.h"

CCall::CCall(COperatorSession& session, int callId) : m_session(session), m_callId(callId) {}

CCall::~CCall()
{
    ShutDown();
}

void CCall::SetCallbacks(Callbacks callbacks)
{
    m_callbacks.Set(std::move(callbacks));
}

void CCall::ClearCallbacks()
{
    m_callbacks.Clear();
}

int CCall::OpenChannel(int channelId, CCallSession::Callbacks callbacks)
{
    if (m_channels.Find(channelId))
        return rc::kChannelNotFound;
    auto channel = std::make_shared<CCallSession>(*this, channelId);
    if (channelId != 0)
        channel->SetCallbacks(std::move(callbacks));
    const int result = channel->Open();
    if (result != rc::kOk)
        return result;
    // Another thread may have opened the same channel id meanwhile; the first one stays.
    if (!m_channels.Add(channel)) {
        channel->Close(CCallSession::kReasonClosed);
        return rc::kChannelNotFound;
    }
    return rc::kOk;
}

int CCall::Post(const CSocketMessage& message)
{
    const auto channel = m_channels.Find(0);
    if (!channel)
        return rc::kChannelNotFound;
    return channel->Post(message);
}

int CCall::RequestParticipants()
{
    return Post(CSocketMessage(msg::kRequestUsers));
}

int CCall::TransferCall(int operatorId, std::string_view text)
{
    CSocketMessage message(msg::kTransferCall);
    message.AddIntField(operatorId);
    message.AddField(text);
    return Post(message);
}

void CCall::Close()
{
    while (auto channel = m_channels.TakeOldest()) {
        channel->Close(CCallSession::kReasonClosed);
        channel.reset(); // destroyed here, unless one of its own threads is closing the call
    }
    m_callbacks.Raise(&Callbacks::OnCallClosed, CCallSession::kReasonClosed);
    ShutDown();
}

void CCall::ShutDown()
{
    while (auto channel = m_channels.TakeOldest()) {
        channel->Close(CCallSession::kReasonClosed);
        channel.reset();
    }
    m_callbacks.Raise(&Callbacks::OnCallClosed, CCallSession::kReasonClosed);
    m_callbacks.Clear();
    m_participants.Clear();
}
