#include "sim_scheduler.h"

void CSimScheduler::At(Time when, Task task)
{
    m_queue.push(Entry{when < m_now ? m_now : when, m_nextOrder++, std::move(task)});
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
