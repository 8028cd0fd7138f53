#pragma once

#include "client_socket.h"
#include "socket_message.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// A protocol client for tests: sends messages and waits, with a deadline, for the one it
// expects. Messages that arrive while it waits for another are kept, so that a test states what
// must arrive without depending on how independent events interleave.
class CRawClient final
{
public:
    static constexpr std::chrono::milliseconds kWait{5'000};

    CRawClient();
    bool Connect(std::uint16_t port);
    void Close() { m_socket.Close(); }

    // Sends code with each field as text.
    int Send(int code, const std::vector<std::string>& fields = {});

    // The first message, kept or new, for which match holds; nothing after the deadline or once
    // the connection has ended.
    std::optional<CSocketMessage> Expect(const std::function<bool(const CSocketMessage&)>& match,
                                         std::chrono::milliseconds wait = kWait);
    // The first message with this code and field 1.
    std::optional<CSocketMessage> Expect(int code, int field1,
                                         std::chrono::milliseconds wait = kWait);
    // True once the server has ended the connection (kept messages do not count).
    bool ExpectClosed(std::chrono::milliseconds wait = kWait);
    // Receives for the whole wait and tells whether any message matched (for "never arrives").
    bool SeesWithin(const std::function<bool(const CSocketMessage&)>& match,
                    std::chrono::milliseconds wait);
    // Every message kept so far that matches, removing them.
    int Drain(const std::function<bool(const CSocketMessage&)>& match);

    // 1001: the operator id on success, else the refusal's result code.
    int Login(const std::string& user, const std::string& password, int* version = nullptr);
    // 2003 for channel 0: 0 on success, else the refusal's result code.
    int OpenCall(std::int32_t callId, std::int32_t operatorId);

private:
    // One receive; false when the connection has ended.
    bool ReceiveOne();

    CClientSocket m_socket;
    std::deque<CSocketMessage> m_kept;
    bool m_ended = false;
};
