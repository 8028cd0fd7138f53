#pragma once

#include "call.h"
#include "operator_session.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace testing_support {

using namespace std::chrono_literals;

// An ordered log of callback lines such as "LoggedOut 2" or "CallClosed 1", filled by the
// callback tables below from any thread, so tests compare whole sequences and wait on them
// with a deadline.
class EventLog final
{
public:
    void Log(std::string event);

    std::vector<std::string> Events() const;
    // Waits until the log holds at least count lines.
    bool WaitCount(size_t count, std::chrono::milliseconds limit = 5s) const;
    // Waits until a line equal to event is in the log.
    bool WaitFor(const std::string& event, std::chrono::milliseconds limit = 5s) const;
    size_t CountOf(const std::string& event) const;
    void Clear();

    // Runs after each line is logged, on the thread that raised the callback; may be changed
    // while callbacks run.
    void SetHook(std::function<void(const std::string& event)> hook);

private:
    std::function<void(const std::string& event)> m_hook;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::vector<std::string> m_events;
};

// Callbacks that log into log: "LoggedIn", "VisitorAdded <entry>", "Other 9999 5", ...
COperatorSession::Callbacks SessionCallbacks(EventLog& log);
// "ChatData <payload>", "MessageSent <payload>", "CallClosed 2", "Transferred <entry>", ...
CCall::Callbacks CallCallbacks(EventLog& log);
// "Message <payload>", "Sent <payload>", "Closed 2", "Error 1234 -4"
CCallSession::Callbacks ChannelCallbacks(EventLog& log);

// "id/type st<status> text1|text2|text3"
std::string Describe(const CUserEntry& entry);
// "id n1 text1|text2|text3|time|text5 n2"
std::string Describe(const CVisitorEntry& entry);

} // namespace testing_support
