#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

// A semaphore of count 1: the one lock of every shared list and queue, and the one-permit
// wake-up signal of a channel's sender. It is deliberately not re-entrant: a thread that locks
// twice waits on itself, so no list operation may call another one of the same list.
//
// Unlock() without a matching Lock() is how a signal is raised; it is refused (-10) when the one
// permit is already there, so a burst of signals collapses into one wake-up.
class CSemaphoreLock final
{
public:
    // A wait written with all bits set never times out.
    static constexpr std::uint32_t kInfinite = 0xFFFFFFFFu;

    CSemaphoreLock() = default;
    CSemaphoreLock(const CSemaphoreLock&) = delete;
    CSemaphoreLock& operator=(const CSemaphoreLock&) = delete;

    // 0 once the permit is taken, -10 when the wait (in milliseconds) ran out first.
    int Lock(std::uint32_t waitMs = kInfinite);
    // 0, or -10 when the permit is already there.
    int Unlock();

    // Holds the lock for one scope with an unbounded wait.
    class Scoped final
    {
    public:
        explicit Scoped(CSemaphoreLock& lock) : m_lock(lock) { m_lock.Lock(); }
        ~Scoped() { m_lock.Unlock(); }
        Scoped(const Scoped&) = delete;
        Scoped& operator=(const Scoped&) = delete;

    private:
        CSemaphoreLock& m_lock;
    };

private:
    std::mutex m_mutex;
    std::condition_variable m_released;
    bool m_available = true;
};
