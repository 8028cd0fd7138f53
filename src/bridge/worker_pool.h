#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// The application's one pool of background work: everything that blocks on the network (log-in,
// log-out, commands on the operator connection, opening and closing calls) runs here, never on
// the GUI thread. The bridges start the jobs and report their outcomes through their relays, so
// a job that ends after its window has gone reports to nobody.
//
// Each job runs on a thread of its own: jobs are few and some wait for the network for many
// seconds, so none may hold up another. Jobs wait only through Sleep(), which Stop() cuts short.
//
// Shutdown is cooperative: Stop(), then the owner closes the connections the jobs may be blocked
// on, then WaitAll() with a bound. Threads are never killed, so no lock is left taken; WaitAll
// says how many jobs were still running (a connect waiting on a name lookup), and the owner must
// then not destroy what those jobs use.
class CWorkerPool final
{
public:
    CWorkerPool();
    // Stops and waits with kDefaultBound.
    ~CWorkerPool();
    CWorkerPool(const CWorkerPool&) = delete;
    CWorkerPool& operator=(const CWorkerPool&) = delete;

    static constexpr std::chrono::milliseconds kDefaultBound{3000};

    // Runs job on a thread of the pool. False, with the job not run, once stopped or when no
    // thread can be started. Owner's thread.
    bool Start(std::function<void()> job);
    // Waits for the time unless the pool is stopped first; true when the whole time passed.
    // Any thread.
    bool Sleep(std::chrono::milliseconds time) const;

    void Stop();
    bool IsStopped() const;
    // Waits for the running jobs within bound (for all together); returns how many were still
    // running. Their threads are let go: they hold only the pool's shared state. Owner's thread.
    int WaitAll(std::chrono::milliseconds bound);
    int Running() const;

private:
    struct Shared
    {
        mutable std::mutex mutex;
        std::condition_variable changed;
        bool stopped = false;
        int running = 0;
    };
    struct Worker
    {
        std::thread thread;
        std::shared_ptr<bool> done; // guarded by Shared::mutex
    };

    void ReapFinished();

    std::shared_ptr<Shared> m_shared;
    std::vector<Worker> m_workers; // owner's thread only
};
