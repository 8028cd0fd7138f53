#include "client_socket.h"

#include "result_codes.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/uio.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr char kMarker[3] = {'<', '!', '>'};

int ToPollTimeout(std::chrono::milliseconds ms)
{
    if (ms.count() < 0)
        return 0;
    if (ms.count() > 0x7fffffff)
        return 0x7fffffff;
    return static_cast<int>(ms.count());
}

// Waits for the events on fd up to the given time; EINTR does not shorten the wait.
// Returns >0 when ready (or hung up / in error: the next call will tell), 0 on time-out, <0 on
// a failed wait.
int WaitFor(int fd, short events, std::chrono::milliseconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        pollfd p{fd, events, 0};
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        const int r = ::poll(&p, 1, ToPollTimeout(left));
        if (r >= 0)
            return r;
        if (errno != EINTR)
            return -1;
    }
}

// Parses "a.b.c.d" the way the service always has: four decimal numbers separated by dots mark
// a literal address (no name lookup), which must then be a valid IPv4 address.
bool LooksDotted(const std::string& host)
{
    int a, b, c, d;
    return std::sscanf(host.c_str(), "%d.%d.%d.%d", &a, &b, &c, &d) == 4;
}

bool Resolve(const std::string& host, std::uint16_t port, sockaddr_in& out)
{
    out = {};
    out.sin_family = AF_INET;
    out.sin_port = htons(port);
    if (LooksDotted(host))
        return ::inet_pton(AF_INET, host.c_str(), &out.sin_addr) == 1;

    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* result = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &result) != 0 || !result)
        return false;
    out.sin_addr = reinterpret_cast<const sockaddr_in*>(result->ai_addr)->sin_addr;
    ::freeaddrinfo(result);
    return true;
}

} // namespace

class CClientSocket::Use
{
public:
    explicit Use(CClientSocket& s) : m_socket(s), m_fd(s.Acquire()) {}
    ~Use()
    {
        if (m_fd >= 0)
            m_socket.Release();
    }
    Use(const Use&) = delete;
    Use& operator=(const Use&) = delete;
    int fd() const { return m_fd; }

private:
    CClientSocket& m_socket;
    int m_fd;
};

CClientSocket::CClientSocket(std::chrono::milliseconds timeout, std::chrono::milliseconds headerWait)
    : m_timeout(timeout), m_headerWait(headerWait)
{
}

CClientSocket::~CClientSocket()
{
    Close();
}

void CClientSocket::SetTimeouts(std::chrono::milliseconds timeout, std::chrono::milliseconds headerWait)
{
    m_timeout = timeout;
    m_headerWait = headerWait;
}

int CClientSocket::Acquire()
{
    std::lock_guard lock(m_stateMutex);
    if (m_fd < 0 || m_closing)
        return -1;
    ++m_users;
    return m_fd;
}

void CClientSocket::Release()
{
    std::lock_guard lock(m_stateMutex);
    if (--m_users == 0)
        m_idle.notify_all();
}

bool CClientSocket::IsOpen() const
{
    std::lock_guard lock(m_stateMutex);
    return m_fd >= 0 && !m_closing;
}

int CClientSocket::Close()
{
    std::unique_lock lock(m_stateMutex);
    return CloseLocked(lock);
}

int CClientSocket::Abort()
{
    std::unique_lock lock(m_stateMutex);
    return CloseLocked(lock, true);
}

int CClientSocket::CloseLocked(std::unique_lock<std::mutex>& lock, bool reset)
{
    if (m_fd < 0)
        return rc::kOk;
    if (m_closing) {
        // Another thread is closing: wait until it is done so that "closed" means closed.
        m_idle.wait(lock, [this] { return m_fd < 0; });
        return rc::kOk;
    }
    m_closing = true;
    // close() alone would not wake a thread blocked in poll() on this descriptor; shutdown does,
    // and every pinned operation then fails and unpins quickly. Shutting down the sending side
    // would send an orderly end ahead of the reset, so a reset shuts down receiving only, which
    // sends nothing; the close then resets.
    if (reset) {
        const linger hard{1, 0};
        ::setsockopt(m_fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    }
    ::shutdown(m_fd, reset ? SHUT_RD : SHUT_RDWR);
    m_idle.wait(lock, [this] { return m_users == 0; });
    const int result = ::close(m_fd) == 0 ? rc::kOk : rc::kPeerClosed;
    m_fd = -1;
    m_closing = false;
    m_idle.notify_all();
    return result;
}

void CClientSocket::Attach(int fd)
{
    std::unique_lock lock(m_stateMutex);
    CloseLocked(lock);
    m_fd = fd;
}

int CClientSocket::Connect(const std::string& host, std::uint16_t port)
{
    Close();

    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return rc::kNoSocket;

    sockaddr_in address{};
    bool connected = Resolve(host, port, address);
    if (connected) {
        int r = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        if (r != 0 && errno == EINPROGRESS) {
            // Writable only tells that the attempt ended; the pending error tells how (a refused
            // connection is writable too).
            if (WaitFor(fd, POLLOUT, m_timeout) > 0) {
                int error = 0;
                socklen_t len = sizeof error;
                r = (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len) == 0 && error == 0) ? 0 : -1;
            }
        }
        connected = r == 0;
    }
    if (!connected) {
        ::close(fd);
        return rc::kNotConnected;
    }

    // Back to blocking mode; every wait below is bounded by poll instead.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);

    std::lock_guard lock(m_stateMutex);
    m_fd = fd;
    return fd;
}

int CClientSocket::SendFrame(const char* bytes, int count)
{
    Use use(*this);
    if (use.fd() < 0)
        return rc::kNotConnected;
    if (count < 1 || !bytes || static_cast<std::uint32_t>(count) > kMaxFrameLength)
        return rc::kSendFailed;

    char header[kHeaderSize];
    std::memcpy(header, kMarker, sizeof kMarker);
    const std::uint32_t netLength = htonl(static_cast<std::uint32_t>(count));
    std::memcpy(header + 3, &netLength, 4);

    iovec parts[2] = {{header, sizeof header}, {const_cast<char*>(bytes), static_cast<size_t>(count)}};
    size_t total = sizeof header + static_cast<size_t>(count);
    size_t sent = 0;

    std::lock_guard sendLock(m_sendMutex);
    while (sent < total) {
        // Skip what has gone already; a partial write is continued, never left half-done.
        iovec pending[2];
        int n = 0;
        size_t skip = sent;
        for (const iovec& part : parts) {
            if (skip >= part.iov_len) {
                skip -= part.iov_len;
                continue;
            }
            pending[n++] = {static_cast<char*>(part.iov_base) + skip, part.iov_len - skip};
            skip = 0;
        }
        msghdr message{};
        message.msg_iov = pending;
        message.msg_iovlen = static_cast<size_t>(n);
        const ssize_t r = ::sendmsg(use.fd(), &message, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (r > 0) {
            sent += static_cast<size_t>(r);
            continue;
        }
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) &&
            WaitFor(use.fd(), POLLOUT, m_timeout) > 0)
            continue;
        return rc::kSendFailed;
    }
    return count;
}

int CClientSocket::ReceiveFrame(std::vector<char>& payload)
{
    payload.clear();
    Use use(*this);
    if (use.fd() < 0)
        return rc::kNotConnected;
    const int fd = use.fd();

    if (WaitFor(fd, POLLIN, m_timeout) <= 0)
        return rc::kIdle;

    unsigned char header[kHeaderSize];
    int have = 0;
    bool first = true;
    while (have < kHeaderSize) {
        // The first wake-up came from the idle wait above; later pieces get the header wait.
        if (!first && WaitFor(fd, POLLIN, m_headerWait) <= 0)
            break;
        first = false;
        const ssize_t r = ::recv(fd, header + have, static_cast<size_t>(kHeaderSize - have), MSG_DONTWAIT);
        if (r > 0) {
            have += static_cast<int>(r);
            continue;
        }
        if (r < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK))
            continue;
        break;
    }
    if (have < kHeaderSize)
        return have == 0 ? rc::kPeerClosed : rc::kReceiveFailed;
    if (std::memcmp(header, kMarker, sizeof kMarker) != 0)
        return rc::kReceiveFailed;

    std::uint32_t netLength;
    std::memcpy(&netLength, header + 3, 4);
    const std::uint32_t length = ntohl(netLength);
    if (length == 0 || length > kMaxFrameLength)
        return rc::kReceiveFailed;

    // The buffer grows with the bytes that actually arrive, so a peer announcing a large frame
    // and sending little costs little.
    constexpr size_t kFirstChunk = 256 * 1024;
    payload.resize(std::min<size_t>(length, kFirstChunk) + 1);
    size_t got = 0;
    while (got < length) {
        if (WaitFor(fd, POLLIN, m_timeout) <= 0) {
            payload.clear();
            return rc::kReceiveFailed;
        }
        if (got + 1 >= payload.size())
            payload.resize(std::min<size_t>(static_cast<size_t>(length), payload.size() * 2) + 1);
        const ssize_t r = ::recv(fd, payload.data() + got, payload.size() - 1 - got, MSG_DONTWAIT);
        if (r > 0) {
            got += static_cast<size_t>(r);
            continue;
        }
        if (r < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK))
            continue;
        payload.clear();
        return rc::kPeerClosed;
    }
    payload[length] = '\0';
    payload.resize(length + 1);
    return static_cast<int>(length);
}
