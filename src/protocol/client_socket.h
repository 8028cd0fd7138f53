#pragma once

#include "frame_reader.h"
#include "name_lookup.h"
#include "wire_limits.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

// Why the last Connect failed, for the operator's message; the result code stays -2 (or -1).
enum class ConnectFailure
{
    None,
    HostNotFound,
    Refused,
    TimedOut,
    Unreachable,
    Cancelled,
    Other,
};

// How long a socket waits. The console keeps the defaults; tests and the simulated server
// shorten them.
struct CSocketWaits
{
    // The connect and name lookup, the wait for a frame to begin (an idle connection, -8), and
    // each wait for more of a frame's body.
    std::chrono::milliseconds timeout{20'000};
    // Each wait for the rest of a header once its first byte is in.
    std::chrono::milliseconds headerWait{10'000};
    // A whole frame from its first byte: a peer that trickles a frame in keeps no connection
    // alive past this.
    std::chrono::milliseconds frameDeadline{60'000};
    // Each wait for room to write more of a frame.
    std::chrono::milliseconds sendTimeout{20'000};
};

// One TCP connection to the chat server carrying framed messages:
//   "<!>" | payload length (uint32, big-endian) | payload
//
// Thread rules: one thread receives; any number of threads may send (a whole frame is written
// under a lock, so frames never interleave); any thread may Close(), which wakes a receiver or
// sender blocked on the socket and returns once no call is still using the descriptor, so a
// stale thread can never touch a reused descriptor number. Interrupt() may come from any thread.
//
// A frame that could be written only in part has cut the stream: every later frame would be
// read by the server as the rest of it. Such a failure therefore ends the connection (shut down
// both ways, so the receiver sees its end) before SendFrame reports -3.
class CClientSocket final
{
public:
    static constexpr std::chrono::milliseconds kDefaultTimeout{20'000};
    static constexpr std::chrono::milliseconds kDefaultHeaderWait{10'000};
    // The cap of the operator connection, the default of every socket.
    static constexpr std::uint32_t kMaxFrameLength = limits::kOperatorFrame;

    CClientSocket() = default;
    explicit CClientSocket(std::chrono::milliseconds timeout,
                           std::chrono::milliseconds headerWait = kDefaultHeaderWait);
    explicit CClientSocket(const CSocketWaits& waits, std::uint32_t maxFrameLength = kMaxFrameLength);
    ~CClientSocket();
    CClientSocket(const CClientSocket&) = delete;
    CClientSocket& operator=(const CClientSocket&) = delete;

    // Connects over IPv4 within the time-out. Returns the descriptor (>= 0) on success, -1 when
    // no socket can be created, -2 when the host does not resolve, the connection is refused, not
    // made in time or interrupted; LastConnectFailure() then tells which. A refusal is reported
    // as it comes, not after the time-out. A failed attempt leaves no handle. An open socket is
    // closed first.
    int Connect(const std::string& host, std::uint16_t port);
    ConnectFailure LastConnectFailure() const;

    // Takes ownership of an already connected descriptor (accepted connections, socket pairs).
    void Attach(int fd);

    // Returns 0, or -5 when the platform reports an error on closing; no handle either way.
    int Close();
    // Ends the connection with a reset (SO_LINGER 0) instead of an orderly close, so that the
    // peer sees it fail rather than end. Wakes a blocked receiver like Close; a send blocked on
    // a full buffer is not woken and holds the close up to its time-out. Same results as Close.
    int Abort();
    bool IsOpen() const;

    // Any thread: a Connect in progress fails at once (ConnectFailure::Cancelled), and so does
    // every later one until ClearInterrupt; an open connection is shut down, which wakes its
    // receiver and fails its sends.
    void Interrupt();
    void ClearInterrupt();

    // Writes the whole frame. Returns count, -2 without a connection, -3 when the frame is above
    // the cap (nothing written) or could not be written whole (the peer is gone or stopped
    // reading for the send time-out; after part of it went out, the connection is ended too).
    int SendFrame(const char* bytes, int count);

    // Reads one frame into payload (resized to the frame length, plus a NUL behind it that is
    // not counted). Returns the length, or -2 (no connection), -4 (bad header, length out of
    // range, body or header time-out, frame past its deadline), -5 (peer closed), -8 (idle for
    // the whole time-out). On failure payload is left empty.
    int ReceiveFrame(std::vector<char>& payload);

    void SetTimeouts(std::chrono::milliseconds timeout, std::chrono::milliseconds headerWait);
    void SetWaits(const CSocketWaits& waits);
    // Frames above this are refused both ways; the receiver refuses one from its header alone.
    void SetMaxFrameLength(std::uint32_t maxFrameLength);
    std::chrono::milliseconds Timeout() const { return m_waits.timeout; }

private:
    // Pins the descriptor for the length of one operation; Close() waits for pins to drop.
    class Use;
    int Acquire();
    void Release();
    int CloseLocked(std::unique_lock<std::mutex>& lock, bool reset = false);
    int Fail(ConnectFailure failure, int result);
    // One wait for more of the frame, or its end: a result code, or kNeedMore to read again.
    int WaitForMore(int fd, std::chrono::steady_clock::time_point frameEnd);
    int ReadEnded() const;

    CSocketWaits m_waits;
    CFrameReader m_reader{kMaxFrameLength}; // the receiving thread's only
    std::uint32_t m_maxFrameLength = kMaxFrameLength;
    CNameLookup m_lookup;

    mutable std::mutex m_stateMutex;
    std::condition_variable m_idle;
    int m_fd = -1;          // -1: no handle (0 is a valid descriptor on POSIX)
    int m_connectingFd = -1; // the descriptor of a Connect in progress, for Interrupt
    int m_users = 0;        // operations currently using m_fd
    bool m_closing = false;
    bool m_interrupted = false;
    ConnectFailure m_lastFailure = ConnectFailure::None;

    std::mutex m_sendMutex; // one frame at a time on the wire
};
