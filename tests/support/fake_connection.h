#pragma once

#include "socket_message.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace testing_support {

using namespace std::chrono_literals;

// "<!>", the payload's length (big-endian), the payload.
std::string FrameOf(std::string_view payload);

// Waits until the thread (gettid()) sleeps in the kernel, blocked in a wait of its own: how a
// test knows that another thread has reached a blocking call, with no sleep of its own.
void WaitAsleep(int tid);

// A socket listening on a free loopback port, which it tells; throws when there is none.
int ListenOnLoopback(int backlog, std::uint16_t& port);

// A loopback listener whose one-place queue is taken: the kernel drops further attempts to
// connect, which then hang until the connect gives up.
class Blackhole final
{
public:
    Blackhole();
    ~Blackhole();
    Blackhole(const Blackhole&) = delete;
    Blackhole& operator=(const Blackhole&) = delete;
    std::uint16_t Port() const { return m_port; }

private:
    std::uint16_t m_port = 0; // first: the listener sets it
    int m_listener;
    int m_queued;
};

// The server's end of one accepted connection of FakeChatServer: the scripted peer of the core's
// tests, which writes frames, raw bytes or nothing at all on cue from any thread. A reader
// thread takes every frame the client sends, records it, then hands it to the server's handler
// (on that reader thread, in arrival order), which may answer.
class FakeConnection final
{
public:
    using Handler = std::function<void(FakeConnection&, const CSocketMessage&)>;

    // Takes ownership of the connected descriptor and starts reading.
    FakeConnection(int fd, Handler handler);
    // Ends the connection and waits for the reader.
    ~FakeConnection();
    FakeConnection(const FakeConnection&) = delete;
    FakeConnection& operator=(const FakeConnection&) = delete;

    // The next message the client sent that Next() has not returned yet.
    std::optional<CSocketMessage> Next(std::chrono::milliseconds limit = 5s);
    // Everything received so far, in order.
    std::vector<CSocketMessage> Received() const;
    // Waits until at least count messages arrived.
    bool WaitReceived(size_t count, std::chrono::milliseconds limit = 5s);
    // Waits until the client closed its end (or sent something that is not a frame).
    bool WaitEnded(std::chrono::milliseconds limit = 5s);
    // What broke framing ("frame cut short", ...), empty while every byte came in whole frames.
    std::string Violation() const;

    // One frame with the payload. False when the connection is gone.
    bool Send(std::string_view payload);
    bool SendRaw(std::string_view bytes);
    // Stops reading after the piece being read (the client's sends then fill the buffers and
    // stall), or reads on.
    void HoldReading(bool hold);
    // Ends the connection: the client reads end of stream.
    void Close();

    // Set by the server from a channel's opening, 2003 or 3001.
    std::atomic<bool> channel{false};
    std::atomic<int> callId{-1};
    std::atomic<int> channelId{-1};

private:
    void ReadLoop();
    bool ReadExact(char* into, size_t count);

    const int m_fd;
    Handler m_handler;
    std::mutex m_sendMutex;

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<CSocketMessage> m_received;
    size_t m_next = 0;
    bool m_ended = false;
    bool m_held = false;
    std::string m_violation;

    std::thread m_reader; // last: starts once everything above exists
};

} // namespace testing_support
