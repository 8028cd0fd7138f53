#include "call_session.h"

#include "call.h"
#include "message_codes.h"
#include "operator_session.h"
#include "result_codes.h"
#include "socket_message.h"

#include <system_error>

CCallSession::CCallSession(CCall& owner, int channelId)
    : m_owner(owner), m_channelId(channelId),
      m_socket(owner.m_session.Waits(), limits::kChannelFrame)
{
}

CCallSession::~CCallSession()
{
    m_callbacks.Clear();
    Close(kReasonClosed);
    ReportUnsent();
    // Joined by Close unless it ran on one of them: the last reference to a channel can be
    // dropped by its own thread as it ends, and that thread cannot join itself.
    std::lock_guard lock(m_threadMutex);
    for (std::thread* thread : {&m_sender, &m_receiver}) {
        if (!thread->joinable())
            continue;
        if (thread->get_id() == std::this_thread::get_id())
            thread->detach();
        else
            thread->join();
    }
}

void CCallSession::SetCallbacks(Callbacks callbacks)
{
    m_callbacks.Set(std::move(callbacks));
}

void CCallSession::ClearCallbacks()
{
    m_callbacks.Clear();
}

int CCallSession::Open()
{
    // A reset of whatever ran before. A channel that never ran has nothing to reset, and
    // reporting it closed would tell callbacks installed ahead of the open that it failed.
    if (HasRun())
        Close(kReasonClosed);
    const int result = Handshake();
    if (result != rc::kOk)
        Close(kReasonClosed);
    return result;
}

int CCallSession::Handshake()
{
    const COperatorSession& session = m_owner.m_session;
    const std::string host = session.ServerHost();
    if (host.empty())
        return rc::kNotConnected; // not logged in
    const int connected = m_socket.Connect(host, session.ServerPort());
    if (connected < 0)
        return connected;

    const int code = m_channelId == 0 ? msg::kOpenMainChannel : msg::kOpenChannel;
    CSocketMessage opening(code);
    opening.AddIntField(m_owner.CallId());
    opening.AddIntField(session.OperatorId());
    opening.AddIntField(m_channelId);
    opening.AddIntField(UserType::kOperator);
    int result = opening.Send(m_socket);
    if (result <= 0)
        return result;

    CSocketMessage reply;
    result = reply.Receive(m_socket);
    if (result <= 0)
        return result;
    if (reply.Code() == msg::kReplyFailed) {
        const int refusal = reply.GetIntField(msg::kChannelFailFieldResult);
        // A refusal that names no failure must not read as an open channel.
        return refusal < 0 ? refusal : rc::kBadFormat;
    }
    if (reply.Code() != msg::kReplyOk)
        return rc::kBadCommand;
    if (reply.GetIntField(msg::kFieldRequest) != code)
        return rc::kBadParameters;
    m_stopped = false;
    return StartThreads();
}

int CCallSession::StartThreads()
{
    // Each thread keeps its channel and call alive until it has returned, so that a callback
    // may close its own call without the memory going from under the thread.
    const std::shared_ptr<CCallSession> self = weak_from_this().lock();
    const std::shared_ptr<CCall> call = m_owner.weak_from_this().lock();
    if (!self || !call)
        return rc::kThreadFailed;
    using Id = std::atomic<std::thread::id> CCallSession::*;
    const auto body = [](std::shared_ptr<CCallSession> channel, std::shared_ptr<CCall> owner, Id id,
                         void (CCallSession::*loop)()) {
        // Recorded by the thread itself before it can raise anything, so that a callback that
        // closes this channel knows it must not wait for the thread it runs on.
        (*channel).*id = std::this_thread::get_id();
        ((*channel).*loop)();
        channel.reset(); // may destroy the channel, which raises on its call: drop that last
        owner.reset();
    };
    std::lock_guard lock(m_threadMutex);
    try {
        m_receiver =
            std::thread(body, self, call, &CCallSession::m_receiverId, &CCallSession::ReceiverLoop);
        m_sender =
            std::thread(body, self, call, &CCallSession::m_senderId, &CCallSession::SenderLoop);
    } catch (const std::system_error&) {
        return rc::kThreadFailed; // Open closes, which stops a receiver already started
    }
    return rc::kOk;
}

bool CCallSession::HasRun()
{
    if (!m_stopped || m_socket.IsOpen())
        return true;
    std::lock_guard lock(m_threadMutex);
    return m_sender.joinable() || m_receiver.joinable();
}

bool CCallSession::OnOwnThread() const
{
    const auto self = std::this_thread::get_id();
    return m_receiverId.load() == self || m_senderId.load() == self;
}

void CCallSession::StopThreads()
{
    // Checked before taking the mutex: another closer may hold it while joining this very thread.
    if (OnOwnThread())
        return;
    std::lock_guard lock(m_threadMutex);
    if (m_sender.joinable())
        m_sender.join();
    if (m_receiver.joinable())
        m_receiver.join();
    m_senderId = std::thread::id();
    m_receiverId = std::thread::id();
}

int CCallSession::Close(int reason)
{
    m_stopped = true;
    // Shutting the socket down wakes the receiver from its wait and a sender stuck in a send;
    // the signal wakes a sender waiting for work.
    m_socket.Close();
    m_wake.Unlock();
    if (reason != kReasonLost)
        StopThreads();
    RaiseClosed(reason);
    return rc::kOk;
}

int CCallSession::Post(const CSocketMessage& message)
{
    if (!m_queue.Push(message))
        return rc::kEmptyMessage;
    m_wake.Unlock(); // refused when a permit is pending already: the sender drains everything
    // A stopped channel has no sender to take it, or one that may have drained already.
    if (m_stopped)
        ReportUnsent();
    return rc::kOk;
}

void CCallSession::ReportUnsent()
{
    while (const auto message = m_queue.Pop())
        RaiseError(message->Code(), rc::kSendFailed);
}

void CCallSession::SenderLoop()
{
    m_wake.Lock();
    while (!m_stopped) {
        const auto message = m_queue.Pop();
        if (!message) {
            m_wake.Lock(kSenderWaitMs);
            continue;
        }
        // A failed send is reported and the next one tried; one that cut a frame has ended the
        // connection, so the receiver stops the channel and the rest is reported unsent.
        if (message->Send(m_socket) == message->Length())
            RaiseSent(*message);
        else
            RaiseError(message->Code(), rc::kSendFailed);
    }
    ReportUnsent();
}

void CCallSession::ReceiverLoop()
{
    CSocketMessage message;
    int last = rc::kIdle;
    while (!m_stopped && (last > 0 || last == rc::kIdle)) {
        last = message.Receive(m_socket);
        if (last > 0)
            Dispatch(message);
    }
    // Whoever stops the channel first reports it: a Close that raced with the loss wins.
    if (!m_stopped.exchange(true))
        Close(kReasonLost);
}

void CCallSession::Dispatch(const CSocketMessage& message)
{
    switch (message.Code()) {
    case msg::kChatData:
        RaiseReceived(message);
        break;
    case msg::kReplyOk:
        DispatchReply(message);
        break;
    case msg::kReplyFailed:
        m_owner.m_callbacks.Raise(&CCall::Callbacks::OnOtherMessage,
                                  message.GetIntField(msg::kFailFieldRequest),
                                  message.GetIntField(msg::kFailFieldResult));
        break;
    case msg::kEvent:
        DispatchEvent(message);
        break;
    default:
        RaiseError(message.Code(), rc::kReceiveFailed);
        break;
    }
}

void CCallSession::DispatchReply(const CSocketMessage& message)
{
    const int request = message.GetIntField(msg::kFieldRequest);
    switch (request) {
    case msg::kRequestUsers:
        m_owner.m_participants.Load(message);
        m_owner.m_callbacks.Raise(&CCall::Callbacks::OnParticipantsRefreshed);
        break;
    case msg::kTransferCall: {
        // A copy: the operator list belongs to the session's receive thread, not to this one.
        const auto invited = m_owner.m_session.Operators().FindCopy(
            message.GetIntField(msg::transfer::kReplyFieldOperator), UserType::kOperator);
        if (invited)
            m_owner.m_callbacks.Raise(&CCall::Callbacks::OnTransferred, *invited);
        break;
    }
    default:
        m_owner.m_callbacks.Raise(&CCall::Callbacks::OnOtherMessage, msg::kReplyOk, request);
        break;
    }
}

void CCallSession::DispatchEvent(const CSocketMessage& message)
{
    const int event = message.GetIntField(msg::kFieldRequest);
    switch (event) {
    case msg::kEvParticipantJoined: {
        namespace f = msg::participantJoined;
        CUserEntry values;
        values.id = message.GetIntField(f::kId);
        values.type = message.GetIntField(f::kType);
        values.number = message.GetIntField(f::kNumber);
        values.status = OperatorStatus::kOnline;
        values.text2 = message.FieldView(f::kText2);
        values.text3 = message.FieldView(f::kText3);
        bool added = false;
        const CUserEntry* entry = m_owner.m_participants.FindOrAdd(values, &added);
        if (added)
            m_owner.m_callbacks.Raise(&CCall::Callbacks::OnParticipantAdded, *entry);
        break;
    }
    case msg::kEvParticipantLeft: {
        namespace f = msg::participantLeft;
        const auto entry = m_owner.m_participants.Remove(message.GetIntField(f::kId),
                                                         message.GetIntField(f::kType));
        if (entry)
            m_owner.m_callbacks.Raise(&CCall::Callbacks::OnParticipantRemoved, *entry);
        break;
    }
    case msg::kEvChannelOpened:
    case msg::kEvChannelClosed: {
        namespace f = msg::channelEvent;
        m_owner.m_callbacks.Raise(&CCall::Callbacks::OnChannelEvent, message.GetIntField(f::kFirst),
                                  message.GetIntField(f::kSecond), message.GetIntField(f::kThird),
                                  event == msg::kEvChannelClosed ? 1 : 0);
        break;
    }
    default:
        m_owner.m_callbacks.Raise(&CCall::Callbacks::OnOtherMessage, msg::kEvent, event);
        break;
    }
}

void CCallSession::RaiseReceived(const CSocketMessage& message)
{
    if (m_channelId == 0)
        m_owner.m_callbacks.Raise(&CCall::Callbacks::OnChatData, message);
    else
        m_callbacks.Raise(&Callbacks::OnMessage, message);
}

void CCallSession::RaiseSent(const CSocketMessage& message)
{
    if (m_channelId == 0)
        m_owner.m_callbacks.Raise(&CCall::Callbacks::OnMessageSent, message);
    else
        m_callbacks.Raise(&Callbacks::OnMessageSent, message);
}

void CCallSession::RaiseError(int code, int result)
{
    if (m_channelId == 0)
        m_owner.m_callbacks.Raise(&CCall::Callbacks::OnOtherMessage, code, result);
    else
        m_callbacks.Raise(&Callbacks::OnError, code, result);
}

void CCallSession::RaiseClosed(int reason)
{
    if (m_channelId == 0)
        m_owner.m_callbacks.Raise(&CCall::Callbacks::OnCallClosed, reason);
    else
        m_callbacks.Raise(&Callbacks::OnClosed, reason);
}
