#pragma once

#include "call.h"
#include "fake_chat_server.h"
#include "message_codes.h"
#include "operator_session.h"
#include "result_codes.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace testing_support {

using Events = std::vector<std::string>;

// An ordered log of callback lines such as "LoggedOut 2" or "CallClosed 1", filled from any
// thread, so tests compare whole sequences and wait on them with a deadline.
class EventLog final
{
public:
    void Log(std::string event);
    Events Lines() const;
    // Waits for, or counts, the lines that begin with event.
    bool WaitFor(const std::string& event, std::chrono::milliseconds limit = 5s) const;
    size_t CountOf(const std::string& event) const;
    void Clear();
    // Runs after each line is logged, on the thread that raised the callback.
    void SetHook(std::function<void(const std::string& event)> hook);

private:
    std::function<void(const std::string& event)> m_hook;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    Events m_events;
};

// Callbacks that log: "LoggedIn", "VisitorAdded 17 3 p|c|x|t|ip 4", "Other 9999 5", ...
COperatorSession::Callbacks SessionCallbacks(EventLog& log);
// "ChatData <payload>", "MessageSent <payload>", "CallClosed 2", "Transferred 8/2 st2 h|A|B", ...
CCall::Callbacks CallCallbacks(EventLog& log);

// A chat line 3003 of kind 1 from the fake server's user.
CSocketMessage ChatLine(const std::string& text);

// A session with short waits, its callbacks logged, and the fake server to talk to.
class SessionTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;
    int Login(const char* password = FakeChatServer::kPassword);
    // Logs in and returns the server's end of the new connection, with the log-in read.
    std::shared_ptr<FakeConnection> LoggedIn();
    // Opens the call with the logging callbacks and returns the server's end of its channel,
    // with the opening read.
    std::shared_ptr<FakeConnection> Opened(int callId);
    std::shared_ptr<CCall> Call(int callId) { return m_session->Calls().Find(callId); }

    CSocketWaits m_waits{100ms, 100ms, 60s, 100ms};
    std::string m_allowedViolation; // what a test makes the client send on purpose
    FakeChatServer m_server;
    EventLog m_log;   // the session's callbacks
    EventLog m_calls; // the calls'
    std::unique_ptr<COperatorSession> m_session;
};

} // namespace testing_support
