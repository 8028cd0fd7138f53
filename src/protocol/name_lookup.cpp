#include "name_lookup.h"

#include <netdb.h>
#include <system_error>
#include <thread>

// What the lookup thread hands over; shared, because the waiter may have gone.
struct CNameLookup::Answer
{
    std::mutex mutex;
    std::condition_variable changed;
    bool done = false;
    bool found = false;
    bool cancelled = false;
    in_addr address{};
};

namespace {

bool LookUp(const std::string& host, in_addr& address)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* result = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &result) != 0 || !result)
        return false;
    address = reinterpret_cast<const sockaddr_in*>(result->ai_addr)->sin_addr;
    ::freeaddrinfo(result);
    return true;
}

} // namespace

CNameLookup::Outcome CNameLookup::Resolve(const std::string& host,
                                          std::chrono::milliseconds timeout, in_addr& address)
{
    auto answer = std::make_shared<Answer>();
    {
        std::lock_guard lock(m_mutex);
        if (m_cancelled)
            return Outcome::Cancelled;
        m_pending = answer;
    }
    try {
        // The thread keeps the answer and its own copy of the name alive: the waiter may leave.
        std::thread([answer, host] {
            in_addr found{};
            const bool ok = LookUp(host, found);
            std::lock_guard lock(answer->mutex);
            answer->done = true;
            answer->found = ok;
            answer->address = found;
            answer->changed.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        // No thread to spare: look up on this one, without a bound.
        std::lock_guard lock(answer->mutex);
        answer->found = LookUp(host, answer->address);
        answer->done = true;
    }

    Outcome outcome = Outcome::TimedOut;
    {
        std::unique_lock lock(answer->mutex);
        answer->changed.wait_for(lock, timeout, [&] { return answer->done || answer->cancelled; });
        if (answer->cancelled)
            outcome = Outcome::Cancelled;
        else if (answer->done)
            outcome = answer->found ? Outcome::Found : Outcome::NotFound;
        address = answer->address;
    }
    std::lock_guard lock(m_mutex);
    m_pending.reset();
    return outcome;
}

void CNameLookup::Cancel()
{
    std::shared_ptr<Answer> pending;
    {
        std::lock_guard lock(m_mutex);
        m_cancelled = true;
        pending = m_pending;
    }
    if (pending) {
        std::lock_guard lock(pending->mutex);
        pending->cancelled = true;
        pending->changed.notify_all();
    }
}

void CNameLookup::Reset()
{
    std::lock_guard lock(m_mutex);
    m_cancelled = false;
}
