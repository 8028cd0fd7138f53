#include "fake_connection.h"

#include "wire_limits.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace testing_support {

std::string FrameOf(std::string_view payload)
{
    std::string frame = "<!>";
    const std::uint32_t n = htonl(static_cast<std::uint32_t>(payload.size()));
    frame.append(reinterpret_cast<const char*>(&n), 4);
    frame.append(payload);
    return frame;
}

void WaitAsleep(int tid)
{
    for (;;) {
        std::ifstream stat("/proc/self/task/" + std::to_string(tid) + "/stat");
        if (!stat)
            return; // it has ended
        std::string line;
        std::getline(stat, line);
        const size_t name = line.rfind(')'); // the state follows the name
        if (name != std::string::npos && name + 2 < line.size() && line[name + 2] == 'S')
            return;
        std::this_thread::yield();
    }
}

int ListenOnLoopback(int backlog, std::uint16_t& port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(fd, backlog) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("no loopback listener");
    port = ntohs(address.sin_port);
    return fd;
}

Blackhole::Blackhole()
    : m_listener(ListenOnLoopback(0, m_port)), m_queued(::socket(AF_INET, SOCK_STREAM, 0))
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(m_port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(m_queued, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        throw std::runtime_error("black hole");
}

Blackhole::~Blackhole()
{
    ::close(m_queued);
    ::close(m_listener);
}

FakeConnection::FakeConnection(int fd, Handler handler)
    : m_fd(fd), m_handler(std::move(handler)), m_reader([this] { ReadLoop(); })
{
}

FakeConnection::~FakeConnection()
{
    Close();
    HoldReading(false);
    m_reader.join();
    ::close(m_fd);
}

bool FakeConnection::ReadExact(char* into, size_t count)
{
    for (size_t got = 0; got < count;) {
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return !m_held; });
        }
        const ssize_t r = ::recv(m_fd, into + got, count - got, 0);
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            return false;
        got += static_cast<size_t>(r);
    }
    return true;
}

void FakeConnection::ReadLoop()
{
    std::string violation;
    for (;;) {
        char header[7];
        if (!ReadExact(header, sizeof header))
            break;
        std::uint32_t n;
        std::memcpy(&n, header + 3, 4);
        n = ntohl(n);
        if (std::memcmp(header, "<!>", 3) != 0 || n == 0 || n > limits::kOperatorFrame) {
            violation = "bad frame header";
            break;
        }
        std::string payload(n, '\0');
        if (!ReadExact(payload.data(), n)) {
            violation = "frame cut short";
            break;
        }
        CSocketMessage message;
        message.Assign(payload);
        {
            std::lock_guard lock(m_mutex);
            m_received.push_back(message);
        }
        m_changed.notify_all();
        if (m_handler)
            m_handler(*this, message);
    }
    std::lock_guard lock(m_mutex);
    m_ended = true;
    m_violation = violation;
    m_changed.notify_all();
}

std::optional<CSocketMessage> FakeConnection::Next(std::chrono::milliseconds limit)
{
    std::unique_lock lock(m_mutex);
    if (!m_changed.wait_for(lock, limit, [this] { return m_next < m_received.size(); }))
        return std::nullopt;
    return m_received[m_next++];
}

std::vector<CSocketMessage> FakeConnection::Received() const
{
    std::lock_guard lock(m_mutex);
    return m_received;
}

bool FakeConnection::WaitReceived(size_t count, std::chrono::milliseconds limit)
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, limit, [&] { return m_received.size() >= count; });
}

bool FakeConnection::WaitEnded(std::chrono::milliseconds limit)
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, limit, [this] { return m_ended; });
}

std::string FakeConnection::Violation() const
{
    std::lock_guard lock(m_mutex);
    return m_violation;
}

bool FakeConnection::SendRaw(std::string_view bytes)
{
    std::lock_guard lock(m_sendMutex);
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

bool FakeConnection::Send(std::string_view payload)
{
    return SendRaw(FrameOf(payload));
}

void FakeConnection::HoldReading(bool hold)
{
    {
        std::lock_guard lock(m_mutex);
        m_held = hold;
    }
    m_changed.notify_all();
}

void FakeConnection::Close()
{
    // shutdown, not close: the reader may be blocked on the descriptor, and the number must not
    // be reused before it has left.
    ::shutdown(m_fd, SHUT_RDWR);
}

} // namespace testing_support
