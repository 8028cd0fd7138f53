#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <queue>
#include <vector>

// Simulated time and the tasks waiting for it. Not locked: its owner runs it under its own lock.
// Tasks due at the same moment run in the order they were scheduled, so a seed gives one
// sequence of events however the clock is moved (one long step or many short ones).
class CSimScheduler final
{
public:
    using Time = std::chrono::milliseconds; // since simulated time zero
    using Task = std::function<void()>;

    Time Now() const { return m_now; }
    // A time in the past runs at the next RunUntil, at the current time.
    void At(Time when, Task task);
    void After(Time delay, Task task) { At(m_now + delay, std::move(task)); }

    // The time of the earliest task waiting, if any.
    std::optional<Time> NextDue() const;
    // Called by At whenever the new task is due before every other one (the real-time clock
    // sleeps until the earliest task and must then look again). Must not call back.
    void SetEarliestChanged(std::function<void()> hook) { m_earliestChanged = std::move(hook); }

    // Runs every task due up to until, the clock standing at each task's time while it runs;
    // tasks may schedule further tasks, which run in this call too when due. Leaves the clock
    // at until (or where it was, if that is later).
    void RunUntil(Time until);
    std::size_t Pending() const { return m_queue.size(); }

private:
    struct Entry
    {
        Time when;
        std::uint64_t order;
        Task task;
    };
    struct Later
    {
        bool operator()(const Entry& a, const Entry& b) const
        {
            return a.when != b.when ? a.when > b.when : a.order > b.order;
        }
    };

    Time m_now{0};
    std::uint64_t m_nextOrder = 0;
    std::priority_queue<Entry, std::vector<Entry>, Later> m_queue;
    std::function<void()> m_earliestChanged;
};
