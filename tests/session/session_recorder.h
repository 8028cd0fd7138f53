#pragma once

#include "operator_session.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

namespace testing_support {

using namespace std::chrono_literals;

// Turns every callback of an operator session into one line of an ordered log, e.g.
// "LoggedOut 2" or "VisitorAdded 17 ...", so tests compare whole sequences and wait on them
// with a deadline. The log is safe to read while the session's threads append to it.
class SessionRecorder final
{
public:
    // Callbacks that append to this log (and run the hook, if any, afterwards).
    COperatorSession::Callbacks Callbacks();

    std::vector<std::string> Events() const;
    // Waits until the log holds at least count lines.
    bool WaitCount(size_t count, std::chrono::milliseconds limit = 5s) const;
    // Waits until a line equal to event is in the log.
    bool WaitFor(const std::string& event, std::chrono::milliseconds limit = 5s) const;
    size_t CountOf(const std::string& event) const;
    void Clear();

    // Runs after a line is logged, on the thread that raised the callback.
    std::function<void(const std::string& event)> hook;

private:
    void Log(std::string event);

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::vector<std::string> m_events;
};

// "id/type st<status> text1|text2|text3"
std::string Describe(const CUserEntry& entry);
// "id n1 text1|text2|text3|time|text5 n2"
std::string Describe(const CVisitorEntry& entry);

} // namespace testing_support
