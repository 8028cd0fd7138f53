#include "sim_scheduler.h"

void CSimScheduler::At(Time when, Task task)
{
    const Time due = when < m_now ? m_now : when;
    const bool earliest = m_queue.empty() || due < m_queue.top().when;
    m_queue.push(Entry{due, m_nextOrder++, std::move(task)});
    if (earliest && m_earliestChanged)
        m_earliestChanged();
}

std::optional<CSimScheduler::Time> CSimScheduler::NextDue() const
{
    if (m_queue.empty())
        return std::nullopt;
    return m_queue.top().when;
}

void CSimScheduler::RunUntil(Time until)
{
    while (!m_queue.empty() && m_queue.top().when <= until) {
        // Moved out before popping: the task may schedule others, which reshuffles the heap.
        Entry entry = std::move(const_cast<Entry&>(m_queue.top()));
        m_queue.pop();
        if (entry.when > m_now)
            m_now = entry.when;
        entry.task();
    }
    if (until > m_now)
        m_now = until;
}
