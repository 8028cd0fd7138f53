// The frame layer on real loopback connections, against a peer that writes exact bytes.
#include "client_socket.h"
#include "loopback_peer.h"
#include "message_codes.h"
#include "result_codes.h"
#include "socket_message.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <cstring>
#include <map>
#include <thread>
#include <vector>

using namespace std::chrono_literals;
using testing_support::LoopbackListener;
using testing_support::Payload;
using testing_support::RawPeer;

namespace {

// Short waits so that idle and half-frame cases finish in a fraction of a second.
constexpr auto kShortTimeout = 300ms;
constexpr auto kShortHeaderWait = 200ms;

std::string Header(std::uint32_t length, std::string_view marker = "<!>")
{
    std::string h(marker);
    const std::uint32_t n = htonl(length);
    h.append(reinterpret_cast<const char*>(&n), 4);
    return h;
}

class SocketTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_GE(m_socket.Connect("127.0.0.1", m_listener.Port()), 0);
        m_peer = m_listener.Accept();
        ASSERT_TRUE(m_peer.IsOpen());
    }

    int Receive()
    {
        std::vector<char> payload;
        const int r = m_socket.ReceiveFrame(payload);
        m_payload.assign(payload.data(), r > 0 ? static_cast<size_t>(r) : 0);
        if (r <= 0) {
            EXPECT_TRUE(payload.empty()) << "no payload is handed out on failure";
        }
        return r;
    }

    LoopbackListener m_listener;
    CClientSocket m_socket{kShortTimeout, kShortHeaderWait};
    RawPeer m_peer;
    std::string m_payload;
};

TEST_F(SocketTest, FramesArriveWhole)
{
    ASSERT_TRUE(m_peer.WriteFrame("90011003<~>2<~>"));
    EXPECT_EQ(Receive(), 15);
    EXPECT_EQ(m_payload, "90011003<~>2<~>");

    CSocketMessage status(msg::kSetStatus);
    status.AddIntField(2);
    EXPECT_EQ(status.Send(m_socket), 8);
    const auto bytes = m_peer.Read(15);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, std::string("<!>\0\0\0\x08" "10032<~>", 15));
}

struct BadHeader
{
    const char* name;
    std::string bytes;
    int expected;
};

class BadHeaders : public SocketTest, public ::testing::WithParamInterface<BadHeader>
{
};

TEST_P(BadHeaders, FailTheReceive)
{
    ASSERT_TRUE(m_peer.Write(GetParam().bytes));
    EXPECT_EQ(Receive(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Socket, BadHeaders,
    ::testing::Values(BadHeader{"WrongMarker", Header(4, "<?>") + "5001", rc::kReceiveFailed},
                      BadHeader{"ZeroLength", Header(0), rc::kReceiveFailed},
                      BadHeader{"TopBitSet", Header(0x80000004u) + "5001", rc::kReceiveFailed},
                      BadHeader{"AllBitsSet", Header(0xffffffffu), rc::kReceiveFailed},
                      // Refused before any memory is reserved for it.
                      BadHeader{"OverLimit", Header(CClientSocket::kMaxFrameLength + 1), rc::kReceiveFailed},
                      // Three header bytes, then silence for longer than the header wait.
                      BadHeader{"HalfHeaderThenSilence", "<!>", rc::kReceiveFailed},
                      // A body shorter than announced, then silence.
                      BadHeader{"ShortBodyThenSilence", Header(10) + "5001", rc::kReceiveFailed}),
    [](const auto& info) { return info.param.name; });

TEST_F(SocketTest, WrongMarkerConsumesItsHeader)
{
    ASSERT_TRUE(m_peer.Write(Header(4, "xyz") + "5001"));
    EXPECT_EQ(Receive(), rc::kReceiveFailed);
    // The seven header bytes are gone; the stream is not resynchronised, so what is left
    // ("5001" and the next marker) is read as the next header and fails too.
    ASSERT_TRUE(m_peer.Write("<!>"));
    EXPECT_EQ(Receive(), rc::kReceiveFailed);
}

TEST_F(SocketTest, PeerClosingAtEachPoint)
{
    m_peer.Close();
    EXPECT_EQ(Receive(), rc::kPeerClosed);
}

TEST_F(SocketTest, PeerClosingInsideTheHeader)
{
    ASSERT_TRUE(m_peer.Write("<!>\0"));
    m_peer.Close();
    EXPECT_EQ(Receive(), rc::kReceiveFailed);
}

TEST_F(SocketTest, PeerClosingInsideTheBody)
{
    ASSERT_TRUE(m_peer.Write(Header(100) + "9001"));
    m_peer.Close();
    EXPECT_EQ(Receive(), rc::kPeerClosed);
}

TEST_F(SocketTest, SilentPeerIsIdleNotAFailure)
{
    EXPECT_EQ(Receive(), rc::kIdle);
    EXPECT_TRUE(m_socket.IsOpen());
    // The connection is still usable after an idle wait.
    ASSERT_TRUE(m_peer.WriteFrame("5001"));
    EXPECT_EQ(Receive(), 4);
}

TEST_F(SocketTest, TrickledHeaderAndBodyAreReassembled)
{
    const std::string frame = Header(12) + "9003" "4002<~>7";
    m_socket.SetTimeouts(CClientSocket::kDefaultTimeout, CClientSocket::kDefaultHeaderWait);
    std::thread writer([&] {
        for (char c : frame) {
            m_peer.Write(std::string_view(&c, 1));
            std::this_thread::sleep_for(5ms); // the trickle itself, well inside the waits
        }
    });
    EXPECT_EQ(Receive(), 12);
    writer.join();
    EXPECT_EQ(m_payload, "90034002<~>7");
}

TEST_F(SocketTest, BackToBackFramesInOneWrite)
{
    std::string bytes;
    for (int i = 0; i < 50; ++i)
        bytes += Header(4) + "5001";
    ASSERT_TRUE(m_peer.Write(bytes));
    for (int i = 0; i < 50; ++i)
        ASSERT_EQ(Receive(), 4) << i;
}

TEST_F(SocketTest, LargeFrameIsSentWholeToASlowReader)
{
    // Far larger than the socket buffers: the send must be continued, never cut.
    std::string big(8 * 1024 * 1024, '\0');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>('a' + i % 26);
    // Default waits: a reader slowed down by a loaded machine or a sanitizer must not look like
    // a peer that stopped reading.
    m_socket.SetTimeouts(CClientSocket::kDefaultTimeout, CClientSocket::kDefaultHeaderWait);
    std::optional<std::string> received;
    std::thread reader([&] { received = m_peer.ReadFrame(60s); });
    EXPECT_EQ(m_socket.SendFrame(big.data(), static_cast<int>(big.size())), static_cast<int>(big.size()));
    reader.join();
    ASSERT_TRUE(received);
    EXPECT_TRUE(*received == big);
}

TEST_F(SocketTest, WritingToAClosedPeerFailsWithoutKillingTheProcess)
{
    m_peer.Close();
    // The first writes may still be accepted by the kernel; within a few the reset shows.
    std::string chunk(64 * 1024, 'x');
    int result = 0;
    for (int i = 0; i < 100 && result >= 0; ++i)
        result = m_socket.SendFrame(chunk.data(), static_cast<int>(chunk.size()));
    EXPECT_EQ(result, rc::kSendFailed); // and no SIGPIPE took the test down
}

TEST_F(SocketTest, CloseWakesABlockedReceiver)
{
    CClientSocket& socket = m_socket;
    socket.SetTimeouts(CClientSocket::kDefaultTimeout, CClientSocket::kDefaultHeaderWait);
    std::atomic<int> result{1};
    std::thread receiver([&] {
        std::vector<char> payload;
        result = socket.ReceiveFrame(payload);
    });
    // Let the receiver park in its 20 s wait (had it not started yet, it would find no
    // connection and report -2, failing the check below).
    std::this_thread::sleep_for(200ms);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(socket.Close(), 0);
    receiver.join();
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s) << "the 20 s wait was not cut short";
    EXPECT_EQ(result.load(), rc::kPeerClosed);
    EXPECT_FALSE(socket.IsOpen());
    EXPECT_TRUE(m_peer.WaitClosed());
}

TEST_F(SocketTest, ManySendersNeverInterleaveFrames)
{
    constexpr int kThreads = 8;
    constexpr int kFramesEach = 300;
    m_socket.SetTimeouts(CClientSocket::kDefaultTimeout, CClientSocket::kDefaultHeaderWait);
    std::vector<std::thread> senders;
    for (int t = 0; t < kThreads; ++t) {
        senders.emplace_back([&, t] {
            for (int i = 0; i < kFramesEach; ++i) {
                // Sizes from a few bytes to 40 KB, so some sends are partial.
                std::string body = std::to_string(t) + ":" + std::to_string(i) + ":";
                body.append(static_cast<size_t>((i * 7919 + t * 131) % 40000), static_cast<char>('A' + t));
                ASSERT_EQ(m_socket.SendFrame(body.data(), static_cast<int>(body.size())),
                          static_cast<int>(body.size()));
            }
        });
    }
    std::map<int, int> nextOf;
    for (int n = 0; n < kThreads * kFramesEach; ++n) {
        const auto frame = m_peer.ReadFrame(10s);
        ASSERT_TRUE(frame) << "frame " << n << " not whole";
        const size_t first = frame->find(':');
        const size_t second = frame->find(':', first + 1);
        ASSERT_NE(second, std::string::npos);
        const int t = std::stoi(frame->substr(0, first));
        const int i = std::stoi(frame->substr(first + 1, second - first - 1));
        EXPECT_EQ(i, nextOf[t]++) << "frames of one sender out of order";
        const std::string filler = frame->substr(second + 1);
        EXPECT_EQ(filler.size(), static_cast<size_t>((i * 7919 + t * 131) % 40000));
        EXPECT_EQ(filler.find_first_not_of(static_cast<char>('A' + t)), std::string::npos)
            << "bytes of another frame inside frame " << t << ":" << i;
    }
    for (auto& s : senders)
        s.join();
}

TEST(SocketConnect, FailuresLeaveNoHandle)
{
    CClientSocket socket(kShortTimeout, kShortHeaderWait);
    std::uint16_t closedPort;
    {
        LoopbackListener gone;
        closedPort = gone.Port();
    }
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(socket.Connect("127.0.0.1", closedPort), rc::kNotConnected);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 2s) << "a refusal is reported at once";
    EXPECT_FALSE(socket.IsOpen());

    EXPECT_EQ(socket.Connect("no-such-host.invalid", 3030), rc::kNotConnected);
    EXPECT_FALSE(socket.IsOpen());
    // Four dotted numbers go to the address parser, which refuses 300.
    EXPECT_EQ(socket.Connect("300.1.1.1", 3030), rc::kNotConnected);
    EXPECT_FALSE(socket.IsOpen());
}

TEST(SocketConnect, NamesResolveAndReconnectClosesTheOldConnection)
{
    LoopbackListener listener;
    CClientSocket socket(kShortTimeout, kShortHeaderWait);
    ASSERT_GE(socket.Connect("localhost", listener.Port()), 0);
    RawPeer first = listener.Accept();
    ASSERT_GE(socket.Connect("127.0.0.1", listener.Port()), 0);
    RawPeer second = listener.Accept();
    EXPECT_TRUE(first.WaitClosed());
    EXPECT_TRUE(second.WriteFrame("5001"));
    std::vector<char> payload;
    EXPECT_EQ(socket.ReceiveFrame(payload), 4);
}

TEST(SocketConnect, OperationsWithoutAConnection)
{
    CClientSocket socket;
    std::vector<char> payload;
    EXPECT_EQ(socket.SendFrame("5001", 4), rc::kNotConnected);
    EXPECT_EQ(socket.ReceiveFrame(payload), rc::kNotConnected);
    EXPECT_EQ(CSocketMessage(msg::kKeepAlive).Send(socket), rc::kNotConnected);
    EXPECT_EQ(CSocketMessage().Send(socket), rc::kEmptyMessage);
    EXPECT_EQ(socket.Close(), 0);
    EXPECT_EQ(socket.Close(), 0);
    EXPECT_FALSE(socket.IsOpen());
}

TEST(SocketConnect, CloseTwiceAfterAConnection)
{
    LoopbackListener listener;
    CClientSocket socket;
    ASSERT_GE(socket.Connect("127.0.0.1", listener.Port()), 0);
    EXPECT_TRUE(socket.IsOpen());
    EXPECT_EQ(socket.Close(), 0);
    EXPECT_EQ(socket.Close(), 0);
    EXPECT_FALSE(socket.IsOpen());
}

} // namespace
