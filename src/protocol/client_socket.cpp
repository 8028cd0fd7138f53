#include "client_socket.h"

#include "result_codes.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
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

// Waits for the events on fd until the deadline; EINTR does not shorten the wait.
// Returns >0 when ready (or hung up / in error: the next call will tell), 0 on time-out, <0 on
// a failed wait.
int WaitUntil(int fd, short events, Clock::time_point deadline)
{
    for (;;) {
        pollfd p{fd, events, 0};
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - Clock::now() + std::chrono::microseconds(999));
        const int r = ::poll(&p, 1, ToPollTimeout(left));
        if (r >= 0)
            return r;
        if (errno != EINTR)
            return -1;
    }
}

// Four decimal numbers separated by dots mark a literal address (no name lookup), which must
// then be a valid IPv4 address, the way the service always has.
bool LooksDotted(const std::string& host)
{
    int a, b, c, d;
    return std::sscanf(host.c_str(), "%d.%d.%d.%d", &a, &b, &c, &d) == 4;
}

ConnectFailure FailureOf(int error)
{
    switch (error) {
    case ECONNREFUSED:
        return ConnectFailure::Refused;
    case ETIMEDOUT:
        return ConnectFailure::TimedOut;
    case ENETUNREACH:
    case EHOSTUNREACH:
    case ENETDOWN:
    case EHOSTDOWN:
        return ConnectFailure::Unreachable;
    default:
        return ConnectFailure::Other;
    }
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
{
    SetTimeouts(timeout, headerWait);
}

CClientSocket::CClientSocket(const CSocketWaits& waits, std::uint32_t maxFrameLength)
    : m_waits(waits), m_reader(maxFrameLength), m_maxFrameLength(maxFrameLength)
{
}

CClientSocket::~CClientSocket()
{
    Close();
}

void CClientSocket::SetTimeouts(std::chrono::milliseconds timeout, std::chrono::milliseconds headerWait)
{
    m_waits.timeout = timeout;
    m_waits.headerWait = headerWait;
    m_waits.sendTimeout = timeout;
}

void CClientSocket::SetWaits(const CSocketWaits& waits)
{
    m_waits = waits;
}

void CClientSocket::SetMaxFrameLength(std::uint32_t maxFrameLength)
{
    m_maxFrameLength = maxFrameLength;
    m_reader.SetMaxLength(maxFrameLength);
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
    // Nobody receives now: what was read ahead belongs to the connection that ended.
    m_reader.Reset();
    m_idle.notify_all();
    return result;
}

void CClientSocket::Attach(int fd)
{
    std::unique_lock lock(m_stateMutex);
    CloseLocked(lock);
    m_fd = fd;
}

void CClientSocket::Interrupt()
{
    {
        std::lock_guard lock(m_stateMutex);
        m_interrupted = true;
        // Shutting a connecting socket down ends the attempt and wakes its wait; an open one,
        // pinned or not, stays ours until Close, so the number cannot have been reused.
        if (m_connectingFd >= 0)
            ::shutdown(m_connectingFd, SHUT_RDWR);
        if (m_fd >= 0 && !m_closing)
            ::shutdown(m_fd, SHUT_RDWR);
    }
    m_lookup.Cancel();
}

void CClientSocket::ClearInterrupt()
{
    std::lock_guard lock(m_stateMutex);
    m_interrupted = false;
    m_lookup.Reset();
}

ConnectFailure CClientSocket::LastConnectFailure() const
{
    std::lock_guard lock(m_stateMutex);
    return m_lastFailure;
}

int CClientSocket::Fail(ConnectFailure failure, int result)
{
    std::lock_guard lock(m_stateMutex);
    m_lastFailure = failure;
    return result;
}

int CClientSocket::Connect(const std::string& host, std::uint16_t port)
{
    Close();
    const auto deadline = Clock::now() + m_waits.timeout;
    {
        std::lock_guard lock(m_stateMutex);
        m_lastFailure = ConnectFailure::None;
        if (m_interrupted)
            m_lastFailure = ConnectFailure::Cancelled;
    }
    if (LastConnectFailure() != ConnectFailure::None)
        return rc::kNotConnected;

    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (LooksDotted(host)) {
        if (::inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1)
            return Fail(ConnectFailure::HostNotFound, rc::kNotConnected);
    } else {
        switch (m_lookup.Resolve(host, m_waits.timeout, address.sin_addr)) {
        case CNameLookup::Outcome::Found:
            break;
        case CNameLookup::Outcome::NotFound:
            return Fail(ConnectFailure::HostNotFound, rc::kNotConnected);
        case CNameLookup::Outcome::TimedOut:
            return Fail(ConnectFailure::TimedOut, rc::kNotConnected);
        case CNameLookup::Outcome::Cancelled:
            return Fail(ConnectFailure::Cancelled, rc::kNotConnected);
        }
    }

    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return Fail(ConnectFailure::Other, rc::kNoSocket);
    {
        // An Interrupt since the check above found no descriptor to shut down: it must not
        // be lost, or the attempt would wait out its whole time.
        std::lock_guard lock(m_stateMutex);
        if (m_interrupted) {
            ::close(fd);
            m_lastFailure = ConnectFailure::Cancelled;
            return rc::kNotConnected;
        }
        m_connectingFd = fd;
    }
    ConnectFailure failure = ConnectFailure::None;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        const int error = errno;
        failure = FailureOf(error);
        if (error == EINPROGRESS) {
            // Writable only tells that the attempt ended; the pending error tells how (a refused
            // connection is writable too, at once).
            failure = ConnectFailure::TimedOut;
            if (WaitUntil(fd, POLLOUT, deadline) > 0) {
                int error = 0;
                socklen_t len = sizeof error;
                if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len) != 0)
                    error = errno;
                failure = error == 0 ? ConnectFailure::None : FailureOf(error);
            }
        }
    }
    std::lock_guard lock(m_stateMutex);
    m_connectingFd = -1;
    if (m_interrupted)
        failure = ConnectFailure::Cancelled;
    if (failure != ConnectFailure::None) {
        ::close(fd);
        m_lastFailure = failure;
        return rc::kNotConnected;
    }
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    m_fd = fd;
    return fd;
}

int CClientSocket::SendFrame(const char* bytes, int count)
{
    Use use(*this);
    if (use.fd() < 0)
        return rc::kNotConnected;
    if (count < 1 || !bytes || static_cast<std::uint32_t>(count) > m_maxFrameLength)
        return rc::kSendFailed;

    char header[CFrameReader::kHeaderSize];
    std::memcpy(header, kMarker, sizeof kMarker);
    const std::uint32_t netLength = htonl(static_cast<std::uint32_t>(count));
    std::memcpy(header + 3, &netLength, 4);

    iovec parts[2] = {{header, sizeof header}, {const_cast<char*>(bytes), static_cast<size_t>(count)}};
    const size_t total = sizeof header + static_cast<size_t>(count);
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
            WaitUntil(use.fd(), POLLOUT, Clock::now() + m_waits.sendTimeout) > 0)
            continue;
        // The descriptor is pinned, so it is still ours to shut down.
        if (sent > 0)
            ::shutdown(use.fd(), SHUT_RDWR);
        return rc::kSendFailed;
    }
    return count;
}

int CClientSocket::ReadEnded() const
{
    // The peer closed, or the read failed: between frames that is the end of the stream, inside
    // a header a broken frame, inside a body the end again.
    return m_reader.InHeader() ? rc::kReceiveFailed : rc::kPeerClosed;
}

int CClientSocket::WaitForMore(int fd, Clock::time_point frameEnd)
{
    const bool begun = m_reader.Begun();
    const auto stage = m_reader.InHeader() ? m_waits.headerWait : m_waits.timeout;
    auto until = Clock::now() + stage;
    if (begun)
        until = std::min(until, frameEnd);
    if (WaitUntil(fd, POLLIN, until) > 0)
        return CFrameReader::kNeedMore;
    // Nothing came: between frames the connection is idle, inside one the frame has failed.
    return begun ? rc::kReceiveFailed : rc::kIdle;
}

int CClientSocket::ReceiveFrame(std::vector<char>& payload)
{
    payload.clear();
    Use use(*this);
    if (use.fd() < 0)
        return rc::kNotConnected;
    const int fd = use.fd();

    auto frameEnd = Clock::time_point::max();
    int result = CFrameReader::kNeedMore;
    while (result == CFrameReader::kNeedMore) {
        result = m_reader.Take(payload);
        if (result != CFrameReader::kNeedMore)
            break;
        if (m_reader.Begun() && frameEnd == Clock::time_point::max())
            frameEnd = Clock::now() + m_waits.frameDeadline;
        // Read first and wait only when nothing is there: in a burst every frame after the
        // first is already buffered, or a read away.
        const std::span<char> space = m_reader.Space(payload);
        const ssize_t r = ::recv(fd, space.data(), space.size(), MSG_DONTWAIT);
        if (r > 0) {
            m_reader.Filled(static_cast<size_t>(r));
            // A peer that never lets the stream run dry is held to the deadline too.
            if (Clock::now() >= frameEnd)
                result = rc::kReceiveFailed;
        } else if (r == 0) {
            result = ReadEnded();
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            result = WaitForMore(fd, frameEnd);
        } else if (errno != EINTR) {
            result = ReadEnded();
        }
    }
    if (result <= 0) {
        payload.clear();
        if (result != rc::kIdle)
            m_reader.Reset();
    }
    return result;
}
