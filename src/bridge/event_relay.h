#pragma once

#include <QObject>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

// The one way events climb from the network threads to a window's thread. A network thread
// posts a delivery (a function holding value copies of what the event carried); the relay wakes
// the receiver's thread once and drains what waits there, in the order it was posted, a slice of
// a few milliseconds per turn of the event loop, so a burst cannot freeze the window.
//
// A delivery posted with a topic supersedes the deliveries of that topic still waiting: a list
// snapshot makes every older snapshot of the same list worthless, so a flood of list replies
// keeps one snapshot in the queue, not thousands.
//
// Detach, on the receiver's thread, drops what waits; no delivery runs after it returns, even
// when Detach is called from inside a delivery. Posting to a detached relay does nothing, so the
// callbacks that network threads hold may outlive the receiver.
class CEventRelay final : public std::enable_shared_from_this<CEventRelay>
{
public:
    using Delivery = std::function<void()>;
    enum class Topic
    {
        None,
        Visitors,
        Operators,
        Participants,
    };

    static constexpr std::chrono::milliseconds kSlice{8};

    // receiver decides the thread deliveries run on; it must call Detach before it goes.
    static std::shared_ptr<CEventRelay> Create(QObject* receiver);

    // Any thread.
    void Post(Delivery delivery, Topic topic = Topic::None);
    // Receiver's thread; idempotent.
    void Detach();
    bool IsAttached() const;
    // Deliveries waiting now.
    std::size_t Waiting() const;

    // Use Create: the drain needs a shared pointer to the relay.
    explicit CEventRelay(QObject* receiver) : m_receiver(receiver) {}

private:
    struct Pending
    {
        Delivery delivery;
        Topic topic;
    };

    void WakeReceiver(); // lock held
    void Drain();

    mutable std::mutex m_mutex;
    QObject* m_receiver;
    std::deque<Pending> m_waiting;
    bool m_wakePosted = false;
};
