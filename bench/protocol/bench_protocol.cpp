// Codec and frame-layer throughput. The field-reading benchmarks run side by side with a plain
// memmem scan over the same bytes, the practical limit for any reader of this format.
#include "client_socket.h"
#include "message_codes.h"
#include "socket_message.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A 9001/1007 reply with n visitor records, as the server sends it.
std::string VisitorListPayload(int n)
{
    CSocketMessage m(msg::kReplyOk);
    m.AddIntField(msg::kRequestVisitors);
    m.AddIntField(n);
    for (int i = 0; i < n; ++i) {
        m.AddIntField(100000 + i);
        m.AddIntField(i % 97);
        m.AddField("http://www.example-shop.com/catalogue/item" + std::to_string(i) + ".html");
        m.AddField("Visitor " + std::to_string(i));
        m.AddField("Mozilla/5.0 (X11; Linux x86_64)");
        m.AddField("2026-12-6 8:" + std::to_string(i % 60) + ":" + std::to_string(i % 60));
        m.AddField("192.0.2." + std::to_string(i % 250));
        m.AddIntField(i % 13);
    }
    return std::string(m.Payload());
}

void BM_ReadEveryVisitorField(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const std::string payload = VisitorListPayload(n);
    for (auto _ : state) {
        CSocketMessage m;
        m.Assign(payload);
        std::int64_t sum = 0;
        const int count = m.GetIntField(msg::kListFieldCount);
        for (int i = 0; i < count; ++i) {
            const int b = msg::kListFirstField + msg::visitor::kFields * i;
            sum += m.GetIntField(b + msg::visitor::kId);
            sum += m.GetIntField(b + msg::visitor::kNumber1);
            for (int t = msg::visitor::kPage; t <= msg::visitor::kAddress; ++t)
                sum += static_cast<std::int64_t>(m.GetField(b + t).value_or(std::string()).size());
            sum += m.GetIntField(b + msg::visitor::kNumber2);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(payload.size()));
}
BENCHMARK(BM_ReadEveryVisitorField)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// The limit: find every delimiter with memmem and copy each field once, nothing else.
void BM_MemmemScanBaseline(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const std::string payload = VisitorListPayload(n);
    for (auto _ : state) {
        std::string copy(payload); // the receive buffer a reader starts from
        std::int64_t sum = 0;
        const char* p = copy.data() + 4;
        const char* end = copy.data() + copy.size();
        while (p < end) {
            const char* hit = static_cast<const char*>(::memmem(p, static_cast<size_t>(end - p), "<~>", 3));
            if (!hit)
                break;
            std::string field(p, hit);
            sum += static_cast<std::int64_t>(field.size());
            p = hit + 3;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(payload.size()));
}
BENCHMARK(BM_MemmemScanBaseline)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// A connected pair with buffers large enough for the benchmarks' frames.
bool SocketPair(benchmark::State& state, int (&fds)[2])
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, fds) != 0) {
        state.SkipWithError("socketpair");
        return false;
    }
    int buffer = 4 * 1024 * 1024;
    ::setsockopt(fds[0], SOL_SOCKET, SO_SNDBUF, &buffer, sizeof buffer);
    ::setsockopt(fds[1], SOL_SOCKET, SO_RCVBUF, &buffer, sizeof buffer);
    return true;
}

// Frame + parse through a real socket pair: send a frame, receive it, index its fields.
void BM_FrameAndParse(benchmark::State& state)
{
    int fds[2];
    if (!SocketPair(state, fds))
        return;
    CClientSocket sender, receiver;
    sender.Attach(fds[0]);
    receiver.Attach(fds[1]);
    const std::string payload = VisitorListPayload(static_cast<int>(state.range(0)));
    CSocketMessage m;
    for (auto _ : state) {
        sender.SendFrame(payload.data(), static_cast<int>(payload.size()));
        m.Receive(receiver);
        benchmark::DoNotOptimize(m.FieldCount());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(payload.size()));
}
BENCHMARK(BM_FrameAndParse)->Arg(10)->Arg(1000)->Unit(benchmark::kMicrosecond);

// A burst of small frames (visitor events) already waiting in a socket pair, received one by
// one: what each frame of a flood costs the receive thread. The burst is written with one plain
// write, so the figure is the receiving side's alone; items per second are frames per second.
void BM_SmallFrameBurst(benchmark::State& state)
{
    int fds[2];
    if (!SocketPair(state, fds))
        return;
    CClientSocket receiver;
    receiver.Attach(fds[1]);

    const int frames = static_cast<int>(state.range(0));
    std::string burst;
    for (int i = 0; i < frames; ++i) {
        CSocketMessage event(msg::kEvent);
        event.AddIntField(msg::kEvVisitorLeft);
        event.AddIntField(100000 + i);
        const auto length = static_cast<std::uint32_t>(event.Length());
        const unsigned char header[7] = {'<', '!', '>', static_cast<unsigned char>(length >> 24),
                                         static_cast<unsigned char>(length >> 16),
                                         static_cast<unsigned char>(length >> 8),
                                         static_cast<unsigned char>(length)};
        burst.append(reinterpret_cast<const char*>(header), sizeof header);
        burst.append(event.Payload());
    }
    std::vector<char> payload;
    for (auto _ : state) {
        if (::write(fds[0], burst.data(), burst.size()) != static_cast<ssize_t>(burst.size())) {
            state.SkipWithError("write");
            break;
        }
        for (int i = 0; i < frames; ++i)
            benchmark::DoNotOptimize(receiver.ReceiveFrame(payload));
    }
    ::close(fds[0]);
    state.SetItemsProcessed(state.iterations() * frames);
}
BENCHMARK(BM_SmallFrameBurst)->Arg(1)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
