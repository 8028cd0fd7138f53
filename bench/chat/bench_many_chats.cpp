// Twenty chats open at once, as the program puts them together (active chats list, history,
// windows or tabs), and a visitor's line arriving every 10 ms, spread across them. A 1 ms timer
// on the GUI thread measures how long the event loop goes without a turn: the longest stall is
// what the operator would feel while typing.
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise; with DISPLAY set and
// --display, on the real X server.
#include "chat_dlg.h"
#include "day_stage.h"
#include "printing_notifier.h"
#include "qt_benchmark_main.h"
#include "quantiles.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

constexpr int kChats = 20;

void BM_TwentyChatsLineEvery10ms(benchmark::State& state)
{
    const bool tabs = state.range(0) != 0;
    CPrintingNotifier notifier;
    CDayStage stage(notifier);
    SimOptions options = day::ServerOptions();
    options.initialVisitors = kChats;
    if (!stage.StartServer(options)) {
        state.SkipWithError("the server did not start");
        return;
    }
    stage.settings.m_welcomeMsg.clear();
    stage.settings.m_chatTabs = tabs ? 1 : 0;
    if (stage.session.Login("127.0.0.1", std::uint16_t(stage.settings.m_serverPort), day::kUser,
                            day::kPassword) != 0) {
        state.SkipWithError("no log-in");
        return;
    }
    std::vector<int> calls;
    for (const SimVisitor& visitor : stage.World().Visitors()) {
        calls.push_back(stage.World().RequestChat(visitor.id, day::SignedInId(stage.World())));
        stage.OpenChat(calls.back());
    }
    if (!CDayStage::WaitFor([&stage] {
            const QList<CChatDlg*> chats = stage.Chats();
            return std::all_of(chats.begin(), chats.end(), [](const CChatDlg* chat) {
                return chat->windowTitle() != QStringLiteral("Parlendo - Connecting");
            });
        })) {
        state.SkipWithError("the chats did not open");
        return;
    }

    for (auto _ : state) {
        int sent = 0;
        std::vector<double> gapsMs;
        QElapsedTimer sinceBeat;
        QTimer heartbeat;
        heartbeat.setInterval(1);
        QObject::connect(&heartbeat, &QTimer::timeout, [&] {
            gapsMs.push_back(double(sinceBeat.nsecsElapsed()) / 1e6);
            sinceBeat.start();
        });
        QTimer lines;
        lines.setInterval(10);
        QEventLoop loop;
        QObject::connect(&lines, &QTimer::timeout, [&] {
            stage.World().VisitorSays(calls[std::size_t(sent % kChats)],
                                      "Could you check the order from Tuesday? " +
                                          std::to_string(sent));
            if (++sent == int(state.range(1)))
                loop.quit();
        });
        sinceBeat.start();
        heartbeat.start();
        lines.start();
        loop.exec();
        // The last lines are in before the figures are taken.
        CDayStage::WaitFor([] { return false; }, std::chrono::milliseconds(200));
        const CQuantiles gaps(std::move(gapsMs));
        state.counters["lines"] = sent;
        state.counters["stall_p99_ms"] = gaps.At(0.99);
        state.counters["stall_max_ms"] = gaps.Max();
    }
}
// Arguments: tabs (0 windows of their own, 1 tabs), lines sent.
BENCHMARK(BM_TwentyChatsLineEvery10ms)
    ->Args({0, 1000})
    ->Args({1, 1000})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunQtBenchmarks<QApplication>(argc, argv);
}
