#include "session_recorder.h"

#include <algorithm>

namespace testing_support {

namespace {

std::string Text(std::optional<std::string_view> text)
{
    return text ? "[" + std::string(*text) + "]" : "-";
}

} // namespace

std::string Describe(const CUserEntry& e)
{
    return std::to_string(e.id) + "/" + std::to_string(e.type) + " st" + std::to_string(e.status) +
           " " + e.text1 + "|" + e.text2 + "|" + e.text3;
}

std::string Describe(const CVisitorEntry& e)
{
    return std::to_string(e.id) + " " + std::to_string(e.number1) + " " + e.text1 + "|" + e.text2 +
           "|" + e.text3 + "|" + e.time + "|" + e.text5 + " " + std::to_string(e.number2);
}

COperatorSession::Callbacks SessionRecorder::Callbacks()
{
    COperatorSession::Callbacks c;
    c.OnLoggedIn = [this] { Log("LoggedIn"); };
    c.OnLoggedOut = [this](int reason) { Log("LoggedOut " + std::to_string(reason)); };
    c.OnStatusChanged = [this](int status) { Log("StatusChanged " + std::to_string(status)); };
    c.OnOperatorsRefreshed = [this] { Log("OperatorsRefreshed"); };
    c.OnOperatorAdded = [this](const CUserEntry& e) { Log("OperatorAdded " + Describe(e)); };
    c.OnOperatorRemoved = [this](const CUserEntry& e) { Log("OperatorRemoved " + Describe(e)); };
    c.OnOperatorUpdated = [this](const CUserEntry& e) { Log("OperatorUpdated " + Describe(e)); };
    c.OnVisitorsRefreshed = [this] { Log("VisitorsRefreshed"); };
    c.OnVisitorAdded = [this](const CVisitorEntry& e) { Log("VisitorAdded " + Describe(e)); };
    c.OnVisitorRemoved = [this](const CVisitorEntry& e) { Log("VisitorRemoved " + Describe(e)); };
    c.OnVisitorInvited = [this](const CVisitorEntry& e) { Log("VisitorInvited " + Describe(e)); };
    c.OnIncomingCall = [this](int callId, int number, int kind, std::optional<std::string_view> t1,
                              std::optional<std::string_view> t2,
                              std::optional<std::string_view> t3) {
        Log("IncomingCall " + std::to_string(callId) + " " + std::to_string(number) + " " +
            std::to_string(kind) + " " + Text(t1) + " " + Text(t2) + " " + Text(t3));
    };
    c.OnOtherMessage = [this](int first, int second) {
        Log("Other " + std::to_string(first) + " " + std::to_string(second));
    };
    return c;
}

void SessionRecorder::Log(std::string event)
{
    {
        std::lock_guard lock(m_mutex);
        m_events.push_back(event);
    }
    m_changed.notify_all();
    if (hook)
        hook(event);
}

std::vector<std::string> SessionRecorder::Events() const
{
    std::lock_guard lock(m_mutex);
    return m_events;
}

bool SessionRecorder::WaitCount(size_t count, std::chrono::milliseconds limit) const
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, limit, [&] { return m_events.size() >= count; });
}

bool SessionRecorder::WaitFor(const std::string& event, std::chrono::milliseconds limit) const
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, limit, [&] {
        return std::find(m_events.begin(), m_events.end(), event) != m_events.end();
    });
}

size_t SessionRecorder::CountOf(const std::string& event) const
{
    std::lock_guard lock(m_mutex);
    return static_cast<size_t>(std::count(m_events.begin(), m_events.end(), event));
}

void SessionRecorder::Clear()
{
    std::lock_guard lock(m_mutex);
    m_events.clear();
}

} // namespace testing_support
