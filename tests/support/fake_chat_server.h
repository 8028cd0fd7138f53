#pragma once

#include "fake_connection.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace testing_support {

// A chat server on a loopback port for socket, session and call tests. Every accepted connection reads
// frames on a thread of its own and answers each message the way the real server would, unless
// a test replaced the behaviour for that code with On(). Tests then push events, stall, cut a
// frame short or write garbage through the connection (WaitConnection).
//
// Built-in answers on an operator connection: 1001 with the configured credentials gives
// 9001/1001/operator id/version, other credentials 9002/1001/-24; 1003 confirms the status;
// 1006 and 1007 send the list replies set with SetListReply (an empty list by default); 4003
// confirms the visitor id; 5001 gets no answer. Handlers run on the connection's reader thread,
// one message at a time.
//
// On a channel connection: 2003 and 3001 are answered 9001 with the code echoed (the call and
// channel ids are kept on the connection); 3003 is relayed to the other channels of the same
// call, and echoed back as well when SetChatEcho(true); 1006 sends the participant reply set
// with SetParticipantsReply; 2002 confirms the operator id.
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

    // The payload answering 1006 or 1007 on an operator connection.
    void SetListReply(int request, std::string payload);

    // The payload answering 1006 on a channel connection.
    void SetParticipantsReply(std::string payload);
    // Whether chat data 3003 also goes back to the channel that sent it.
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

    int m_listenFd = -1;
    int m_wakeFds[2] = {-1, -1};
    std::uint16_t m_port = 0;

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
