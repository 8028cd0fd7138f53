#include "listen_socket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

bool ParseLoopback(const std::string& host, in_addr& out)
{
    const std::string text = host == "localhost" ? "127.0.0.1" : host;
    if (::inet_pton(AF_INET, text.c_str(), &out) != 1)
        return false;
    return (ntohl(out.s_addr) >> 24) == 127;
}

} // namespace

CListenSocket::~CListenSocket()
{
    Close();
}

bool CListenSocket::IsLoopback(const std::string& host)
{
    in_addr address{};
    return ParseLoopback(host, address);
}

int CListenSocket::Listen(const std::string& host, std::uint16_t port)
{
    Close();
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (!ParseLoopback(host, address.sin_addr)) {
        m_error = "not a loopback address: " + host;
        return -1;
    }
    if (::pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        m_error = std::string("pipe: ") + std::strerror(errno);
        return -1;
    }
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_fd < 0) {
        m_error = std::string("socket: ") + std::strerror(errno);
        Close();
        return -1;
    }
    const int one = 1;
    ::setsockopt(m_fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    if (::bind(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(m_fd, SOMAXCONN) != 0) {
        m_error = host + ":" + std::to_string(port) + ": " + std::strerror(errno);
        Close();
        return -1;
    }
    sockaddr_in bound{};
    socklen_t length = sizeof bound;
    ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&bound), &length);
    return ntohs(bound.sin_port);
}

int CListenSocket::Accept(std::chrono::milliseconds timeout, std::string& peer)
{
    if (m_fd < 0)
        return -1;
    pollfd fds[2] = {{m_fd, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
    const int ready = ::poll(fds, 2, static_cast<int>(timeout.count()));
    if (ready <= 0)
        return -1;
    if (fds[1].revents != 0) {
        char drain[64];
        while (::read(m_wake[0], drain, sizeof drain) > 0) {
        }
        return -1;
    }
    sockaddr_in from{};
    socklen_t length = sizeof from;
    const int fd = ::accept4(m_fd, reinterpret_cast<sockaddr*>(&from), &length, SOCK_CLOEXEC);
    if (fd < 0)
        return -1;
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &from.sin_addr, text, sizeof text);
    peer = text;
    return fd;
}

void CListenSocket::Wake()
{
    if (m_wake[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const auto written = ::write(m_wake[1], &byte, 1);
    }
}

void CListenSocket::Close()
{
    for (int* fd : {&m_fd, &m_wake[0], &m_wake[1]}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}
