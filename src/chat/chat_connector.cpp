#include "chat_connector.h"

#include "result_codes.h"

#include <condition_variable>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

namespace {

// Counts the threads of every connector, for WaitForThreads.
struct ThreadCount
{
    std::mutex mutex;
    std::condition_variable changed;
    int running = 0;
};

ThreadCount& Threads()
{
    static ThreadCount count;
    return count;
}

} // namespace

struct CChatConnector::Shared
{
    std::mutex mutex;
    QObject* context = nullptr; // alive until abandoned: its owner abandons before it goes
    Done done;
    bool abandoned = false;
    // Set by the thread when it has an outcome that the context has not taken yet.
    std::optional<std::pair<int, std::shared_ptr<CCall>>> outcome;
};

CChatConnector::CChatConnector(QObject* context, Done done) : m_shared(std::make_shared<Shared>())
{
    m_shared->context = context;
    m_shared->done = std::move(done);
}

CChatConnector::~CChatConnector()
{
    // A destructor cannot hand the call back; a caller that may still have one abandons first.
    (void)Abandon();
}

bool CChatConnector::Start(CCallList& calls, int callId, CCall::Callbacks callbacks)
{
    const auto body = [shared = m_shared, &calls, callId, callbacks = std::move(callbacks)] {
        const int result = calls.OpenCall(callId, callbacks);
        std::shared_ptr<CCall> call = result == rc::kOk ? calls.Find(callId) : nullptr;
        bool closeHere = false;
        {
            std::lock_guard lock(shared->mutex);
            if (shared->abandoned) {
                closeHere = call != nullptr;
            } else {
                shared->outcome.emplace(result, call);
                // Queued under the lock: Abandon, on the context's thread, cannot slip in
                // between, and an event for a context that goes is dropped with it.
                QMetaObject::invokeMethod(
                    shared->context,
                    [shared] {
                        std::optional<std::pair<int, std::shared_ptr<CCall>>> taken;
                        Done done;
                        {
                            std::lock_guard lock(shared->mutex);
                            if (shared->abandoned)
                                return;
                            taken.swap(shared->outcome);
                            done = shared->done;
                        }
                        if (taken && done)
                            done(taken->first, std::move(taken->second));
                    },
                    Qt::QueuedConnection);
            }
        }
        call.reset();
        if (closeHere)
            calls.CloseCall(callId);
        ThreadCount& count = Threads();
        std::lock_guard lock(count.mutex);
        --count.running;
        count.changed.notify_all();
    };

    ThreadCount& count = Threads();
    {
        std::lock_guard lock(count.mutex);
        ++count.running;
    }
    try {
        std::thread(body).detach();
    } catch (const std::system_error&) {
        std::lock_guard lock(count.mutex);
        --count.running;
        count.changed.notify_all();
        return false;
    }
    return true;
}

bool CChatConnector::Abandon()
{
    std::lock_guard lock(m_shared->mutex);
    if (m_shared->abandoned)
        return false;
    m_shared->abandoned = true;
    m_shared->done = nullptr;
    const bool opened = m_shared->outcome && m_shared->outcome->second;
    m_shared->outcome.reset();
    return opened;
}

int CChatConnector::Running()
{
    ThreadCount& count = Threads();
    std::lock_guard lock(count.mutex);
    return count.running;
}

bool CChatConnector::WaitForThreads(std::chrono::milliseconds timeout)
{
    ThreadCount& count = Threads();
    std::unique_lock lock(count.mutex);
    return count.changed.wait_for(lock, timeout, [&] { return count.running == 0; });
}
