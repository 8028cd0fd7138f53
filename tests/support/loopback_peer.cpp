#include "loopback_peer.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace testing_support {

namespace {

bool WaitReadable(int fd, std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() < 0)
            return false;
        pollfd p{fd, POLLIN, 0};
        const int r = ::poll(&p, 1, static_cast<int>(left.count()));
        if (r > 0)
            return true;
        if (r == 0 || errno != EINTR)
            return false;
    }
}

} // namespace

RawPeer::~RawPeer()
{
    Close();
}

RawPeer::RawPeer(RawPeer&& other) noexcept : m_fd(other.m_fd)
{
    other.m_fd = -1;
}

RawPeer& RawPeer::operator=(RawPeer&& other) noexcept
{
    if (this != &other) {
        Close();
        m_fd = other.m_fd;
        other.m_fd = -1;
    }
    return *this;
}

bool RawPeer::Write(std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t r = ::send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(r));
    }
    return true;
}

bool RawPeer::WriteFrame(std::string_view payload)
{
    std::string frame = "<!>";
    const std::uint32_t n = htonl(static_cast<std::uint32_t>(payload.size()));
    frame.append(reinterpret_cast<const char*>(&n), 4);
    frame.append(payload);
    return Write(frame);
}

std::optional<std::string> RawPeer::Read(size_t n, std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::string out(n, '\0');
    size_t got = 0;
    while (got < n) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (!WaitReadable(m_fd, left))
            return std::nullopt;
        const ssize_t r = ::recv(m_fd, out.data() + got, n - got, 0);
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            return std::nullopt;
        got += static_cast<size_t>(r);
    }
    return out;
}

std::optional<std::string> RawPeer::ReadFrame(std::chrono::milliseconds limit)
{
    const auto header = Read(7, limit);
    if (!header || header->compare(0, 3, "<!>") != 0)
        return std::nullopt;
    std::uint32_t n;
    std::memcpy(&n, header->data() + 3, 4);
    return Read(ntohl(n), limit);
}

bool RawPeer::WaitClosed(std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    char buffer[4096];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (!WaitReadable(m_fd, left))
            return false;
        const ssize_t r = ::recv(m_fd, buffer, sizeof buffer, 0);
        if (r == 0 || (r < 0 && errno != EINTR && errno != EAGAIN))
            return true;
    }
}

void RawPeer::ShutdownWrite()
{
    if (m_fd >= 0)
        ::shutdown(m_fd, SHUT_WR);
}

void RawPeer::Close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

LoopbackListener::LoopbackListener()
{
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_fd < 0)
        throw std::runtime_error("socket");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof address;
    if (::bind(m_fd, reinterpret_cast<sockaddr*>(&address), len) != 0 || ::listen(m_fd, 64) != 0 ||
        ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &len) != 0)
        throw std::runtime_error("bind/listen");
    m_port = ntohs(address.sin_port);
}

LoopbackListener::~LoopbackListener()
{
    Close();
}

void LoopbackListener::Close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

RawPeer LoopbackListener::Accept(std::chrono::milliseconds limit)
{
    if (m_fd < 0 || !WaitReadable(m_fd, limit))
        return RawPeer();
    return RawPeer(::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC));
}

std::string Payload(int code, std::initializer_list<std::string_view> fields)
{
    char text[16];
    std::snprintf(text, sizeof text, "%4d", code);
    std::string out = text;
    for (std::string_view f : fields) {
        out.append(f);
        out.append("<~>");
    }
    return out;
}

} // namespace testing_support
