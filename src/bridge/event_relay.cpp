#include "event_relay.h"

#include <algorithm>

std::shared_ptr<CEventRelay> CEventRelay::Create(QObject* receiver)
{
    return std::make_shared<CEventRelay>(receiver);
}

void CEventRelay::Post(Delivery delivery, Topic topic)
{
    std::deque<Pending> superseded; // destroyed outside the lock: captures may be large
    std::lock_guard lock(m_mutex);
    if (!m_receiver)
        return;
    if (topic != Topic::None) {
        const auto stale = std::stable_partition(m_waiting.begin(), m_waiting.end(),
                                                 [topic](const Pending& w) { return w.topic != topic; });
        std::move(stale, m_waiting.end(), std::back_inserter(superseded));
        m_waiting.erase(stale, m_waiting.end());
    }
    m_waiting.push_back({std::move(delivery), topic});
    if (!m_wakePosted)
        WakeReceiver();
}

void CEventRelay::WakeReceiver()
{
    // Queued while the lock is held: Detach cannot slip in between, and a wake-up for a
    // receiver destroyed later is dropped by Qt together with it.
    m_wakePosted = true;
    QMetaObject::invokeMethod(
        m_receiver, [relay = shared_from_this()] { relay->Drain(); }, Qt::QueuedConnection);
}

void CEventRelay::Drain()
{
    const auto deadline = std::chrono::steady_clock::now() + kSlice;
    for (;;) {
        Delivery next;
        {
            std::lock_guard lock(m_mutex);
            if (!m_receiver || m_waiting.empty()) {
                m_wakePosted = false;
                return;
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                WakeReceiver(); // the rest after the loop's other work
                return;
            }
            next = std::move(m_waiting.front().delivery);
            m_waiting.pop_front();
        }
        // Outside the lock: a delivery may post (a handler sending on the call that reports
        // back at once) or detach.
        next();
    }
}

void CEventRelay::Detach()
{
    std::deque<Pending> dropped;
    std::lock_guard lock(m_mutex);
    m_receiver = nullptr;
    dropped.swap(m_waiting);
}

bool CEventRelay::IsAttached() const
{
    std::lock_guard lock(m_mutex);
    return m_receiver != nullptr;
}

std::size_t CEventRelay::Waiting() const
{
    std::lock_guard lock(m_mutex);
    return m_waiting.size();
}
