#include "call_bridge.h"

#include "socket_message.h"

#include <chrono>
#include <deque>
#include <functional>
#include <mutex>

// Shared by the bridge and every callback it handed out: the events waiting for the bridge's
// thread, in the order the call raised them.
//
// They are delivered in slices: a burst of thousands of lines would otherwise be handed over
// in one turn of the event loop, and the window would not repaint or answer the operator until
// the last was in. After a slice the rest waits behind whatever else the loop has to do.
class CCallBridge::Relay final : public std::enable_shared_from_this<Relay>
{
public:
    using Delivery = std::function<void(CCallBridge&)>;
    static constexpr std::chrono::milliseconds kSlice{8};

    explicit Relay(CCallBridge* bridge) : m_bridge(bridge) {}

    // Queues deliver(bridge) for the bridge's thread, unless detached by then. Any thread.
    void Post(Delivery deliver)
    {
        std::lock_guard lock(m_mutex);
        if (!m_bridge)
            return;
        m_waiting.push_back(std::move(deliver));
        if (!m_drainPosted) {
            m_drainPosted = true;
            PostDrain();
        }
    }

    // Dropping what waits, too: nothing queued before reaches the bridge either.
    void Detach()
    {
        std::deque<Delivery> dropped;
        std::lock_guard lock(m_mutex);
        m_bridge = nullptr;
        dropped.swap(m_waiting);
    }

    CCallBridge* Bridge() const
    {
        std::lock_guard lock(m_mutex);
        return m_bridge;
    }

private:
    // Caller holds the lock, so the bridge cannot go while the event is queued for it; an event
    // for a bridge destroyed later is dropped with it.
    void PostDrain()
    {
        QMetaObject::invokeMethod(
            m_bridge, [relay = shared_from_this()] { relay->Drain(); }, Qt::QueuedConnection);
    }

    // Bridge's thread. Delivers outside the lock: a signal's handler may post to the call, which
    // can report back through this relay at once, or detach the bridge.
    void Drain()
    {
        const auto deadline = std::chrono::steady_clock::now() + kSlice;
        for (;;) {
            Delivery next;
            CCallBridge* bridge = nullptr;
            {
                std::lock_guard lock(m_mutex);
                if (!m_bridge || m_waiting.empty()) {
                    m_drainPosted = false;
                    return;
                }
                if (std::chrono::steady_clock::now() >= deadline) {
                    PostDrain(); // the rest after the loop's other work
                    return;
                }
                bridge = m_bridge;
                next = std::move(m_waiting.front());
                m_waiting.pop_front();
            }
            next(*bridge);
        }
    }

    mutable std::mutex m_mutex;
    CCallBridge* m_bridge;
    std::deque<Delivery> m_waiting;
    bool m_drainPosted = false;
};

CCallBridge::CCallBridge(QObject* parent) : QObject(parent), m_relay(std::make_shared<Relay>(this))
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
        relay->Post(
            [list = std::move(list)](CCallBridge& b) { emit b.ParticipantsRefreshed(list); });
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
