#include "call_fixture.h"

#include <atomic>
#include <condition_variable>
#include <random>
#include <set>
#include <thread>
#include <vector>

namespace testing_support {
namespace {

// What one call went through, counted from its callbacks.
struct Tally
{
    std::mutex mutex;
    std::condition_variable changed;
    int echoed = 0;
    int sent = 0;
    int unsent = 0;
    int lost = 0; // OnCallClosed(2)
    int otherOther = 0;

    CCall::Callbacks Callbacks()
    {
        CCall::Callbacks c;
        c.OnChatData = [this](const CSocketMessage&) { Bump(echoed); };
        c.OnMessageSent = [this](const CSocketMessage&) { Bump(sent); };
        c.OnOtherMessage = [this](int code, int result) {
            Bump(code == msg::kChatData && result == rc::kSendFailed ? unsent : otherOther);
        };
        c.OnCallClosed = [this](int reason) {
            if (reason == CCallSession::kReasonLost)
                Bump(lost);
        };
        return c;
    }
    void Bump(int& counter)
    {
        std::lock_guard lock(mutex);
        ++counter;
        changed.notify_all();
    }
};

class CallStress : public CallTest
{
protected:
    // Fifty channels opening at once under a sanitizer can take longer than the usual wait.
    CallStress() { m_timeout = 5s; }
};

// 50 calls opened, chatting and closed from several threads while the server hangs up some
// channels at random. Run under ThreadSanitizer in CI.
TEST_F(CallStress, ManyCallsChatAndCloseWhileTheServerDropsChannels)
{
    constexpr int kThreads = 5;
    constexpr int kCallsEach = 10;
    constexpr int kLines = 6;
    m_server.SetChatEcho(true);

    std::atomic<bool> done{false};
    std::atomic<int> dropped{0};
    std::thread chaos([&] {
        std::mt19937 random(12345);
        std::set<FakeConnection*> seen;
        while (!done) {
            for (const auto& channel : m_server.Channels()) {
                if (!seen.insert(channel.get()).second)
                    continue;
                if (random() % 4 == 0) { // about one channel in four
                    channel->Close();
                    ++dropped;
                }
            }
            std::this_thread::yield();
        }
    });

    std::atomic<int> opened{0};
    std::atomic<int> badOpen{0};
    std::atomic<int> badClose{0};
    std::atomic<int> unaccounted{0};
    std::atomic<int> repeatedLoss{0};
    std::vector<std::thread> windows;
    for (int t = 0; t < kThreads; ++t) {
        windows.emplace_back([&, t] {
            for (int k = 0; k < kCallsEach; ++k) {
                const int id = 1000 + t * 100 + k;
                auto tally = std::make_shared<Tally>();
                const int result = m_session->Calls().OpenCall(id, tally->Callbacks());
                if (result != rc::kOk) {
                    // Only a channel the server dropped during the opening may fail.
                    if (result != rc::kPeerClosed && result != rc::kReceiveFailed) {
                        ++badOpen;
                        ADD_FAILURE() << "OpenCall(" << id << ") = " << result;
                    }
                    continue;
                }
                ++opened;
                auto call = m_session->Calls().Find(id);
                for (int i = 0; i < kLines; ++i)
                    call->Post(ChatLine(std::to_string(i)));
                {
                    std::unique_lock lock(tally->mutex);
                    // Until every line came back, or the server dropped the channel.
                    tally->changed.wait_for(
                        lock, 5s, [&] { return tally->lost > 0 || tally->echoed == kLines; });
                }
                badClose += m_session->Calls().CloseCall(id) != rc::kOk;
                std::lock_guard lock(tally->mutex);
                unaccounted += tally->sent + tally->unsent != kLines;
                repeatedLoss += tally->lost > 1;
                unaccounted += tally->otherOther;
            }
        });
    }
    for (auto& w : windows)
        w.join();
    done = true;
    chaos.join();

    EXPECT_EQ(badOpen, 0);
    EXPECT_EQ(badClose, 0);
    EXPECT_EQ(unaccounted, 0);
    EXPECT_EQ(repeatedLoss, 0);
    EXPECT_GT(opened, 0);
    EXPECT_GT(dropped, 0);
    EXPECT_EQ(m_session->Calls().Count(), 0);
    EXPECT_TRUE(m_server.Violations().empty());
}

} // namespace
} // namespace testing_support
