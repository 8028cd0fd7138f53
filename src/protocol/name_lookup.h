#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <netinet/in.h>
#include <string>

// Looks a host name up on a thread of its own, so that the wait for the answer can be bounded
// and cut short from another thread; a lookup given up finishes in the background and its
// answer is dropped. The platform's resolver has no time-out or cancellation of its own, and a
// broken one can take tens of seconds.
class CNameLookup final
{
public:
    enum class Outcome
    {
        Found,
        NotFound,
        TimedOut,
        Cancelled,
    };

    CNameLookup() = default;
    CNameLookup(const CNameLookup&) = delete;
    CNameLookup& operator=(const CNameLookup&) = delete;

    // The first IPv4 address of host. One lookup at a time.
    Outcome Resolve(const std::string& host, std::chrono::milliseconds timeout, in_addr& address);
    // Any thread: the lookup in progress, and every later one until Reset, ends as Cancelled.
    void Cancel();
    void Reset();

private:
    struct Answer;

    std::mutex m_mutex;
    std::shared_ptr<Answer> m_pending; // the lookup being waited for
    bool m_cancelled = false;
};
