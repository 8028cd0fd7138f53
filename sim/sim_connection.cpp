#include "sim_connection.h"

#include "result_codes.h"

#include <sys/socket.h>
#include <vector>

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

bool CSimConnection::Post(Shared message)
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
            m_queue.push_back(std::move(message));
        }
    }
    m_queueChanged.notify_one();
    return true;
}

bool CSimConnection::Post(const CSocketMessage& message)
{
    return Post(std::make_shared<const CSocketMessage>(message));
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

void CSimConnection::ShutSocket()
{
    std::lock_guard lock(m_fdMutex);
    if (m_fdClosed)
        return;
    m_fdClosed = true;
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
    std::deque<Shared> batch;
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
        for (const Shared& message : batch) {
            if (message->Send(m_socket) != message->Length()) {
                failed = true;
                break;
            }
        }
        batch.clear();
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
