#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The far end of a test connection on loopback: a listener that hands out accepted
// connections, and a raw peer that writes or reads bytes on cue, so tests can play a server
// that misbehaves in exact ways (wrong marker, half a header, silence, abrupt close).

namespace testing_support {

using namespace std::chrono_literals;

class RawPeer final
{
public:
    RawPeer() = default;
    explicit RawPeer(int fd) : m_fd(fd) {}
    ~RawPeer();
    RawPeer(RawPeer&& other) noexcept;
    RawPeer& operator=(RawPeer&& other) noexcept;
    RawPeer(const RawPeer&) = delete;
    RawPeer& operator=(const RawPeer&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    int Fd() const { return m_fd; }

    // Writes every byte (blocking); false when the connection is gone.
    bool Write(std::string_view bytes);
    // Writes a whole frame: marker, big-endian length, payload.
    bool WriteFrame(std::string_view payload);
    // Reads exactly n bytes within the time limit; nothing on time-out or close.
    std::optional<std::string> Read(size_t n, std::chrono::milliseconds limit = 5s);
    // Reads one frame and returns its payload; nothing on time-out, close or a bad header.
    std::optional<std::string> ReadFrame(std::chrono::milliseconds limit = 5s);
    // True when the other side closed (read returns end of stream) within the limit.
    bool WaitClosed(std::chrono::milliseconds limit = 5s);
    void ShutdownWrite();
    void Close();

private:
    int m_fd = -1;
};

class LoopbackListener final
{
public:
    LoopbackListener(); // binds 127.0.0.1 on a free port
    ~LoopbackListener();
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    std::uint16_t Port() const { return m_port; }
    // The next connection, or a closed peer when none came within the limit.
    RawPeer Accept(std::chrono::milliseconds limit = 5s);
    void Close();

private:
    int m_fd = -1;
    std::uint16_t m_port = 0;
};

// A payload built the way the service does: "%4d" code, then each field and "<~>".
std::string Payload(int code, std::initializer_list<std::string_view> fields = {});

} // namespace testing_support
