#include "fake_chat_server.h"

#include "message_codes.h"
#include "result_codes.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace testing_support {

std::string Payload(int code, const std::vector<std::string>& fields)
{
    char text[16];
    std::snprintf(text, sizeof text, "%4d", code);
    std::string out = text;
    for (const std::string& f : fields) {
        out.append(f);
        out.append("<~>");
    }
    return out;
}

FakeChatServer::FakeChatServer()
{
    m_listenFd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_listenFd < 0 || ::pipe2(m_wakeFds, O_CLOEXEC) != 0)
        throw std::runtime_error("fake server: socket");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof address;
    if (::bind(m_listenFd, reinterpret_cast<sockaddr*>(&address), len) != 0 ||
        ::listen(m_listenFd, 128) != 0 ||
        ::getsockname(m_listenFd, reinterpret_cast<sockaddr*>(&address), &len) != 0)
        throw std::runtime_error("fake server: bind");
    m_port = ntohs(address.sin_port);
    m_listReplies[msg::kRequestUsers] = Payload(msg::kReplyOk, {"1006", "0"});
    m_listReplies[msg::kRequestVisitors] = Payload(msg::kReplyOk, {"1007", "0"});
    m_participantsReply = Payload(msg::kReplyOk, {"1006", "0"});
    m_acceptor = std::thread([this] { AcceptLoop(); });
}

FakeChatServer::~FakeChatServer()
{
    const char stop = 's';
    (void)!::write(m_wakeFds[1], &stop, 1);
    m_acceptor.join();
    std::vector<std::shared_ptr<FakeConnection>> connections;
    {
        std::lock_guard lock(m_mutex);
        connections.swap(m_connections);
    }
    connections.clear(); // each one closes and joins its reader
    ::close(m_listenFd);
    ::close(m_wakeFds[0]);
    ::close(m_wakeFds[1]);
}

void FakeChatServer::AcceptLoop()
{
    for (;;) {
        pollfd fds[2] = {{m_listenFd, POLLIN, 0}, {m_wakeFds[0], POLLIN, 0}};
        const int r = ::poll(fds, 2, -1);
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0 || fds[1].revents)
            return;
        const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        auto connection = std::make_shared<FakeConnection>(
            fd, [this](FakeConnection& c, const CSocketMessage& m) { Handle(c, m); });
        {
            std::lock_guard lock(m_mutex);
            m_connections.push_back(std::move(connection));
        }
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

void FakeChatServer::Handle(FakeConnection& connection, const CSocketMessage& message)
{
    if (message.Code() == msg::kLogin)
        connection.kind = FakeConnection::Kind::Operator;
    if (message.Code() == msg::kOpenMainChannel || message.Code() == msg::kOpenChannel) {
        connection.callId = message.GetIntField(msg::channelOpen::kFieldCallId);
        connection.channelId = message.GetIntField(msg::channelOpen::kFieldChannelId);
        {
            std::lock_guard lock(m_mutex);
            connection.kind = FakeConnection::Kind::Channel;
        }
        m_accepted.notify_all();
    }
    FakeConnection::Handler handler;
    {
        std::lock_guard lock(m_mutex);
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
    const auto number = [](int n) { return std::to_string(n); };
    switch (message.Code()) {
    case msg::kLogin:
        if (message.GetField(msg::login::kFieldUser) == kUser &&
            message.GetField(msg::login::kFieldPassword) == kPassword) {
            connection.Send(Payload(
                msg::kReplyOk, {number(msg::kLogin), number(kOperatorId), number(kServerVersion)}));
        } else {
            connection.Send(
                Payload(msg::kReplyFailed, {number(msg::kLogin), number(rc::kBadCredentials)}));
        }
        break;
    case msg::kSetStatus:
        connection.Send(
            Payload(msg::kReplyOk, {number(msg::kSetStatus),
                                      number(message.GetIntField(msg::kStatusFieldStatus))}));
        break;
    case msg::kOpenMainChannel:
    case msg::kOpenChannel:
        connection.Send(Payload(msg::kReplyOk, {number(message.Code())}));
        break;
    case msg::kChatData:
        Relay(connection, message);
        break;
    case msg::kTransferCall:
        connection.Send(
            Payload(msg::kReplyOk, {number(msg::kTransferCall),
                                      number(message.GetIntField(msg::transfer::kFieldOperator))}));
        break;
    case msg::kRequestUsers:
        if (connection.kind == FakeConnection::Kind::Channel) {
            std::string reply;
            {
                std::lock_guard lock(m_mutex);
                reply = m_participantsReply;
            }
            connection.Send(reply);
            break;
        }
        [[fallthrough]];
    case msg::kRequestVisitors: {
        std::string reply;
        {
            std::lock_guard lock(m_mutex);
            reply = m_listReplies[message.Code()];
        }
        connection.Send(reply);
        break;
    }
    case msg::kInviteVisitor:
        connection.Send(
            Payload(msg::kReplyOk, {number(msg::kInviteVisitor),
                                      number(message.GetIntField(msg::invite::kFieldVisitor))}));
        break;
    default:
        break; // keep-alive and anything unknown: no answer
    }
}

void FakeChatServer::Relay(FakeConnection& from, const CSocketMessage& message)
{
    bool echo = false;
    std::vector<std::shared_ptr<FakeConnection>> others;
    {
        std::lock_guard lock(m_mutex);
        echo = m_chatEcho;
        for (const auto& c : m_connections) {
            if (c.get() != &from && c->kind == FakeConnection::Kind::Channel &&
                c->callId == from.callId)
                others.push_back(c);
        }
    }
    const std::string payload(message.Payload());
    if (echo)
        from.Send(payload);
    for (const auto& c : others)
        c->Send(payload);
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

std::shared_ptr<FakeConnection> FakeChatServer::WaitChannel(int callId, int channelId,
                                                            std::chrono::milliseconds limit)
{
    std::shared_ptr<FakeConnection> found;
    std::unique_lock lock(m_mutex);
    m_accepted.wait_for(lock, limit, [&] {
        for (const auto& c : m_connections) {
            if (c->kind == FakeConnection::Kind::Channel && c->callId == callId &&
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
        if (c->kind == FakeConnection::Kind::Channel)
            out.push_back(c);
    }
    return out;
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

std::vector<std::string> FakeChatServer::Violations() const
{
    std::vector<std::shared_ptr<FakeConnection>> connections;
    {
        std::lock_guard lock(m_mutex);
        connections = m_connections;
    }
    std::vector<std::string> out;
    for (const auto& c : connections) {
        std::string v = c->Violation();
        if (!v.empty())
            out.push_back(std::move(v));
    }
    return out;
}

} // namespace testing_support
