#pragma once

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

// The callback slots of one event source (the operator session, a call), raised from network
// threads and replaced or cleared from the owner's thread.
//
// Set and Clear return only once no other thread is still inside a callback of the slots they
// replaced, so after Clear() nothing of the old slots runs any more and their captured context
// may go. A callback may itself call Set or Clear (the old slots stay alive until it returns).
// Callbacks must not block: a Set on another thread waits for them.
//
// Slots is an aggregate of std::function members; an empty member is skipped.
template <class Slots> class CCallbackTable final
{
public:
    CCallbackTable() = default;
    CCallbackTable(const CCallbackTable&) = delete;
    CCallbackTable& operator=(const CCallbackTable&) = delete;

    void Set(Slots slots);
    void Clear() { Set(Slots{}); }

    // Calls the slot with the arguments on the calling thread, when it is set.
    template <class Slot, class... Args> void Raise(Slot Slots::*slot, Args&&... args);

private:
    std::shared_ptr<const Slots> Enter();
    void Leave();
    bool OthersDone(std::thread::id self) const;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::shared_ptr<const Slots> m_slots;
    std::vector<std::thread::id> m_inside;  // one entry per callback running now
    std::vector<std::thread::id> m_setting; // threads waiting in Set
};

template <class Slots> void CCallbackTable<Slots>::Set(Slots slots)
{
    auto fresh = std::make_shared<const Slots>(std::move(slots));
    std::shared_ptr<const Slots> old;
    {
        std::unique_lock lock(m_mutex);
        old = std::exchange(m_slots, std::move(fresh));
        const auto self = std::this_thread::get_id();
        m_setting.push_back(self);
        m_changed.wait(lock, [&] { return OthersDone(self); });
        m_setting.erase(std::find(m_setting.begin(), m_setting.end(), self));
    }
    // old is released here, outside the lock: its captures may run destructors of their own.
}

template <class Slots> bool CCallbackTable<Slots>::OthersDone(std::thread::id self) const
{
    // A thread that is inside a callback and itself waits in Set cannot finish that callback
    // before we do; counting it would let two such threads wait on each other.
    return std::all_of(m_inside.begin(), m_inside.end(), [&](std::thread::id t) {
        return t == self || std::find(m_setting.begin(), m_setting.end(), t) != m_setting.end();
    });
}

template <class Slots> std::shared_ptr<const Slots> CCallbackTable<Slots>::Enter()
{
    std::lock_guard lock(m_mutex);
    if (!m_slots)
        return nullptr;
    m_inside.push_back(std::this_thread::get_id());
    return m_slots;
}

template <class Slots> void CCallbackTable<Slots>::Leave()
{
    // Notified under the lock: once a waiting Set can return, the table may be destroyed, and
    // nothing of it may be touched after the unlock.
    std::lock_guard lock(m_mutex);
    m_inside.erase(std::find(m_inside.begin(), m_inside.end(), std::this_thread::get_id()));
    m_changed.notify_all();
}

template <class Slots>
template <class Slot, class... Args>
void CCallbackTable<Slots>::Raise(Slot Slots::*slot, Args&&... args)
{
    const std::shared_ptr<const Slots> slots = Enter();
    if (!slots)
        return;
    struct Exit
    {
        CCallbackTable& table;
        ~Exit() { table.Leave(); }
    } exit{*this};
    const auto& function = (*slots).*slot;
    if (function)
        function(std::forward<Args>(args)...);
}
