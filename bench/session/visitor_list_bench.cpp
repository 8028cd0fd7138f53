#include "socket_message.h"
#include "visitor_list.h"
#include "visitor_reply.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <ctime>

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
// A list holds at most limits::kVisitors (20,000): a longer reply loads that many.
BENCHMARK(BM_VisitorListLoad)
    ->Arg(1'000)
    ->Arg(10'000)
    ->Arg(20'000)
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
    ->Arg(20'000)
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
    ->Arg(19'000)
    ->Unit(benchmark::kMicrosecond);

// A search that misses, as for every visitor who enters.
void BM_FindMissingVisitor(benchmark::State& state)
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
BENCHMARK(BM_FindMissingVisitor)->Arg(10'000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
