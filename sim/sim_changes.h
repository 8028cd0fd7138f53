#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

// Tells threads that wait for the simulated world to reach a state that it has changed.
// Locked on its own, so it is called after the world's lock is released.
class CSimChanges final
{
public:
    void Notify();
    // Waits until pred holds, checking again whenever Notify is called; pred must not hold a
    // lock that Notify's callers need. False when the deadline passed first.
    bool WaitUntil(const std::function<bool()>& pred, std::chrono::milliseconds timeout) const;

private:
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::uint64_t m_generation = 0;
};
