#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

// One TCP connection to the chat server carrying framed messages:
//   "<!>" | payload length (uint32, big-endian) | payload
//
// Thread rules: one thread receives; any number of threads may send (a whole frame is written
// under a lock, so frames never interleave); any thread may Close(), which wakes a receiver or
// sender blocked on the socket and returns once no call is still using the descriptor, so a
// stale thread can never touch a reused descriptor number.
class CClientSocket final
{
public:
    static constexpr std::chrono::milliseconds kDefaultTimeout{20'000};
    static constexpr std::chrono::milliseconds kDefaultHeaderWait{10'000};
    // Frames above this are refused before any memory is reserved for them.
    static constexpr std::uint32_t kMaxFrameLength = 64u * 1024u * 1024u;
    static constexpr int kHeaderSize = 7;

    CClientSocket() = default;
    // Tests and the simulated server shorten the waits; the console keeps the defaults.
    explicit CClientSocket(std::chrono::milliseconds timeout,
                           std::chrono::milliseconds headerWait = kDefaultHeaderWait);
    ~CClientSocket();
    CClientSocket(const CClientSocket&) = delete;
    CClientSocket& operator=(const CClientSocket&) = delete;

    // Connects over IPv4 within the time-out. Returns the descriptor (>= 0) on success, -1 when
    // no socket can be created, -2 when the host does not resolve, the connection is refused or
    // not made in time. A failed attempt leaves no handle. An open socket is closed first.
    int Connect(const std::string& host, std::uint16_t port);

    // Takes ownership of an already connected descriptor (accepted connections, socket pairs).
    void Attach(int fd);

    // Returns 0, or -5 when the platform reports an error on closing; no handle either way.
    int Close();
    // Ends the connection with a reset (SO_LINGER 0) instead of an orderly close, so that the
    // peer sees it fail rather than end. Wakes a blocked receiver like Close; a send blocked on
    // a full buffer is not woken and holds the close up to its time-out. Same results as Close.
    int Abort();
    bool IsOpen() const;

    // Writes the whole frame. Returns count, -2 without a connection, -3 when the frame could
    // not be written whole (the peer is gone or stopped reading for the time-out).
    int SendFrame(const char* bytes, int count);

    // Reads one frame into payload (resized to the frame length, plus a NUL behind it that is
    // not counted). Returns the length, or -2 (no connection), -4 (bad header, length out of
    // range, body time-out), -5 (peer closed), -8 (idle for the whole time-out). On failure
    // payload is left empty.
    int ReceiveFrame(std::vector<char>& payload);

    void SetTimeouts(std::chrono::milliseconds timeout, std::chrono::milliseconds headerWait);
    std::chrono::milliseconds Timeout() const { return m_timeout; }

private:
    // Pins the descriptor for the length of one operation; Close() waits for pins to drop.
    class Use;
    int Acquire();
    void Release();
    int CloseLocked(std::unique_lock<std::mutex>& lock, bool reset = false);

    std::chrono::milliseconds m_timeout = kDefaultTimeout;
    std::chrono::milliseconds m_headerWait = kDefaultHeaderWait;

    mutable std::mutex m_stateMutex;
    std::condition_variable m_idle;
    int m_fd = -1;        // -1: no handle (0 is a valid descriptor on POSIX)
    int m_users = 0;      // operations currently using m_fd
    bool m_closing = false;

    std::mutex m_sendMutex; // one frame at a time on the wire
};
