#pragma once

#include "client_socket.h"
#include "sim_hostility.h"
#include "socket_message.h"
#include "wire_limits.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

// One accepted client connection: a reader thread that hands each received message to the
// owner, and a writer thread that drains a queue, so that whoever posts (often while holding
// the simulation's lock) never waits on the network. A peer that stops reading is dropped once
// its queue is full; a peer that sends a broken frame is dropped too. Either costs only this
// connection.
//
// For the hostile modes the writer can also misbehave at a chosen point of its queue (PostFault):
// write garbage or a lying frame header, cut a frame in half, fall silent, close or reset.
class CSimConnection final : public std::enable_shared_from_this<CSimConnection>
{
public:
    using Shared = std::shared_ptr<const CSocketMessage>;

    struct Callbacks
    {
        // Reader thread, one message at a time in arrival order. A payload whose code is
        // negative or missing (shorter than four bytes) arrives too, with Code() <= 0.
        std::function<void(CSimConnection&, const CSocketMessage&)> onMessage;
        // Reader thread, exactly once, after the last onMessage, when the connection has ended
        // for any reason (peer closed, broken frame, dropped, Close()). The socket is closed.
        std::function<void(CSimConnection&)> onClosed;
    };

    CSimConnection(int id, int fd, std::string peer, std::chrono::milliseconds ioTimeout,
                   std::size_t maxQueued, Callbacks callbacks);
    // Closes and joins both threads; never destroy a connection from its own threads.
    ~CSimConnection();
    CSimConnection(const CSimConnection&) = delete;
    CSimConnection& operator=(const CSimConnection&) = delete;

    void Start();

    // Queues a message; false when the connection is ending (an overflowing post still returns
    // true: the drop shows in onClosed). Any thread; never blocks on I/O.
    bool Post(Shared message);
    bool Post(const CSocketMessage& message);
    // When the writer reaches this point of the queue, it writes the first half of cut's frame
    // (when given) and then does what kind says. Garbage, the lying headers and Silence leave
    // the connection open but mute: what is posted later is dropped unsent, while the reader
    // goes on. Close and Reset end it. Same results as Post.
    bool PostFault(SimFaultKind kind, Shared cut = nullptr);
    // The frame cap of the client at the other end (limits::kOperatorFrame until a channel is
    // opened on the connection): the lying headers are measured against it.
    void SetPeerFrameCap(std::uint32_t cap) { m_peerFrameCap = cap; }
    // Sends what is queued, then ends the connection (the peer sees the end after the data).
    void CloseAfterFlush();
    // Ends the connection now; queued messages are dropped. Any thread except this
    // connection's own; returns without waiting for the threads (Join does).
    void Close();
    void Join();

    // Both threads have ended: Join returns at once.
    bool Finished() const { return m_readerExited && m_writerDone; }
    // Ended because the peer misbehaved (broken frame, stopped reading).
    bool Dropped() const { return m_dropped; }
    // A fault has struck: nothing more reaches the peer.
    bool Faulted() const { return m_faulted; }
    int Id() const { return m_id; }
    const std::string& Peer() const { return m_peer; }

private:
    struct Outgoing
    {
        Shared message; // sent whole, or cut in half ahead of a fault
        SimFaultKind fault = SimFaultKind::None;
    };

    bool Queue(Outgoing item);
    void ReadLoop();
    void WriteLoop();
    // Carries out a fault; false when the connection has ended with it.
    bool Strike(const Outgoing& item);
    // Writes bytes outside any frame; false when they could not all go out in time.
    bool WriteRaw(std::string_view bytes);
    void StopWriter();
    // Closes the socket once; the raw descriptor is used for the half-close only under m_fdMutex.
    void ShutSocket(bool reset = false);
    void HalfClose();

    const int m_id;
    const int m_fd;
    const std::string m_peer;
    const std::chrono::milliseconds m_ioTimeout;
    const std::size_t m_maxQueued;
    std::atomic<std::uint32_t> m_peerFrameCap{limits::kOperatorFrame};
    Callbacks m_callbacks;
    CClientSocket m_socket;

    std::mutex m_fdMutex;
    bool m_fdClosed = false;

    std::mutex m_queueMutex;
    std::condition_variable m_queueChanged;
    std::deque<Outgoing> m_queue;
    bool m_stop = false;  // writer: end now
    bool m_flush = false; // writer: end once the queue is empty
    bool m_overflow = false;

    std::mutex m_doneMutex;
    std::condition_variable m_readerEnded;
    std::atomic<bool> m_readerDone{false};
    std::atomic<bool> m_readerExited{false}; // after onClosed returned
    std::atomic<bool> m_writerDone{false};
    std::atomic<bool> m_dropped{false};
    std::atomic<bool> m_faulted{false};

    std::thread m_reader;
    std::thread m_writer;
};
