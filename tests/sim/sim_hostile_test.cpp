// The simulated server's hostile modes, seen from a bare client on loopback: what reaches the
// wire for every fault at every moment, resets against orderly closes, faults that strike a
// number of times, and a flood's lines on a call channel. The session's and the console's
// survival of them is tested with those classes.

#include "client_socket.h"
#include "message_codes.h"
#include "raw_client.h"
#include "result_codes.h"
#include "sim_server.h"
#include "socket_message.h"

#include <arpa/inet.h>
#include <cerrno>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

constexpr auto kWait = 200ms; // the probing client's receive and header waits

SimOptions HostileOptions(SimFault fault = {})
{
    SimOptions o;
    o.accounts = {{"ann", "pw-ann", "Ann", "Lee"}, {"bob", "pw-bob", "Bob", "Stone"}};
    o.initialVisitors = 12;
    o.arrivalPerMinute = 0;
    o.chatPerMinute = 0;
    o.seed = 7;
    o.realTime = false;
    o.ioTimeout = 2s;
    o.fault = fault;
    return o;
}

// The frames a client reads up to the first result that is not a frame, and that result.
struct Reading
{
    std::vector<std::string> replies; // "9001/1001", "9003/4001", ...
    int end = 0;
    std::size_t bufferCapacity = 0; // of the receive buffer after the end
};

Reading ReadToEnd(CClientSocket& socket)
{
    Reading reading;
    std::vector<char> payload;
    for (;;) {
        const int r = socket.ReceiveFrame(payload);
        if (r <= 0) {
            reading.end = r;
            reading.bufferCapacity = payload.capacity();
            return reading;
        }
        CSocketMessage m;
        m.Assign(std::string_view(payload.data(), static_cast<std::size_t>(r)));
        reading.replies.push_back(std::to_string(m.Code()) + "/" +
                                  std::to_string(m.GetIntField(1)));
    }
}

int Send(CClientSocket& socket, int code, std::vector<std::string> fields = {})
{
    CSocketMessage m(code);
    for (const auto& f : fields)
        m.AddField(f);
    return m.Send(socket);
}

class SimHostileTest : public ::testing::Test
{
protected:
    void Start(SimOptions options)
    {
        m_server = std::make_unique<CSimServer>(std::move(options));
        const int port = m_server->Start();
        ASSERT_GT(port, 0) << m_server->Error();
        m_port = static_cast<std::uint16_t>(port);
    }
    std::unique_ptr<CSimServer> m_server;
    std::uint16_t m_port = 0;
};

// --- Faults on the operator connection --------------------------------------------------------

struct FaultRow
{
    SimFaultKind kind;
    SimFaultMoment moment;
};

std::string RowName(const ::testing::TestParamInfo<FaultRow>& info)
{
    static const char* const moments[] = {"AtLogin", "AfterLogin", "MidList", "MidFrame"};
    std::string name(SimFaultKindName(info.param.kind));
    std::erase(name, '-');
    return name + "_" + moments[static_cast<int>(info.param.moment)];
}

class SimOperatorFaultTest : public SimHostileTest, public ::testing::WithParamInterface<FaultRow>
{
};

// The client logs in and asks for both lists, as the console does. Up to the fault everything
// is intact; then the stream fails the way the fault makes it fail, within the client's waits.
TEST_P(SimOperatorFaultTest, BreaksTheStreamWhereItStrikes)
{
    const auto [kind, moment] = GetParam();
    Start(HostileOptions({kind, moment}));
    CClientSocket socket(kWait, kWait);
    ASSERT_GE(socket.Connect("127.0.0.1", m_port), 0);
    ASSERT_GT(Send(socket, msg::kLogin, {"ann", "pw-ann"}), 0);
    ASSERT_GT(Send(socket, msg::kRequestUsers), 0);
    ASSERT_GT(Send(socket, msg::kRequestVisitors), 0);

    const auto started = Clock::now();
    const Reading reading = ReadToEnd(socket);
    EXPECT_LT(Clock::now() - started, 3s);

    const bool silentBetweenFrames =
        kind == SimFaultKind::Silence &&
        (moment == SimFaultMoment::AtLogin || moment == SimFaultMoment::AfterLogin);
    // Cut frames are long enough for their header to arrive whole, so a close inside one ends
    // its body like a close between frames. A silence between frames is no failure at all.
    const bool closed = kind == SimFaultKind::Close || kind == SimFaultKind::Reset;
    const int expected = silentBetweenFrames ? rc::kIdle
                         : closed            ? rc::kPeerClosed
                                             : rc::kReceiveFailed;
    EXPECT_EQ(reading.end, expected);

    using Replies = std::vector<std::string>;
    const Replies login{"9001/1001"};
    const Replies lists{"9001/1001", "9001/1006"};
    if (kind != SimFaultKind::Garbage) { // garbage may complete a cut frame with its own bytes
        switch (moment) {
        case SimFaultMoment::AtLogin:
            EXPECT_EQ(reading.replies, Replies{});
            break;
        case SimFaultMoment::AfterLogin:
        case SimFaultMoment::MidFrame:
            EXPECT_EQ(reading.replies, login);
            break;
        case SimFaultMoment::MidList:
            EXPECT_EQ(reading.replies, lists);
            break;
        }
    }
    EXPECT_EQ(m_server->World().Stats().faultsStruck, 1u);
    // A lying header costs the client a small buffer, never the announced length.
    EXPECT_LT(reading.bufferCapacity, 1u << 20);
    // The operator is signed in unless the reply was taken away or the connection has ended.
    const std::size_t signedIn = moment == SimFaultMoment::AtLogin || closed ? 0 : 1;
    EXPECT_TRUE(m_server->World().WaitUntil(
        [&] { return m_server->World().Operators().size() == signedIn; }, 2s));
}

std::vector<FaultRow> AllFaults()
{
    std::vector<FaultRow> rows;
    for (SimFaultKind kind :
         {SimFaultKind::Garbage, SimFaultKind::OversizedLength, SimFaultKind::StalledLength,
          SimFaultKind::Silence, SimFaultKind::Close, SimFaultKind::Reset})
        for (SimFaultMoment moment : {SimFaultMoment::AtLogin, SimFaultMoment::AfterLogin,
                                      SimFaultMoment::MidList, SimFaultMoment::MidFrame})
            rows.push_back({kind, moment});
    return rows;
}

INSTANTIATE_TEST_SUITE_P(Faults, SimOperatorFaultTest, ::testing::ValuesIn(AllFaults()), RowName);

// A reset reaches the peer as one (ECONNRESET), an orderly close as the end of the stream.
TEST_F(SimHostileTest, ResetIsNoOrderlyClose)
{
    Start(HostileOptions());
    CRawClient ann;
    ASSERT_TRUE(ann.Connect(m_port));
    ASSERT_GE(ann.Login("ann", "pw-ann"), 1);
    for (SimFaultKind kind : {SimFaultKind::Close, SimFaultKind::Reset}) {
        // A raw descriptor: the codec reports both ends alike.
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(m_port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        CSocketMessage login(msg::kLogin);
        login.AddField("bob");
        login.AddField("pw-bob");
        std::string bytes = "<!>";
        const std::uint32_t length = htonl(static_cast<std::uint32_t>(login.Length()));
        bytes.append(reinterpret_cast<const char*>(&length), sizeof length);
        bytes += login.Payload();
        ASSERT_EQ(::send(fd, bytes.data(), bytes.size(), 0), static_cast<ssize_t>(bytes.size()));
        ASSERT_TRUE(m_server->World().WaitUntil(
            [&] { return m_server->World().Operators().size() == 2; }, 5s));
        const auto bob = m_server->World().Operators().back().id;
        ASSERT_TRUE(m_server->World().InjectFault(bob, kind));

        char buffer[4096];
        ssize_t r = 0;
        int error = 0;
        do {
            pollfd p{fd, POLLIN, 0};
            ASSERT_GT(::poll(&p, 1, 5000), 0);
            r = ::recv(fd, buffer, sizeof buffer, 0);
            error = errno;
        } while (r > 0);
        if (kind == SimFaultKind::Reset) {
            EXPECT_EQ(r, -1);
            EXPECT_EQ(error, ECONNRESET);
        } else {
            EXPECT_EQ(r, 0);
        }
        ::close(fd);
        // The other operator hears that bob has gone, whichever way; bob may log in again.
        EXPECT_TRUE(ann.Expect(msg::kEvent, msg::kEvOperatorRemoved).has_value());
        ASSERT_TRUE(m_server->World().WaitUntil(
            [&] { return m_server->World().Operators().size() == 1; }, 5s));
    }
}

// A fault for a number of connections strikes those, then the server behaves.
TEST_F(SimHostileTest, StrikesOnlyAsOftenAsAsked)
{
    Start(
        HostileOptions({SimFaultKind::Close, SimFaultMoment::AfterLogin, SimTarget::Operator, 2}));
    for (int attempt = 0; attempt < 3; ++attempt) {
        // The server has seen the last connection end and signed ann out.
        ASSERT_TRUE(m_server->World().WaitUntil(
            [&] { return m_server->World().Operators().empty(); }, 2s));
        CRawClient ann;
        ASSERT_TRUE(ann.Connect(m_port));
        ASSERT_GE(ann.Login("ann", "pw-ann"), 1);
        EXPECT_EQ(ann.ExpectClosed(500ms), attempt < 2) << attempt;
    }
    EXPECT_EQ(m_server->World().Stats().faultsStruck, 2u);
}

// --- Floods on call channels ------------------------------------------------------------------

// A flood on a channel: every line reaches the operator in the call, in order.
TEST_F(SimHostileTest, ChannelFloodArrivesInOrder)
{
    Start(HostileOptions());
    CRawClient ann;
    ASSERT_TRUE(ann.Connect(m_port));
    const int annId = ann.Login("ann", "pw-ann");
    const int callId =
        m_server->World().RequestChat(m_server->World().Visitors().front().id, annId);
    CRawClient channel;
    ASSERT_TRUE(channel.Connect(m_port));
    ASSERT_EQ(channel.OpenCall(callId, annId), rc::kOk);

    m_server->World().Flood(3'000, SimTarget::Channels);
    int last = 0;
    for (int i = 0; i < 3'000; ++i) {
        const auto line = channel.Expect([](const CSocketMessage& m) {
            return m.Code() == msg::kChatData &&
                   m.FieldView(msg::chat::kFieldText).starts_with("flood ");
        });
        ASSERT_TRUE(line) << i;
        const int n = std::stoi(std::string(line->FieldView(msg::chat::kFieldText).substr(6)));
        EXPECT_GT(n, last);
        last = n;
    }
}

} // namespace
