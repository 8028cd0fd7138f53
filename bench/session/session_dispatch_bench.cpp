#include "fake_chat_server.h"
#include "message_codes.h"
#include "operator_session.h"
#include "visitor_reply.h"

#include <benchmark/benchmark.h>
#include <condition_variable>
#include <mutex>

namespace {

using testing_support::FakeChatServer;
using testing_support::Payload;

class Counter final
{
public:
    void Bump()
    {
        std::lock_guard lock(m_mutex);
        if (++m_count >= m_target)
            m_reached.notify_one();
    }
    bool WaitFor(long target)
    {
        std::unique_lock lock(m_mutex);
        m_target = target;
        return m_reached.wait_for(lock, std::chrono::seconds(30),
                                  [&] { return m_count >= m_target; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_reached;
    long m_count = 0;
    long m_target = 0;
};

// One visitor entering and leaving, as events 9003/4001 and 9003/4002, against a session that
// lists state.range(0) visitors: the whole way from the socket to the callback on the receive
// thread. The entering id is new and then last in the list, where a search from the front
// would be slowest. A list holds at most 20,000 visitors, so 19,000 is near the most there is.
void BM_VisitorEventDispatch(benchmark::State& state)
{
    const int listed = static_cast<int>(state.range(0));
    constexpr int kPairs = 100;

    FakeChatServer server;
    server.SetListReply(msg::kRequestVisitors, VisitorReplyPayload(listed));
    Counter counter;
    COperatorSession session;
    COperatorSession::Callbacks callbacks;
    callbacks.OnVisitorsRefreshed = [&] { counter.Bump(); };
    callbacks.OnVisitorAdded = [&](const CVisitorEntry&) { counter.Bump(); };
    callbacks.OnVisitorRemoved = [&](const CVisitorEntry&) { counter.Bump(); };
    session.SetCallbacks(callbacks);
    if (session.Login(server.Host(), server.Port(), FakeChatServer::kUser,
                      FakeChatServer::kPassword) != 0) {
        state.SkipWithError("log-in failed");
        return;
    }
    auto connection = server.WaitConnection(0);
    session.RequestVisitors();
    long target = 1;
    counter.WaitFor(target);

    std::string batch;
    const std::string id = std::to_string(listed + 500);
    for (int i = 0; i < kPairs; ++i) {
        batch += testing_support::FrameOf(
            Payload(msg::kEvent, {"4001", id, "0", "http://www.example.com/new.html", "Visitor",
                                  "Mozilla/5.0", "2024-5-17 13:45:12", "10.1.2.3", "2"}));
        batch += testing_support::FrameOf(Payload(msg::kEvent, {"4002", id}));
    }
    for (auto _ : state) {
        target += 2 * kPairs;
        connection->SendRaw(batch);
        if (!counter.WaitFor(target)) {
            state.SkipWithError("events did not arrive");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * 2 * kPairs);
    session.Disconnect(COperatorSession::kReasonLoggedOut);
}
BENCHMARK(BM_VisitorEventDispatch)
    ->Arg(0)
    ->Arg(1'000)
    ->Arg(10'000)
    ->Arg(19'000)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
