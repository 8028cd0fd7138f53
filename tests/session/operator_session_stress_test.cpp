#include "loopback_peer.h"
#include "session_fixture.h"

#include <atomic>
#include <set>
#include <thread>
#include <vector>

namespace testing_support {
namespace {

class SessionStress : public SessionTest
{
protected:
    SessionStress() { m_timeout = 5s; } // sanitizers slow every log-in down
};

// Commands from several threads while the server floods events, then Disconnect; many rounds.
// Run under ThreadSanitizer in CI.
TEST_F(SessionStress, CommandsFromSeveralThreadsWhileTheServerFloodsThenDisconnect)
{
    constexpr int kRounds = 12;
    constexpr int kCommandThreads = 3;

    std::string visitors = Payload(msg::kReplyOk, {"1007", "40"});
    for (int i = 0; i < 40; ++i)
        visitors += Payload(1, {std::to_string(i), "0", "p", "c", "", "2005-3-7 9:5:0", "ip", "1"})
                        .substr(4);
    m_server.SetListReply(msg::kRequestVisitors, visitors);
    // Entries handed to callbacks are read here, on the receive thread, while other threads
    // reload, search and copy the same lists.
    std::atomic<long> entryBytes{0};
    m_log.SetHook([&](const std::string& e) { entryBytes += static_cast<long>(e.size()); });

    for (int round = 0; round < kRounds; ++round) {
        m_log.Clear();
        auto connection = LoggedIn();
        ASSERT_TRUE(connection);

        std::atomic<bool> stop{false};
        std::thread flood([&] {
            for (int i = 0; !stop && i < 400; ++i) {
                const std::string id = std::to_string(1000 + i % 50);
                connection->Send(
                    Payload(msg::kEvent, {"4001", id, "0", "p", "c", "", "t", "ip", "2"}));
                connection->Send(Payload(msg::kEvent, {"1001", id, "0", "2", "1", "h", "A", "B"}));
                connection->Send(Payload(msg::kEvent, {"1003", id, "2", "3"}));
                connection->Send(Payload(msg::kEvent, {"4002", id}));
                connection->Send(Payload(msg::kEvent, {"1002", id, "2"}));
            }
        });
        std::atomic<int> failures3{0};
        std::vector<std::thread> workers;
        for (int t = 0; t < kCommandThreads; ++t) {
            workers.emplace_back([&, t] {
                for (int i = 0; i < 60; ++i) {
                    int r = 0;
                    switch ((i + t) % 4) {
                    case 0:
                        r = m_session->SetStatus(1 + i % 3);
                        break;
                    case 1:
                        r = m_session->RequestVisitors();
                        break;
                    case 2:
                        r = m_session->InviteVisitor(1000 + i, "hi");
                        break;
                    default:
                        m_session->KeepAlive(); // never disconnects
                        (void)m_session->Visitors().Snapshot();
                        (void)m_session->Operators().FindCopy(1000 + i % 50, 2);
                        continue;
                    }
                    if (r < 0)
                        ++failures3;
                }
            });
        }
        // Disconnect while the commands and the flood are still going.
        ASSERT_TRUE(m_log.WaitCount(20));
        m_session->Disconnect(COperatorSession::kReasonLoggedOut);
        for (auto& w : workers)
            w.join();
        stop = true;
        flood.join();

        EXPECT_EQ(m_session->GetStatus(), 0);
        EXPECT_TRUE(connection->WaitEnded());
        // Every frame arrived whole and is one of the commands.
        for (const CSocketMessage& m : connection->Received()) {
            const std::set<int> sent{msg::kLogin, msg::kSetStatus, msg::kRequestVisitors,
                                     msg::kInviteVisitor, msg::kKeepAlive};
            EXPECT_TRUE(sent.count(m.Code())) << m.Payload();
        }
        // One report for the Disconnect, one per command that failed after it; never a loss.
        EXPECT_EQ(m_log.CountOf("LoggedOut 1"), 1u);
        EXPECT_EQ(m_log.CountOf("LoggedOut 2"), 0u);
        EXPECT_EQ(m_log.CountOf("LoggedOut 3"), static_cast<size_t>(failures3.load()));
    }
    m_log.SetHook(nullptr);
    EXPECT_TRUE(m_server.Violations().empty());
    EXPECT_GT(entryBytes.load(), 0);
}

} // namespace
} // namespace testing_support
