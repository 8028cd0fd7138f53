#pragma once

#include "fake_connection.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace testing_support {

// A chat server on a loopback port for socket, session and call tests. Every accepted
// connection reads frames on a thread of its own and answers each message the way the real
// server would, unless a test replaced the behaviour for that code with On(); tests push
// events, stall, cut frames short or write garbage through its connections.
//
// Built-in answers: 1001 gives 9001/1001/kOperatorId/kServerVersion for kUser and kPassword,
// else 9002/1001/-24; 1003, 2002 and 4003 are confirmed with the value sent; 1006 and 1007 send
// SetListReply's payload (SetParticipantsReply's for 1006 on a channel); 2003 and 3001 are
// answered 9001 with the code echoed; 3003 is relayed to the call's other channels (and echoed
// back with SetChatEcho); anything else gets no answer.
class FakeChatServer final
{
public:
    static constexpr int kOperatorId = 7;
    static constexpr int kServerVersion = 15;
    static constexpr const char* kUser = "op";
    static constexpr const char* kPassword = "secret";

    FakeChatServer();
    // Ends every connection and waits for their threads.
    ~FakeChatServer();
    FakeChatServer(const FakeChatServer&) = delete;
    FakeChatServer& operator=(const FakeChatServer&) = delete;

    std::string Host() const { return "127.0.0.1"; }
    std::uint16_t Port() const { return m_port; }

    // Replaces what the server does on receiving a message with that code, on any connection.
    void On(int code, FakeConnection::Handler handler);
    // Answers that code with one fixed payload.
    void Answer(int code, std::string payload);
    // The built-in answer, for handlers that add to it.
    void DefaultAnswer(FakeConnection& connection, const CSocketMessage& message);

    void SetListReply(int request, std::string payload);
    void SetParticipantsReply(std::string payload);
    void SetChatEcho(bool echo);

    // The index-th accepted connection (from 0), waiting for it to come.
    std::shared_ptr<FakeConnection> WaitConnection(size_t index,
                                                   std::chrono::milliseconds limit = 5s);
    size_t ConnectionCount() const;
    // The connection that opened that channel of that call (the latest, if several did).
    std::shared_ptr<FakeConnection> WaitChannel(int callId, int channelId = 0,
                                                std::chrono::milliseconds limit = 5s);
    // Every connection that opened a channel, oldest first.
    std::vector<std::shared_ptr<FakeConnection>> Channels() const;
    // Framing faults seen on any connection; empty when the client only sent whole frames.
    std::vector<std::string> Violations() const;

private:
    void AcceptLoop();
    void Handle(FakeConnection& connection, const CSocketMessage& message);
    void Relay(FakeConnection& from, const CSocketMessage& message);

    std::uint16_t m_port = 0; // first: the listener sets it
    int m_listenFd;

    mutable std::mutex m_mutex;
    std::condition_variable m_accepted;
    std::vector<std::shared_ptr<FakeConnection>> m_connections;
    std::map<int, FakeConnection::Handler> m_handlers;
    std::map<int, std::string> m_listReplies;
    std::string m_participantsReply;
    bool m_chatEcho = false;

    std::thread m_acceptor;
};

// A payload built the way the service does: "%4d" code, then each field and "<~>".
std::string Payload(int code, const std::vector<std::string>& fields = {});
inline std::string PayloadOf(int code, const std::vector<std::string>& fields)
{
    return Payload(code, fields);
}

} // namespace testing_support
