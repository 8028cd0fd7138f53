#pragma once

#include <chrono>
#include <cstdint>
#include <string>

// A listening TCP socket on a loopback address whose Accept waits with poll, so that another
// thread can end the wait at once with Wake() or Close().
//
// Thread rules: Listen and Close on the owning thread while no Accept runs; Accept on one
// thread; Wake from any thread.
class CListenSocket final
{
public:
    CListenSocket() = default;
    ~CListenSocket();
    CListenSocket(const CListenSocket&) = delete;
    CListenSocket& operator=(const CListenSocket&) = delete;

    // Binds host:port (port 0: any free one) and listens. Host must be "localhost" or a dotted
    // address in 127.0.0.0/8. Returns the bound port, or -1 with Error() telling why.
    int Listen(const std::string& host, std::uint16_t port);

    // An accepted descriptor (>= 0, close-on-exec, blocking) with the peer's address text, or
    // -1 after the time-out, a Wake() or a failure.
    int Accept(std::chrono::milliseconds timeout, std::string& peer); // negative: no time-out

    void Wake();
    void Close();
    const std::string& Error() const { return m_error; }

    // True for "localhost" and dotted addresses in 127.0.0.0/8.
    static bool IsLoopback(const std::string& host);

private:
    int m_fd = -1;
    int m_wake[2] = {-1, -1}; // self-pipe: a byte written ends a poll in Accept
    std::string m_error;
};
