#include "session_rig.h"

#include "socket_message.h"

#include <algorithm>

namespace testing_support {

namespace {

// How each argument of a callback reads in the log.
std::string Str(int n)
{
    return std::to_string(n);
}

std::string Str(const CSocketMessage& m)
{
    return std::string(m.Payload());
}

std::string Str(std::optional<std::string_view> text)
{
    return text ? "[" + std::string(*text) + "]" : "-";
}

std::string Str(const CUserEntry& e)
{
    return Str(e.id) + "/" + Str(e.type) + " st" + Str(e.status) + " " + e.text1 + "|" + e.text2 +
           "|" + e.text3;
}

std::string Str(const CVisitorEntry& e)
{
    return Str(e.id) + " " + Str(e.number1) + " " + e.text1 + "|" + e.text2 + "|" + e.text3 + "|" +
           e.time + "|" + e.text5 + " " + Str(e.number2);
}

// A callback that logs its name and what it was given.
template <class... Args> std::function<void(Args...)> Logs(EventLog& log, std::string name)
{
    return [&log, name](Args... args) { log.Log((name + ... + (" " + Str(args)))); };
}

} // namespace

COperatorSession::Callbacks SessionCallbacks(EventLog& log)
{
    using Entry = const CUserEntry&;
    using Visitor = const CVisitorEntry&;
    using Text = std::optional<std::string_view>;
    return {Logs<>(log, "LoggedIn"),
            Logs<int>(log, "LoggedOut"),
            Logs<int>(log, "StatusChanged"),
            Logs<>(log, "OperatorsRefreshed"),
            Logs<Entry>(log, "OperatorAdded"),
            Logs<Entry>(log, "OperatorRemoved"),
            Logs<Entry>(log, "OperatorUpdated"),
            Logs<>(log, "VisitorsRefreshed"),
            Logs<Visitor>(log, "VisitorAdded"),
            Logs<Visitor>(log, "VisitorRemoved"),
            Logs<Visitor>(log, "VisitorInvited"),
            Logs<int, int, int, Text, Text, Text>(log, "IncomingCall"),
            Logs<int, int>(log, "Other")};
}

CCall::Callbacks CallCallbacks(EventLog& log)
{
    using Entry = const CUserEntry&;
    using Message = const CSocketMessage&;
    return {Logs<Message>(log, "ChatData"),
            Logs<Message>(log, "MessageSent"),
            Logs<int>(log, "CallClosed"),
            Logs<>(log, "ParticipantsRefreshed"),
            Logs<Entry>(log, "ParticipantAdded"),
            Logs<Entry>(log, "ParticipantRemoved"),
            Logs<Entry>(log, "Transferred"),
            Logs<int, int, int, int>(log, "ChannelEvent"),
            Logs<int, int>(log, "Other")};
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

Events EventLog::Lines() const
{
    std::lock_guard lock(m_mutex);
    return m_events;
}

bool EventLog::WaitFor(const std::string& event, std::chrono::milliseconds limit) const
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, limit, [&] {
        return std::any_of(m_events.begin(), m_events.end(),
                           [&](const std::string& e) { return e.starts_with(event); });
    });
}

size_t EventLog::CountOf(const std::string& event) const
{
    std::lock_guard lock(m_mutex);
    return static_cast<size_t>(std::count_if(m_events.begin(), m_events.end(),
                                             [&](const std::string& e) { return e.starts_with(event); }));
}

void EventLog::Clear()
{
    std::lock_guard lock(m_mutex);
    m_events.clear();
}

void SessionTest::SetUp()
{
    m_session = std::make_unique<COperatorSession>(m_waits);
    m_session->SetCallbacks(SessionCallbacks(m_log));
}

void SessionTest::TearDown()
{
    // Hooks capture test locals, which are gone by now; the session's last callbacks follow.
    m_log.SetHook(nullptr);
    m_calls.SetHook(nullptr);
    m_session.reset();
    for (const std::string& violation : m_server.Violations())
        EXPECT_EQ(violation, m_allowedViolation) << "the client sent a broken frame";
}

int SessionTest::Login(const char* password)
{
    return m_session->Login(m_server.Host(), m_server.Port(), FakeChatServer::kUser, password);
}

std::shared_ptr<FakeConnection> SessionTest::LoggedIn()
{
    const size_t index = m_server.ConnectionCount();
    EXPECT_EQ(Login(), rc::kOk);
    auto connection = m_server.WaitConnection(index);
    EXPECT_TRUE(connection && connection->Next());
    return connection;
}

std::shared_ptr<FakeConnection> SessionTest::Opened(int callId)
{
    EXPECT_EQ(m_session->Calls().OpenCall(callId, CallCallbacks(m_calls)), rc::kOk);
    auto channel = m_server.WaitChannel(callId);
    EXPECT_TRUE(channel && channel->Next());
    return channel;
}

CSocketMessage ChatLine(const std::string& text)
{
    CSocketMessage line(msg::kChatData);
    line.AddIntField(msg::chat::kLine);
    line.AddField(FakeChatServer::kUser);
    line.AddField(text);
    return line;
}

} // namespace testing_support
