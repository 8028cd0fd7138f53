#include "call.h"
#include "fake_chat_server.h"
#include "message_codes.h"
#include "operator_session.h"
#include "quantiles.h"
#include "socket_message.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace {

using testing_support::FakeChatServer;
using Clock = std::chrono::steady_clock;

// A chat line posted on channel 0, echoed by the fake server, until it is back in OnChatData:
// the post, the sender thread, loopback, the server, loopback again, the receiver thread and
// the hand-over to the waiting (window) thread. Median and 99th percentile over the lines.
void BM_ChatLineRoundTrip(benchmark::State& state)
{
    FakeChatServer server;
    server.SetChatEcho(true);
    COperatorSession session;
    if (session.Login(server.Host(), server.Port(), FakeChatServer::kUser,
                      FakeChatServer::kPassword) != 0) {
        state.SkipWithError("log-in failed");
        return;
    }

    std::mutex mutex;
    std::condition_variable back;
    long echoed = 0;
    CCall::Callbacks callbacks;
    callbacks.OnChatData = [&](const CSocketMessage&) {
        std::lock_guard lock(mutex);
        ++echoed;
        back.notify_one();
    };
    if (session.Calls().OpenCall(1, callbacks) != 0) {
        state.SkipWithError("call did not open");
        return;
    }
    const auto call = session.Calls().Find(1);

    CSocketMessage line(msg::kChatData);
    line.AddIntField(msg::chat::kLine);
    line.AddField(FakeChatServer::kUser);
    line.AddField("Hello, how can I help you today?");

    std::vector<double> microseconds;
    microseconds.reserve(static_cast<size_t>(state.max_iterations));
    long expected = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        call->Post(line);
        std::unique_lock lock(mutex);
        ++expected;
        if (!back.wait_for(lock, std::chrono::seconds(5), [&] { return echoed >= expected; })) {
            state.SkipWithError("line did not come back");
            break;
        }
        const auto elapsed = Clock::now() - start;
        lock.unlock();
        microseconds.push_back(std::chrono::duration<double, std::micro>(elapsed).count());
        state.SetIterationTime(std::chrono::duration<double>(elapsed).count());
    }
    if (!microseconds.empty()) {
        const CQuantiles quantiles(std::move(microseconds));
        state.counters["median_us"] = quantiles.At(0.5);
        state.counters["p99_us"] = quantiles.At(0.99);
        state.counters["max_us"] = quantiles.Max();
    }
    session.Calls().CloseCall(1);
    session.Disconnect(COperatorSession::kReasonLoggedOut);
}
BENCHMARK(BM_ChatLineRoundTrip)->Iterations(10'000)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
