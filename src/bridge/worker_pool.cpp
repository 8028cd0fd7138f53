#include "worker_pool.h"

#include <algorithm>
#include <system_error>

CWorkerPool::CWorkerPool() : m_shared(std::make_shared<Shared>()) {}

CWorkerPool::~CWorkerPool()
{
    Stop();
    WaitAll(kDefaultBound);
}

bool CWorkerPool::Start(std::function<void()> job)
{
    ReapFinished();
    auto done = std::make_shared<bool>(false);
    {
        std::lock_guard lock(m_shared->mutex);
        if (m_shared->stopped)
            return false;
        ++m_shared->running;
    }
    try {
        // The thread holds the shared state, not the pool: a thread left running past
        // JoinAll's bound may outlive the pool.
        std::thread thread([shared = m_shared, done, job = std::move(job)] {
            job();
            std::lock_guard lock(shared->mutex);
            *done = true;
            --shared->running;
            shared->changed.notify_all();
        });
        m_workers.push_back({std::move(thread), std::move(done)});
    } catch (const std::system_error&) {
        std::lock_guard lock(m_shared->mutex);
        --m_shared->running;
        return false;
    }
    return true;
}

void CWorkerPool::ReapFinished()
{
    std::vector<Worker> finished;
    {
        std::lock_guard lock(m_shared->mutex);
        const auto firstLive = std::stable_partition(m_workers.begin(), m_workers.end(),
                                                     [](const Worker& w) { return !*w.done; });
        std::move(firstLive, m_workers.end(), std::back_inserter(finished));
        m_workers.erase(firstLive, m_workers.end());
    }
    for (Worker& w : finished)
        w.thread.join(); // it has already left its job; this only collects it
}

bool CWorkerPool::Sleep(std::chrono::milliseconds time) const
{
    std::unique_lock lock(m_shared->mutex);
    return !m_shared->changed.wait_for(lock, time, [this] { return m_shared->stopped; });
}

void CWorkerPool::Stop()
{
    std::lock_guard lock(m_shared->mutex);
    m_shared->stopped = true;
    m_shared->changed.notify_all();
}

bool CWorkerPool::IsStopped() const
{
    std::lock_guard lock(m_shared->mutex);
    return m_shared->stopped;
}

int CWorkerPool::Running() const
{
    std::lock_guard lock(m_shared->mutex);
    return m_shared->running;
}

int CWorkerPool::WaitAll(std::chrono::milliseconds bound)
{
    {
        std::unique_lock lock(m_shared->mutex);
        m_shared->changed.wait_for(lock, bound, [this] { return m_shared->running == 0; });
    }
    int left = 0;
    for (Worker& w : m_workers) {
        bool done = false;
        {
            std::lock_guard lock(m_shared->mutex);
            done = *w.done;
        }
        if (done) {
            w.thread.join();
        } else {
            w.thread.detach();
            ++left;
        }
    }
    m_workers.clear();
    return left;
}
