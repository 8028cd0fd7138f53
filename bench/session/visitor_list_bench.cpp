#include "socket_message.h"
#include "visitor_list.h"
#include "visitor_reply.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <vector>

namespace {

void UseFixedZone()
{
    ::setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    ::tzset();
}

// Load of a reply 9001/1007 already received (the codec has indexed its fields).
void BM_VisitorListLoad(benchmark::State& state)
{
    UseFixedZone();
    const int count = static_cast<int>(state.range(0));
    CSocketMessage reply;
    reply.Assign(VisitorReplyPayload(count));
    CVisitorList list;
    for (auto _ : state) {
        benchmark::DoNotOptimize(list.Load(reply));
    }
    state.SetItemsProcessed(state.iterations() * count);
    state.SetComplexityN(count);
}
BENCHMARK(BM_VisitorListLoad)
    ->Arg(1'000)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// The same including the decoding of the payload, as the receive thread does it.
void BM_VisitorReplyDecodeAndLoad(benchmark::State& state)
{
    UseFixedZone();
    const int count = static_cast<int>(state.range(0));
    const std::string payload = VisitorReplyPayload(count);
    CSocketMessage reply;
    CVisitorList list;
    for (auto _ : state) {
        reply.Assign(payload);
        benchmark::DoNotOptimize(list.Load(reply));
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_VisitorReplyDecodeAndLoad)
    ->Arg(1'000)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond);

// What a visitor event costs the list: the search that misses (4001 for a new id), then an
// append and a removal from the back, with count visitors listed.
void BM_VisitorEventOnList(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    CSocketMessage reply;
    reply.Assign(VisitorReplyPayload(count));
    CVisitorList list;
    list.Load(reply);
    const std::int32_t fresh = count + 1000;
    for (auto _ : state) {
        if (!list.Find(fresh)) {
            CVisitorEntry entry;
            entry.id = fresh;
            list.Add(std::move(entry));
        }
        benchmark::DoNotOptimize(list.Remove(fresh));
    }
}
BENCHMARK(BM_VisitorEventOnList)
    ->Arg(1'000)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMicrosecond);

// For comparison: the plain search over the entries themselves, which the id array replaces.
void BM_FindByVisitingEntries(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    std::vector<std::unique_ptr<CVisitorEntry>> entries;
    CSocketMessage reply;
    reply.Assign(VisitorReplyPayload(count));
    CVisitorList list;
    list.Load(reply);
    for (int i = 0; i < count; ++i)
        entries.push_back(std::make_unique<CVisitorEntry>(*list.At(i)));
    const std::int32_t missing = count + 1000;
    for (auto _ : state) {
        auto it = std::find_if(entries.begin(), entries.end(),
                               [&](const auto& e) { return e->id == missing; });
        benchmark::DoNotOptimize(it);
    }
}
BENCHMARK(BM_FindByVisitingEntries)->Arg(10'000)->Unit(benchmark::kMicrosecond);

void BM_FindInIdArray(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    CSocketMessage reply;
    reply.Assign(VisitorReplyPayload(count));
    CVisitorList list;
    list.Load(reply);
    const std::int32_t missing = count + 1000;
    for (auto _ : state)
        benchmark::DoNotOptimize(list.Find(missing));
}
BENCHMARK(BM_FindInIdArray)->Arg(10'000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
