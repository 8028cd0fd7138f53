#pragma once

#include <QObject>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// The short-lived threads that carry the console's network commands (connect, status,
// invitation, keep-alive tries) off the window thread, and the way they report back.
//
// A job reports through Report(), which queues a function to run on the receiver's thread; once
// the pool is stopped nothing more is reported, so a job that ends during shutdown never calls
// into a window that is going away. Jobs wait only through Sleep(), which Stop() cuts short.
//
// Shutdown is cooperative: Stop(), then the owner closes the connections the jobs may be
// blocked on, then JoinAll() with a bound. Threads are never killed, so no lock is left taken;
// one that does not end within the bound (a connect still waiting on a name lookup) is left to
// finish on its own, and JoinAll says how many there were.
class CWorkerPool final
{
public:
    // The receiver must not be destroyed before Stop() has returned.
    explicit CWorkerPool(QObject* receiver);
    // Stops and joins with kDefaultJoinBound.
    ~CWorkerPool();
    CWorkerPool(const CWorkerPool&) = delete;
    CWorkerPool& operator=(const CWorkerPool&) = delete;

    static constexpr std::chrono::milliseconds kDefaultJoinBound{3000};

    // Runs job on a new thread. False, with the job not run, once stopped or when no thread
    // can be started.
    bool Start(std::function<void()> job);
    // Queues f to run on the receiver's thread; dropped once the pool is stopped. Any thread.
    void Report(std::function<void()> f) const;
    // Waits for the time unless the pool is stopped first; true when the whole time passed.
    bool Sleep(std::chrono::milliseconds time) const;

    void Stop();
    bool IsStopped() const;
    // Joins every thread that ends within bound (counted for all together) and returns how many
    // were still running; those are detached.
    int JoinAll(std::chrono::milliseconds bound);
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

    QObject* m_receiver; // outlives the pool's last report: Stop() comes before its end
    std::shared_ptr<Shared> m_shared;
    std::vector<Worker> m_workers; // owner's thread only
};
