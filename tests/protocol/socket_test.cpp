// The frame layer on real loopback connections, against a scripted peer that writes exact bytes
// or stops reading.
#include "client_socket.h"
#include "fake_chat_server.h"
#include "result_codes.h"
#include "socket_message.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace testing_support;

namespace {

std::string Header(std::uint32_t length, std::string_view marker = "<!>")
{
    const std::uint32_t n = htonl(length);
    return std::string(marker) + std::string(reinterpret_cast<const char*>(&n), 4);
}

// Each receive wait, each wait for more of a header, a whole frame, each send wait.
CSocketWaits Waits(std::chrono::milliseconds wait, std::chrono::milliseconds frame = 60s)
{
    return {wait, wait, frame, wait};
}

class SocketTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_socket.SetWaits(Waits(200ms));
        ASSERT_GE(m_socket.Connect(m_server.Host(), m_server.Port()), 0);
        m_peer = m_server.WaitConnection(0);
        ASSERT_TRUE(m_peer);
    }
    int Receive()
    {
        std::vector<char> payload;
        const int r = m_socket.ReceiveFrame(payload);
        m_payload.assign(payload.data(), r > 0 ? static_cast<size_t>(r) : 0);
        EXPECT_EQ(r > 0, !payload.empty()) << "a payload is handed out with success only";
        return r;
    }

    FakeChatServer m_server;
    CClientSocket m_socket;
    std::shared_ptr<FakeConnection> m_peer;
    std::string m_payload;
};

struct Ending
{
    const char* name;
    std::string bytes;
    bool close; // the peer hangs up after the bytes; else it falls silent
    int result;
};

class SocketEndings : public SocketTest, public ::testing::WithParamInterface<Ending>
{
};

TEST_P(SocketEndings, FailTheReceive)
{
    ASSERT_TRUE(m_peer->SendRaw(GetParam().bytes));
    if (GetParam().close)
        m_peer->Close();
    EXPECT_EQ(Receive(), GetParam().result);
    if (GetParam().result == rc::kIdle) { // still usable
        ASSERT_TRUE(m_peer->Send("5001") && Receive() == 4);
        EXPECT_EQ(m_payload, "5001");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SocketEndings,
    ::testing::Values(Ending{"SilenceIsIdleOnly", "", false, rc::kIdle},
                      Ending{"PeerClosesBetweenFrames", "", true, rc::kPeerClosed},
                      Ending{"PeerClosesInsideTheHeader", "<!>\0", true, rc::kReceiveFailed},
                      Ending{"PeerClosesInsideTheBody", Header(100) + "9001", true, rc::kPeerClosed},
                      Ending{"HalfAHeaderThenSilence", "<!>", false, rc::kReceiveFailed},
                      Ending{"ShortBodyThenSilence", Header(10) + "5001", false, rc::kReceiveFailed},
                      Ending{"WrongMarker", Header(4, "<?>") + "5001", false, rc::kReceiveFailed}),
    [](const auto& info) { return std::string(info.param.name); });

// A peer that trickles a frame in, each byte well inside every wait, is held to the frame's
// deadline instead of keeping the connection alive for as long as it likes.
TEST_F(SocketTest, FrameTrickledPastItsDeadlineFails)
{
    m_socket.SetWaits(Waits(5s, 300ms));
    std::mutex mutex;
    std::condition_variable changed;
    bool done = false;
    std::thread trickle([&] {
        m_peer->SendRaw(Header(200) + "9003");
        std::unique_lock lock(mutex);
        for (int i = 0; i < 196 && !changed.wait_for(lock, 20ms, [&] { return done; }); ++i)
            m_peer->SendRaw("x");
    });
    EXPECT_EQ(Receive(), rc::kReceiveFailed);
    {
        std::lock_guard lock(mutex);
        done = true;
    }
    changed.notify_all();
    trickle.join();
}

// A frame written only in part cuts the stream: the connection ends at once, so nothing sent
// later is read by the peer as the rest of it, and the receiver hears of the end.
TEST_F(SocketTest, PartialSendThatStallsEndsTheConnection)
{
    m_peer->HoldReading(true);
    const std::string big(16 * 1024 * 1024, 'x');
    EXPECT_EQ(m_socket.SendFrame(big.data(), static_cast<int>(big.size())), rc::kSendFailed);
    m_peer->HoldReading(false);
    EXPECT_LT(m_socket.SendFrame("5001", 4), 0);
    EXPECT_EQ(Receive(), rc::kPeerClosed);
    EXPECT_TRUE(m_peer->WaitEnded());
    EXPECT_EQ(m_peer->Violation(), "frame cut short");
    EXPECT_TRUE(m_peer->Received().empty());
}

// Close from another thread wakes a blocked receiver and sender and returns only once neither
// uses the descriptor any more: the number, free again, may go to a new connection at once.
TEST_F(SocketTest, CloseNeverLeavesAThreadOnAReusedDescriptor)
{
    m_socket.SetWaits(Waits(3s));
    m_peer->HoldReading(true);
    std::atomic<pid_t> receiverTid{0}, senderTid{0};
    int received = 1, sent = 1;
    std::thread receiver([&] {
        receiverTid = ::gettid();
        std::vector<char> payload;
        received = m_socket.ReceiveFrame(payload);
    });
    const std::string big(16 * 1024 * 1024, 'x');
    std::thread sender([&] {
        senderTid = ::gettid();
        sent = m_socket.SendFrame(big.data(), static_cast<int>(big.size()));
    });
    while (!receiverTid || !senderTid)
        std::this_thread::yield();
    WaitAsleep(receiverTid);
    WaitAsleep(senderTid);
    EXPECT_EQ(m_socket.Close(), rc::kOk);
    // The freed number goes to one of these; a frame waits at each end for a stray reader.
    int pair[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
    const std::string frame = FrameOf("5001");
    for (int fd : pair)
        ASSERT_EQ(::write(fd, frame.data(), frame.size()), static_cast<ssize_t>(frame.size()));
    receiver.join();
    sender.join();
    EXPECT_EQ(received, rc::kPeerClosed);
    EXPECT_EQ(sent, rc::kSendFailed);
    for (int fd : pair) {
        char buffer[64];
        EXPECT_EQ(::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT), ssize_t(frame.size()));
        ::close(fd);
    }
    m_peer->HoldReading(false);
}

TEST_F(SocketTest, ManySendersNeverInterleaveFrames)
{
    constexpr int kThreads = 4, kEach = 100;
    m_socket.SetWaits(Waits(10s));
    std::vector<std::thread> senders;
    for (int t = 0; t < kThreads; ++t) {
        senders.emplace_back([&, t] {
            for (int i = 0; i < kEach; ++i) {
                // Up to 60 KB, so that some sends are written in several pieces.
                std::string body = std::to_string(t) + ":" + std::to_string(i) + ":";
                body.append(static_cast<size_t>((i * 7919 + t * 131) % 60000), char('A' + t));
                EXPECT_EQ(m_socket.SendFrame(body.data(), static_cast<int>(body.size())),
                          static_cast<int>(body.size()));
            }
        });
    }
    for (auto& s : senders)
        s.join();
    ASSERT_TRUE(m_peer->WaitReceived(kThreads * kEach, 20s));
    std::vector<int> next(kThreads, 0);
    for (const CSocketMessage& m : m_peer->Received()) {
        const std::string text(m.Payload());
        const int t = text[0] - '0'; // each sender's frames in order, each of one sender's bytes
        EXPECT_EQ(std::stoi(text.substr(2)), next[static_cast<size_t>(t)]++);
        EXPECT_EQ(text.find_first_not_of(char('A' + t), text.find(':', 2) + 1), std::string::npos);
    }
    EXPECT_EQ(m_peer->Violation(), "");
}

struct ConnectCase
{
    const char* name;
    const char* host;
    bool closedPort; // else a black hole
    ConnectFailure failure;
};

class SocketConnect : public ::testing::TestWithParam<ConnectCase>
{
};

// Each failure names its cause; a refusal comes at once, not after the 10 s wait, or it would
// read as a time-out.
TEST_P(SocketConnect, NamesWhyItFailed)
{
    const ConnectCase& c = GetParam();
    Blackhole blackhole;
    std::uint16_t port = blackhole.Port();
    if (c.closedPort) {
        FakeChatServer gone;
        port = gone.Port();
    }
    const auto wait = c.failure == ConnectFailure::TimedOut ? 200ms : 10s;
    CClientSocket socket(Waits(wait));
    EXPECT_EQ(socket.Connect(c.host, port), rc::kNotConnected);
    EXPECT_EQ(socket.LastConnectFailure(), c.failure);
    EXPECT_FALSE(socket.IsOpen());
    EXPECT_EQ(socket.SendFrame("5001", 4), rc::kNotConnected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SocketConnect,
    ::testing::Values(ConnectCase{"Refused", "127.0.0.1", true, ConnectFailure::Refused},
                      ConnectCase{"NoSuchName", "nonexistent.invalid", true,
                                  ConnectFailure::HostNotFound},
                      // Four dotted numbers go to the address parser, which refuses 300.
                      ConnectCase{"BadAddress", "300.1.1.1", true, ConnectFailure::HostNotFound},
                      ConnectCase{"Unanswered", "127.0.0.1", false, ConnectFailure::TimedOut}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
