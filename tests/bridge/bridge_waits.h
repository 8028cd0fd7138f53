#pragma once

#include "fake_chat_server.h"

#include <chrono>
#include <functional>
#include <future>
#include <thread>
#include <utility>

// Waits up to five seconds for pred without running this thread's events, so that nothing
// waiting for this thread is delivered meanwhile.
inline bool WaitWithoutEvents(const std::function<bool()>& pred)
{
    using namespace std::chrono_literals;
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (!pred()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// Holds a fake server's answer back until the test releases it; at the latest as it goes, so
// that the server's reader never waits for ever.
class CHeldAnswer final
{
public:
    CHeldAnswer() = default;
    ~CHeldAnswer() { Release(); }
    CHeldAnswer(const CHeldAnswer&) = delete;
    CHeldAnswer& operator=(const CHeldAnswer&) = delete;

    // The server's reader holds its answer to that code back until released.
    void Hold(testing_support::FakeChatServer& server, int code)
    {
        server.On(code, [this, &server](testing_support::FakeConnection& connection,
                                        const CSocketMessage& message) {
            m_released.wait();
            server.DefaultAnswer(connection, message);
        });
    }
    void Release()
    {
        if (!std::exchange(m_isReleased, true))
            m_release.set_value();
    }

private:
    std::promise<void> m_release;
    std::shared_future<void> m_released = m_release.get_future().share();
    bool m_isReleased = false;
};
