#include "call_bridge.h"

#include "socket_message.h"

#include <mutex>

// Shared by the bridge and every callback it handed out.
class CCallBridge::Relay final : public std::enable_shared_from_this<Relay>
{
public:
    explicit Relay(CCallBridge* bridge) : m_bridge(bridge) {}

    // Queues deliver(bridge) to run on the bridge's thread, unless detached by then. Any thread.
    template <class Deliver> void Post(Deliver deliver)
    {
        // Held while queueing, so Detach (and with it the bridge's destruction) waits for a post
        // that has already read the pointer.
        std::lock_guard lock(m_mutex);
        if (!m_bridge)
            return;
        QMetaObject::invokeMethod(
            m_bridge,
            [relay = shared_from_this(), deliver = std::move(deliver)] {
                // Checked again as it runs: events queued before Detach are dropped too.
                if (CCallBridge* bridge = relay->Bridge())
                    deliver(*bridge);
            },
            Qt::QueuedConnection);
    }

    void Detach()
    {
        std::lock_guard lock(m_mutex);
        m_bridge = nullptr;
    }

    CCallBridge* Bridge() const
    {
        std::lock_guard lock(m_mutex);
        return m_bridge;
    }

private:
    mutable std::mutex m_mutex;
    CCallBridge* m_bridge;
};

CCallBridge::CCallBridge(QObject* parent)
    : QObject(parent), m_relay(std::make_shared<Relay>(this))
{
}

CCallBridge::~CCallBridge()
{
    Detach();
}

void CCallBridge::Detach()
{
    m_relay->Detach();
}

bool CCallBridge::IsAttached() const
{
    return m_relay->Bridge() != nullptr;
}

CCall::Callbacks CCallBridge::Callbacks(CCallList& calls, int callId) const
{
    const std::shared_ptr<Relay> relay = m_relay;
    CCall::Callbacks c;
    c.OnChatData = [relay](const CSocketMessage& m) {
        relay->Post([line = CChatLine::From(m)](CCallBridge& b) { emit b.ChatData(line); });
    };
    c.OnMessageSent = [relay](const CSocketMessage& m) {
        relay->Post([code = m.Code()](CCallBridge& b) { emit b.MessageSent(code); });
    };
    c.OnCallClosed = [relay](int reason) {
        relay->Post([reason](CCallBridge& b) { emit b.CallClosed(reason); });
    };
    // Raised on the receiver thread, the only one that changes the list: the snapshot is the
    // answer that was just loaded.
    c.OnParticipantsRefreshed = [relay, &calls, callId] {
        std::vector<CUserEntry> list;
        if (const auto call = calls.Find(callId))
            list = call->Participants().Snapshot();
        relay->Post([list = std::move(list)](CCallBridge& b) { emit b.ParticipantsRefreshed(list); });
    };
    c.OnParticipantAdded = [relay](const CUserEntry& e) {
        relay->Post([e](CCallBridge& b) { emit b.ParticipantAdded(e); });
    };
    c.OnParticipantRemoved = [relay](const CUserEntry& e) {
        relay->Post([e](CCallBridge& b) { emit b.ParticipantRemoved(e); });
    };
    c.OnTransferred = [relay](const CUserEntry& e) {
        relay->Post([e](CCallBridge& b) { emit b.Transferred(e); });
    };
    c.OnChannelEvent = [relay](int first, int second, int third, int flag) {
        relay->Post([=](CCallBridge& b) { emit b.ChannelEvent(first, second, third, flag); });
    };
    c.OnOtherMessage = [relay](int first, int second) {
        relay->Post([=](CCallBridge& b) { emit b.OtherMessage(first, second); });
    };
    return c;
}
