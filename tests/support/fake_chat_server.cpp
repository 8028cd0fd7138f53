#include "fake_chat_server.h"

#include "message_codes.h"
#include "result_codes.h"

#include <cerrno>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace testing_support {

std::string Payload(int code, const std::vector<std::string>& fields)
{
    char text[16];
    std::snprintf(text, sizeof text, "%4d", code);
    std::string out = text;
    for (const std::string& f : fields)
        out += f + "<~>";
    return out;
}

FakeChatServer::FakeChatServer() : m_listenFd(ListenOnLoopback(128, m_port))
{
    m_listReplies[msg::kRequestUsers] = Payload(msg::kReplyOk, {"1006", "0"});
    m_listReplies[msg::kRequestVisitors] = Payload(msg::kReplyOk, {"1007", "0"});
    m_participantsReply = Payload(msg::kReplyOk, {"1006", "0"});
    m_acceptor = std::thread([this] { AcceptLoop(); });
}

FakeChatServer::~FakeChatServer()
{
    ::shutdown(m_listenFd, SHUT_RDWR); // wakes the accept, which then fails
    m_acceptor.join();
    std::vector<std::shared_ptr<FakeConnection>> connections;
    {
        std::lock_guard lock(m_mutex);
        connections.swap(m_connections);
    }
    connections.clear(); // each one closes and joins its reader
    ::close(m_listenFd);
}

void FakeChatServer::AcceptLoop()
{
    for (;;) {
        const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0 && errno == EINTR)
            continue;
        if (fd < 0)
            return;
        auto connection = std::make_shared<FakeConnection>(
            fd, [this](FakeConnection& c, const CSocketMessage& m) { Handle(c, m); });
        std::lock_guard lock(m_mutex);
        m_connections.push_back(std::move(connection));
        m_accepted.notify_all();
    }
}

void FakeChatServer::On(int code, FakeConnection::Handler handler)
{
    std::lock_guard lock(m_mutex);
    m_handlers[code] = std::move(handler);
}

void FakeChatServer::Answer(int code, std::string payload)
{
    On(code, [payload](FakeConnection& c, const CSocketMessage&) { c.Send(payload); });
}

void FakeChatServer::SetListReply(int request, std::string payload)
{
    std::lock_guard lock(m_mutex);
    m_listReplies[request] = std::move(payload);
}

void FakeChatServer::SetParticipantsReply(std::string payload)
{
    std::lock_guard lock(m_mutex);
    m_participantsReply = std::move(payload);
}

void FakeChatServer::SetChatEcho(bool echo)
{
    std::lock_guard lock(m_mutex);
    m_chatEcho = echo;
}

void FakeChatServer::Handle(FakeConnection& connection, const CSocketMessage& message)
{
    FakeConnection::Handler handler;
    {
        std::lock_guard lock(m_mutex);
        if (message.Code() == msg::kOpenMainChannel || message.Code() == msg::kOpenChannel) {
            connection.callId = message.GetIntField(msg::channelOpen::kFieldCallId);
            connection.channelId = message.GetIntField(msg::channelOpen::kFieldChannelId);
            connection.channel = true;
            m_accepted.notify_all();
        }
        const auto it = m_handlers.find(message.Code());
        if (it != m_handlers.end())
            handler = it->second;
    }
    if (handler)
        handler(connection, message);
    else
        DefaultAnswer(connection, message);
}

void FakeChatServer::DefaultAnswer(FakeConnection& connection, const CSocketMessage& message)
{
    const auto number = [&](int field) { return std::to_string(message.GetIntField(field)); };
    const bool known = message.GetField(msg::login::kFieldUser) == kUser &&
                       message.GetField(msg::login::kFieldPassword) == kPassword;
    std::vector<std::shared_ptr<FakeConnection>> relayTo;
    std::string answer;
    {
        std::lock_guard lock(m_mutex);
        switch (message.Code()) {
        case msg::kLogin:
            answer = known ? Payload(msg::kReplyOk, {"1001", std::to_string(kOperatorId),
                                                     std::to_string(kServerVersion)})
                           : Payload(msg::kReplyFailed, {"1001", std::to_string(rc::kBadCredentials)});
            break;
        case msg::kSetStatus:
            answer = Payload(msg::kReplyOk, {"1003", number(msg::kStatusFieldStatus)});
            break;
        case msg::kOpenMainChannel:
        case msg::kOpenChannel:
            answer = Payload(msg::kReplyOk, {std::to_string(message.Code())});
            break;
        case msg::kTransferCall:
            answer = Payload(msg::kReplyOk, {"2002", number(msg::transfer::kFieldOperator)});
            break;
        case msg::kInviteVisitor:
            answer = Payload(msg::kReplyOk, {"4003", number(msg::invite::kFieldVisitor)});
            break;
        case msg::kRequestUsers:
        case msg::kRequestVisitors:
            answer = connection.channel
                         ? m_participantsReply
                         : m_listReplies[message.Code()];
            break;
        case msg::kChatData:
            for (const auto& c : m_connections)
                if (c->channel && c->callId == connection.callId &&
                    (c.get() != &connection || m_chatEcho))
                    relayTo.push_back(c);
            break;
        default:
            break; // keep-alive and anything unknown: no answer
        }
    }
    if (!answer.empty())
        connection.Send(answer);
    for (const auto& c : relayTo)
        c->Send(message.Payload());
}

std::shared_ptr<FakeConnection> FakeChatServer::WaitConnection(size_t index,
                                                               std::chrono::milliseconds limit)
{
    std::unique_lock lock(m_mutex);
    if (!m_accepted.wait_for(lock, limit, [&] { return m_connections.size() > index; }))
        return nullptr;
    return m_connections[index];
}

size_t FakeChatServer::ConnectionCount() const
{
    std::lock_guard lock(m_mutex);
    return m_connections.size();
}

std::shared_ptr<FakeConnection> FakeChatServer::WaitChannel(int callId, int channelId,
                                                            std::chrono::milliseconds limit)
{
    std::shared_ptr<FakeConnection> found;
    std::unique_lock lock(m_mutex);
    m_accepted.wait_for(lock, limit, [&] {
        for (const auto& c : m_connections) {
            if (c->channel && c->callId == callId &&
                c->channelId == channelId)
                found = c;
        }
        return found != nullptr;
    });
    return found;
}

std::vector<std::shared_ptr<FakeConnection>> FakeChatServer::Channels() const
{
    std::lock_guard lock(m_mutex);
    std::vector<std::shared_ptr<FakeConnection>> out;
    for (const auto& c : m_connections) {
        if (c->channel)
            out.push_back(c);
    }
    return out;
}

std::vector<std::string> FakeChatServer::Violations() const
{
    std::lock_guard lock(m_mutex);
    std::vector<std::string> out;
    for (const auto& c : m_connections)
        if (!c->Violation().empty())
            out.push_back(c->Violation());
    return out;
}

} // namespace testing_support
