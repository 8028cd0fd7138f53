#include "sim_changes.h"

void CSimChanges::Notify()
{
    {
        std::lock_guard lock(m_mutex);
        ++m_generation;
    }
    m_changed.notify_all();
}

bool CSimChanges::WaitUntil(const std::function<bool()>& pred,
                            std::chrono::milliseconds timeout) const
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        std::uint64_t seen = 0;
        {
            std::lock_guard lock(m_mutex);
            seen = m_generation;
        }
        if (pred())
            return true;
        std::unique_lock lock(m_mutex);
        if (!m_changed.wait_until(lock, deadline, [&] { return m_generation != seen; }))
            return pred();
    }
}
