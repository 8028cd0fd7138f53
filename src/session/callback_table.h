#pragma once

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

// The callback handlers of one event source (the operator session, a call), raised from network
// threads and replaced or cleared from the owner's thread.
//
// Set and Clear return only once no other thread is still inside a callback of the handlers they
// replaced, so after Clear() nothing of the old handlers runs any more and their captured context
// may go. A callback may itself call Set or Clear (the old handlers stay alive until it returns).
// Callbacks must not block: a Set on another thread waits for them.
//
// Handlers is an aggregate of std::function members; an empty member is skipped.
template <class Handlers> class CCallbackTable final
{
public:
    CCallbackTable() = default;
    CCallbackTable(const CCallbackTable&) = delete;
    CCallbackTable& operator=(const CCallbackTable&) = delete;

    void Set(Handlers handlers);
    void Clear() { Set(Handlers{}); }

    // Calls the handler with the arguments on the calling thread, when it is set.
    template <class Handler, class... Args> void Raise(Handler Handlers::*handler, Args&&... args);

private:
    std::shared_ptr<const Handlers> Enter();
    void Leave();
    bool OthersDone(std::thread::id self) const;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::shared_ptr<const Handlers> m_handlers;
    std::vector<std::thread::id> m_inside;  // one entry per callback running now
    std::vector<std::thread::id> m_setting; // threads waiting in Set
};

template <class Handlers> void CCallbackTable<Handlers>::Set(Handlers handlers)
{
    auto fresh = std::make_shared<const Handlers>(std::move(handlers));
    std::shared_ptr<const Handlers> old;
    {
        std::unique_lock lock(m_mutex);
        old = std::exchange(m_handlers, std::move(fresh));
        const auto self = std::this_thread::get_id();
        m_setting.push_back(self);
        m_changed.wait(lock, [&] { return OthersDone(self); });
        m_setting.erase(std::find(m_setting.begin(), m_setting.end(), self));
    }
    // old is released here, outside the lock: its captures may run destructors of their own.
}

template <class Handlers> bool CCallbackTable<Handlers>::OthersDone(std::thread::id self) const
{
    // A thread that is inside a callback and itself waits in Set cannot finish that callback
    // before we do; counting it would let two such threads wait on each other.
    return std::all_of(m_inside.begin(), m_inside.end(), [&](std::thread::id t) {
        return t == self || std::find(m_setting.begin(), m_setting.end(), t) != m_setting.end();
    });
}

template <class Handlers> std::shared_ptr<const Handlers> CCallbackTable<Handlers>::Enter()
{
    std::lock_guard lock(m_mutex);
    if (!m_handlers)
        return nullptr;
    m_inside.push_back(std::this_thread::get_id());
    return m_handlers;
}

template <class Handlers> void CCallbackTable<Handlers>::Leave()
{
    // Notified under the lock: once a waiting Set can return, the table may be destroyed, and
    // nothing of it may be touched after the unlock.
    std::lock_guard lock(m_mutex);
    m_inside.erase(std::find(m_inside.begin(), m_inside.end(), std::this_thread::get_id()));
    m_changed.notify_all();
}

template <class Handlers>
template <class Handler, class... Args>
void CCallbackTable<Handlers>::Raise(Handler Handlers::*handler, Args&&... args)
{
    const std::shared_ptr<const Handlers> handlers = Enter();
    if (!handlers)
        return;
    struct Exit
    {
        CCallbackTable& table;
        ~Exit() { table.Leave(); }
    } exit{*this};
    const auto& function = (*handlers).*handler;
    if (function)
        function(std::forward<Args>(args)...);
}
