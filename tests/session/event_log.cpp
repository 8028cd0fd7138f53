#include "event_log.h"

#include "socket_message.h"

#include <algorithm>

namespace testing_support {

namespace {

std::string Text(std::optional<std::string_view> text)
{
    return text ? "[" + std::string(*text) + "]" : "-";
}

std::string Number(int n)
{
    return std::to_string(n);
}

} // namespace

std::string Describe(const CUserEntry& e)
{
    return Number(e.id) + "/" + Number(e.type) + " st" + Number(e.status) + " " + e.text1 + "|" +
           e.text2 + "|" + e.text3;
}

std::string Describe(const CVisitorEntry& e)
{
    return Number(e.id) + " " + Number(e.number1) + " " + e.text1 + "|" + e.text2 + "|" + e.text3 +
           "|" + e.time + "|" + e.text5 + " " + Number(e.number2);
}

COperatorSession::Callbacks SessionCallbacks(EventLog& log)
{
    COperatorSession::Callbacks c;
    c.OnLoggedIn = [&log] { log.Log("LoggedIn"); };
    c.OnLoggedOut = [&log](int reason) { log.Log("LoggedOut " + Number(reason)); };
    c.OnStatusChanged = [&log](int status) { log.Log("StatusChanged " + Number(status)); };
    c.OnOperatorsRefreshed = [&log] { log.Log("OperatorsRefreshed"); };
    c.OnOperatorAdded = [&log](const CUserEntry& e) { log.Log("OperatorAdded " + Describe(e)); };
    c.OnOperatorRemoved = [&log](const CUserEntry& e) {
        log.Log("OperatorRemoved " + Describe(e));
    };
    c.OnOperatorUpdated = [&log](const CUserEntry& e) {
        log.Log("OperatorUpdated " + Describe(e));
    };
    c.OnVisitorsRefreshed = [&log] { log.Log("VisitorsRefreshed"); };
    c.OnVisitorAdded = [&log](const CVisitorEntry& e) { log.Log("VisitorAdded " + Describe(e)); };
    c.OnVisitorRemoved = [&log](const CVisitorEntry& e) {
        log.Log("VisitorRemoved " + Describe(e));
    };
    c.OnVisitorInvited = [&log](const CVisitorEntry& e) {
        log.Log("VisitorInvited " + Describe(e));
    };
    c.OnIncomingCall = [&log](int callId, int number, int kind, std::optional<std::string_view> t1,
                              std::optional<std::string_view> t2,
                              std::optional<std::string_view> t3) {
        log.Log("IncomingCall " + Number(callId) + " " + Number(number) + " " + Number(kind) + " " +
                Text(t1) + " " + Text(t2) + " " + Text(t3));
    };
    c.OnOtherMessage = [&log](int first, int second) {
        log.Log("Other " + Number(first) + " " + Number(second));
    };
    return c;
}

CCall::Callbacks CallCallbacks(EventLog& log)
{
    CCall::Callbacks c;
    c.OnChatData = [&log](const CSocketMessage& m) {
        log.Log("ChatData " + std::string(m.Payload()));
    };
    c.OnMessageSent = [&log](const CSocketMessage& m) {
        log.Log("MessageSent " + std::string(m.Payload()));
    };
    c.OnCallClosed = [&log](int reason) { log.Log("CallClosed " + Number(reason)); };
    c.OnParticipantsRefreshed = [&log] { log.Log("ParticipantsRefreshed"); };
    c.OnParticipantAdded = [&log](const CUserEntry& e) {
        log.Log("ParticipantAdded " + Describe(e));
    };
    c.OnParticipantRemoved = [&log](const CUserEntry& e) {
        log.Log("ParticipantRemoved " + Describe(e));
    };
    c.OnTransferred = [&log](const CUserEntry& e) { log.Log("Transferred " + Describe(e)); };
    c.OnChannelEvent = [&log](int a, int b, int c3, int flag) {
        log.Log("ChannelEvent " + Number(a) + " " + Number(b) + " " + Number(c3) + " " +
                Number(flag));
    };
    c.OnOtherMessage = [&log](int first, int second) {
        log.Log("Other " + Number(first) + " " + Number(second));
    };
    return c;
}

CCallSession::Callbacks ChannelCallbacks(EventLog& log)
{
    CCallSession::Callbacks c;
    c.OnMessage = [&log](const CSocketMessage& m) {
        log.Log("Message " + std::string(m.Payload()));
    };
    c.OnMessageSent = [&log](const CSocketMessage& m) {
        log.Log("Sent " + std::string(m.Payload()));
    };
    c.OnClosed = [&log](int reason) { log.Log("Closed " + Number(reason)); };
    c.OnError = [&log](int code, int result) {
        log.Log("Error " + Number(code) + " " + Number(result));
    };
    return c;
}

void EventLog::Log(std::string event)
{
    std::function<void(const std::string&)> hook;
    {
        std::lock_guard lock(m_mutex);
        m_events.push_back(event);
        m_changed.notify_all();
        hook = m_hook;
    }
    if (hook)
        hook(event);
}

void EventLog::SetHook(std::function<void(const std::string& event)> hook)
{
    std::lock_guard lock(m_mutex);
    m_hook = std::move(hook);
}

std::vector<std::string> EventLog::Events() const
{
    std::lock_guard lock(m_mutex);
    return m_events;
}

bool EventLog::WaitCount(size_t count, std::chrono::milliseconds limit) const
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, limit, [&] { return m_events.size() >= count; });
}

bool EventLog::WaitFor(const std::string& event, std::chrono::milliseconds limit) const
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, limit, [&] {
        return std::find(m_events.begin(), m_events.end(), event) != m_events.end();
    });
}

size_t EventLog::CountOf(const std::string& event) const
{
    std::lock_guard lock(m_mutex);
    return static_cast<size_t>(std::count(m_events.begin(), m_events.end(), event));
}

void EventLog::Clear()
{
    std::lock_guard lock(m_mutex);
    m_events.clear();
}

} // namespace testing_support
