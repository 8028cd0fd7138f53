#include "sim_connection.h"

#include "result_codes.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <vector>

namespace {

// How long a raw write waits for room at a time while holding the descriptor, so that a Close
// from another thread is never held up for long.
constexpr int kRawWaitSliceMs = 50;

std::string Header(std::uint32_t length)
{
    std::string header = "<!>";
    const std::uint32_t net = htonl(length);
    header.append(reinterpret_cast<const char*>(&net), sizeof net);
    return header;
}

std::string FrameOf(const CSocketMessage& message)
{
    return Header(static_cast<std::uint32_t>(message.Length())) + std::string(message.Payload());
}

// What a confused server might send: a text of another protocol, then bytes of no meaning. It
// cannot start with a frame marker.
std::string GarbageBytes()
{
    std::string bytes = "HTTP/1.1 400 Bad Request\r\nContent-Length: 4096\r\n\r\n";
    for (int i = 0; i < 4096; ++i)
        bytes.push_back(static_cast<char>((i * 131 + 7) % 251));
    return bytes;
}

} // namespace

CSimConnection::CSimConnection(int id, int fd, std::string peer,
                               std::chrono::milliseconds ioTimeout, std::size_t maxQueued,
                               Callbacks callbacks)
    : m_id(id), m_fd(fd), m_peer(std::move(peer)), m_ioTimeout(ioTimeout), m_maxQueued(maxQueued),
      m_callbacks(std::move(callbacks)), m_socket(ioTimeout, ioTimeout)
{
    m_socket.Attach(fd);
}

CSimConnection::~CSimConnection()
{
    Close();
    Join();
}

void CSimConnection::Start()
{
    m_writer = std::thread([this] { WriteLoop(); });
    m_reader = std::thread([this] { ReadLoop(); });
}

bool CSimConnection::Queue(Outgoing item)
{
    {
        std::lock_guard lock(m_queueMutex);
        if (m_stop || m_flush || m_overflow)
            return false;
        if (m_queue.size() >= m_maxQueued) {
            // The writer drops the connection: doing it here could block a caller that holds
            // the simulation's lock.
            m_overflow = true;
            m_queue.clear();
        } else {
            m_queue.push_back(std::move(item));
        }
    }
    m_queueChanged.notify_one();
    return true;
}

bool CSimConnection::Post(Shared message)
{
    return Queue({std::move(message), SimFaultKind::None});
}

bool CSimConnection::Post(const CSocketMessage& message)
{
    return Post(std::make_shared<const CSocketMessage>(message));
}

bool CSimConnection::PostFault(SimFaultKind kind, Shared cut)
{
    if (kind == SimFaultKind::None)
        return cut ? Post(std::move(cut)) : true;
    return Queue({std::move(cut), kind});
}

void CSimConnection::CloseAfterFlush()
{
    {
        std::lock_guard lock(m_queueMutex);
        m_flush = true;
    }
    m_queueChanged.notify_one();
}

void CSimConnection::Close()
{
    StopWriter();
    ShutSocket();
}

void CSimConnection::Join()
{
    if (m_reader.joinable())
        m_reader.join();
    if (m_writer.joinable())
        m_writer.join();
}

void CSimConnection::StopWriter()
{
    {
        std::lock_guard lock(m_queueMutex);
        m_stop = true;
        m_queue.clear();
    }
    m_queueChanged.notify_one();
}

void CSimConnection::ShutSocket(bool reset)
{
    std::lock_guard lock(m_fdMutex);
    if (m_fdClosed)
        return;
    m_fdClosed = true;
    if (reset)
        m_socket.Abort();
    else
        m_socket.Close();
}

void CSimConnection::HalfClose()
{
    std::lock_guard lock(m_fdMutex);
    if (!m_fdClosed)
        ::shutdown(m_fd, SHUT_WR);
}

void CSimConnection::ReadLoop()
{
    CSocketMessage message;
    for (;;) {
        const int result = message.Receive(m_socket);
        if (result == rc::kIdle)
            continue;
        // A negative code leaves the frame intact: the owner refuses it and the stream goes on.
        if (result <= 0 && result != rc::kBadFormat) {
            if (result == rc::kReceiveFailed)
                m_dropped = true;
            break;
        }
        if (m_callbacks.onMessage)
            m_callbacks.onMessage(*this, message);
    }
    {
        std::lock_guard lock(m_doneMutex);
        m_readerDone = true;
    }
    m_readerEnded.notify_all();
    StopWriter();
    ShutSocket();
    if (m_callbacks.onClosed)
        m_callbacks.onClosed(*this);
    m_readerExited = true;
}

void CSimConnection::WriteLoop()
{
    bool graceful = false;
    bool ended = false;
    std::deque<Outgoing> batch;
    for (;;) {
        {
            std::unique_lock lock(m_queueMutex);
            m_queueChanged.wait(
                lock, [this] { return m_stop || m_overflow || m_flush || !m_queue.empty(); });
            if (m_overflow)
                m_dropped = true;
            if (m_stop || m_overflow)
                break;
            if (m_queue.empty()) { // m_flush and nothing left
                graceful = true;
                break;
            }
            batch.swap(m_queue);
        }
        bool failed = false;
        for (const Outgoing& item : batch) {
            // Once a fault has struck, nothing more goes out, a second fault included.
            if (m_faulted)
                continue;
            if (item.fault != SimFaultKind::None) {
                if (!Strike(item)) {
                    ended = true;
                    break;
                }
                continue;
            }
            if (item.message->Send(m_socket) != item.message->Length()) {
                failed = true;
                break;
            }
        }
        batch.clear();
        if (ended)
            break;
        if (failed) {
            // Not our own Close: the peer vanished or stopped reading for the whole time-out.
            std::lock_guard lock(m_queueMutex);
            if (!m_stop)
                m_dropped = true;
            break;
        }
    }
    if (graceful) {
        // Half-close, then let the peer close: closing at once could reset the connection and
        // lose the last messages if the peer was still sending.
        HalfClose();
        std::unique_lock lock(m_doneMutex);
        m_readerEnded.wait_for(lock, m_ioTimeout, [this] { return m_readerDone.load(); });
    }
    ShutSocket();
    m_writerDone = true;
}

bool CSimConnection::Strike(const Outgoing& item)
{
    m_faulted = true;
    if (item.message) {
        const std::string frame = FrameOf(*item.message);
        if (!WriteRaw(std::string_view(frame).substr(0, frame.size() / 2)))
            return true; // the peer is gone already; the reader sees the end
    }
    switch (item.fault) {
    case SimFaultKind::Garbage:
        WriteRaw(GarbageBytes());
        return true;
    case SimFaultKind::OversizedLength:
        WriteRaw(Header(m_peerFrameCap + 1));
        return true;
    case SimFaultKind::StalledLength:
        WriteRaw(Header(m_peerFrameCap - 1));
        return true;
    case SimFaultKind::Close:
        ShutSocket();
        return false;
    case SimFaultKind::Reset:
        ShutSocket(true);
        return false;
    case SimFaultKind::Silence:
    case SimFaultKind::None:
        return true;
    }
    return true;
}

bool CSimConnection::WriteRaw(std::string_view bytes)
{
    const auto deadline = std::chrono::steady_clock::now() + m_ioTimeout;
    std::size_t sent = 0;
    // The descriptor stays open while the lock is held; the waits are short so that a Close
    // from another thread only waits a slice.
    std::lock_guard lock(m_fdMutex);
    while (sent < bytes.size() && !m_fdClosed) {
        const ssize_t r =
            ::send(m_fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (r > 0) {
            sent += static_cast<std::size_t>(r);
            continue;
        }
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) &&
            std::chrono::steady_clock::now() < deadline) {
            pollfd p{m_fd, POLLOUT, 0};
            ::poll(&p, 1, kRawWaitSliceMs);
            std::lock_guard queueLock(m_queueMutex);
            if (m_stop)
                break;
            continue;
        }
        break;
    }
    return sent == bytes.size();
}
