#include "semaphore_lock.h"

#include "result_codes.h"

#include <chrono>

int CSemaphoreLock::Lock(std::uint32_t waitMs)
{
    std::unique_lock lock(m_mutex);
    if (waitMs == kInfinite) {
        m_released.wait(lock, [this] { return m_available; });
    } else if (!m_released.wait_for(lock, std::chrono::milliseconds(waitMs),
                                    [this] { return m_available; })) {
        return rc::kLockFailed;
    }
    m_available = false;
    return rc::kOk;
}

int CSemaphoreLock::Unlock()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_available)
            return rc::kLockFailed;
        m_available = true;
    }
    m_released.notify_one();
    return rc::kOk;
}
