#include "call_bridge.h"

#include "message_codes.h"
#include "operator_session.h"
#include "result_codes.h"
#include "socket_message.h"
#include "worker_pool.h"

#include <deque>
#include <mutex>

namespace {

// The wording of a transfer's invitation; the server passes it on to the invited operator.
constexpr char kTransferText[] = "invitation";

// The text of a chat line goes into a field closed by the delimiter, and the wire has no
// escaping: a "<~>" in it would end the field there and the rest would never reach the visitor.
// The visitor's side shows the text as HTML, so the entities read as what was typed.
std::string FieldText(const QString& text)
{
    QString safe = text;
    safe.replace(QStringLiteral("<~>"), QStringLiteral("&lt;~&gt;"));
    return safe.toStdString();
}

} // namespace

// What the bridge shares with the callbacks it installs and the jobs it starts; they may outlive
// the bridge.
struct CCallBridge::Shared
{
    std::mutex mutex;
    std::shared_ptr<CCall> call; // held from its opening until closed from either side
    bool detached = false;
    // Tickets of the messages queued on channel 0 and not yet reported, in queue order: the
    // channel reports every queued message once, in that order.
    std::deque<int> owed;

    int TakeOwed()
    {
        std::lock_guard lock(mutex);
        if (owed.empty())
            return 0;
        const int ticket = owed.front();
        owed.pop_front();
        return ticket;
    }
};

CCallBridge::CCallBridge(COperatorSession& session, CWorkerPool& pool, int callId, QObject* parent)
    : QObject(parent), m_session(session), m_pool(pool), m_callId(callId),
      m_relay(CEventRelay::Create(this)), m_shared(std::make_shared<Shared>())
{
}

CCallBridge::~CCallBridge()
{
    Detach();
}

bool CCallBridge::Open()
{
    const std::shared_ptr<CEventRelay> r = m_relay;
    const std::shared_ptr<Shared> shared = m_shared;
    CCallList& calls = m_session.Calls();
    const int callId = m_callId;
    using Topic = CEventRelay::Topic;

    CCall::Callbacks c;
    c.OnChatData = [r, this](const CSocketMessage& m) {
        r->Post([this, line = CChatLine::From(m)] { emit ChatData(line); });
    };
    c.OnMessageSent = [r, shared, this](const CSocketMessage&) {
        if (const int ticket = shared->TakeOwed())
            r->Post([this, ticket] { emit Delivered(ticket); });
    };
    c.OnCallClosed = [r, shared, this](int reason) {
        if (reason != 1) { // a loss: the call is no longer held
            std::lock_guard lock(shared->mutex);
            shared->call.reset();
        }
        r->Post([this, reason] { emit CallClosed(reason); });
    };
    // Raised on the receiver thread, the only one that changes the list: the snapshot is the
    // answer that was just loaded.
    c.OnParticipantsRefreshed = [r, this, &calls, callId] {
        std::vector<CUserEntry> list;
        if (const auto call = calls.Find(callId))
            list = call->Participants().Snapshot();
        r->Post([this, list = std::move(list)] { emit ParticipantsRefreshed(list); },
                Topic::Participants);
    };
    c.OnParticipantAdded = [r, this](const CUserEntry& e) {
        r->Post([this, e] { emit ParticipantAdded(e); });
    };
    c.OnParticipantRemoved = [r, this](const CUserEntry& e) {
        r->Post([this, e] { emit ParticipantRemoved(e); });
    };
    c.OnTransferred = [r, this](const CUserEntry& e) {
        r->Post([this, e] { emit Transferred(e); });
    };
    c.OnChannelEvent = [r, this](int first, int second, int third, int flag) {
        r->Post([=, this] { emit ChannelEvent(first, second, third, flag); });
    };
    c.OnOtherMessage = [r, shared, this](int first, int second) {
        if (second == rc::kSendFailed) {
            if (const int ticket = shared->TakeOwed())
                r->Post([this, ticket] { emit Undelivered(ticket); });
            return;
        }
        r->Post([this, first, second] { emit OtherMessage(first, second); });
    };

    // The callbacks go in with the open, so that even a connection that ends at once is seen.
    return m_pool.Start([r, shared, this, &calls, callId, c = std::move(c)] {
        const int result = calls.OpenCall(callId, c);
        std::shared_ptr<CCall> call = result == rc::kOk ? calls.Find(callId) : nullptr;
        bool closeHere = false;
        {
            std::lock_guard lock(shared->mutex);
            if (shared->detached)
                closeHere = call != nullptr; // the window went while the call opened
            else
                shared->call = call;
        }
        if (closeHere) {
            call->ClearCallbacks();
            calls.CloseCall(callId);
            return;
        }
        if (call)
            r->Post([this] { emit Opened(); });
        else
            r->Post([this, result] { emit OpenFailed(result); });
    });
}

bool CCallBridge::IsHeld() const
{
    std::lock_guard lock(m_shared->mutex);
    return m_shared->call != nullptr;
}

int CCallBridge::Queue(const CSocketMessage& message)
{
    std::shared_ptr<CCall> call;
    const int ticket = m_nextTicket++;
    {
        std::lock_guard lock(m_shared->mutex);
        call = m_shared->call;
        if (!call)
            return 0;
        // Owed before it is queued: the sender may report it before Post returns.
        m_shared->owed.push_back(ticket);
    }
    if (call->Post(message) == rc::kOk)
        return ticket;
    // Not queued (no channel 0), so never reported. Tickets are only added on this thread, so
    // it is still the last one.
    std::lock_guard lock(m_shared->mutex);
    if (!m_shared->owed.empty() && m_shared->owed.back() == ticket)
        m_shared->owed.pop_back();
    return 0;
}

int CCallBridge::SendLine(const QString& speaker, const QString& text)
{
    CSocketMessage line(msg::kChatData);
    line.AddIntField(msg::chat::kLine);
    line.AddField(speaker.toStdString());
    line.AddField(FieldText(text));
    return Queue(line);
}

int CCallBridge::SendTyping(const QString& speaker)
{
    CSocketMessage notice(msg::kChatData);
    notice.AddIntField(msg::chat::kTyping);
    notice.AddField(speaker.toStdString());
    return Queue(notice);
}

int CCallBridge::Transfer(int operatorId)
{
    CSocketMessage message(msg::kTransferCall);
    message.AddIntField(operatorId);
    message.AddField(kTransferText);
    return Queue(message);
}

int CCallBridge::RequestParticipants()
{
    return Queue(CSocketMessage(msg::kRequestUsers));
}

void CCallBridge::Close()
{
    std::shared_ptr<CCall> call;
    {
        std::lock_guard lock(m_shared->mutex);
        call = std::exchange(m_shared->call, nullptr);
    }
    if (!call)
        return;
    // Closing joins the channel's threads: not on the window's thread.
    COperatorSession* session = &m_session;
    m_pool.Start([session, callId = m_callId] { session->Calls().CloseCall(callId); });
}

void CCallBridge::Detach()
{
    m_relay->Detach();
    std::shared_ptr<CCall> call;
    {
        std::lock_guard lock(m_shared->mutex);
        if (m_shared->detached)
            return;
        m_shared->detached = true;
        call = std::exchange(m_shared->call, nullptr);
    }
    if (!call)
        return;
    // Nothing of the call reaches the window from here on, so its closing writes nothing.
    COperatorSession* session = &m_session;
    m_pool.Start([session, call, callId = m_callId] {
        call->ClearCallbacks();
        session->Calls().CloseCall(callId);
    });
}

int CCallBridge::OperatorId() const
{
    return m_session.OperatorId();
}

std::vector<CUserEntry> CCallBridge::Operators() const
{
    return m_session.Operators().Snapshot();
}
