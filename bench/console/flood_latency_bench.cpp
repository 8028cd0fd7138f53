// The main window's responsiveness while the server floods it. The simulated server runs in
// this process in real time and, once the console has logged in and listed its visitors, sends
// a flood of events (visitors arriving, announced again and leaving, operators changing status)
// at the given rate for five seconds. Meanwhile a 10 ms timer on the GUI thread measures how
// late each of its ticks comes: the event-loop latency an operator would feel as a sluggish
// window. Afterwards, the time the console needs to catch up with the server.
//
//   build/bench/console/flood_latency_bench                  (offscreen)
//   xvfb-run -a build/bench/console/flood_latency_bench      (a real X server)
//
// Arguments: events per second, visitors listed. The row without a flood is the baseline.
// Counters: tick_p50_ms, tick_p99_ms, tick_max_ms (lateness of the 10 ms ticks), events_per_s
// (what the server sent), catch_up_ms (from the end of the flood until the window shows the
// visitor who arrived last; session_catch_up_ms until the session has it), rss_growth_MB
// (resident memory of the whole process, in-process server included, over the flood).

#include "app_settings.h"
#include "layout_profile.h"
#include "operator_dlg.h"
#include "operator_session.h"
#include "printing_notifier.h"
#include "qt_benchmark_main.h"
#include "quantiles.h"
#include "session_bridge.h"
#include "sim_server.h"
#include "visitor_list_model.h"
#include "worker_pool.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <functional>
#include <memory>
#include <vector>

using namespace std::chrono_literals;

namespace {

long ResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).simplified().split(' ').value(0).toLong();
    return -1;
}

// Runs the event loop until done holds (looked at every 5 ms) or the limit passes; false then.
bool Until(const std::function<bool()>& done, std::chrono::milliseconds limit)
{
    if (done())
        return true;
    QEventLoop loop;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    look.start(5);
    QTimer::singleShot(limit, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

struct FloodRun
{
    std::vector<double> lateMs;
    double eventsPerSecond = 0;
    double catchUpMs = -1;
    double sessionCatchUpMs = -1; // the session's own lists, looked at every 5 ms
    double rssGrowthMb = 0;
};

std::optional<FloodRun> RunFlood(double rate, int visitors, std::chrono::milliseconds length)
{
    SimOptions options;
    options.accounts = {{"ann", "pw-ann", "Ann", "Lee"}};
    options.initialVisitors = visitors;
    options.arrivalPerMinute = 0;
    options.chatPerMinute = 0;
    options.seed = 5;
    CSimServer server(options);
    const int port = server.Start();
    if (port < 0)
        return std::nullopt;

    QTemporaryDir folder;
    CAppSettings settings(folder.filePath(QStringLiteral("Operator.conf")));
    settings.m_serverAddress = QStringLiteral("127.0.0.1");
    settings.m_serverPort = port;
    settings.m_username = QStringLiteral("ann");
    settings.m_password = QStringLiteral("pw-ann");
    settings.m_saveLogin = 1;
    settings.m_autoLogin = 1;
    settings.Save();
    const CLayoutProfile profile(folder.filePath(QStringLiteral("parlendo.ini")));
    CPrintingNotifier notifier;
    COperatorSession session;
    CWorkerPool pool;
    CSessionBridge bridge(session, pool);
    FloodRun run;
    {
        COperatorDlg window(settings, profile, bridge, notifier);
        const auto* visitors = qobject_cast<const CVisitorListModel*>(
            window.findChild<QAbstractItemView*>(QStringLiteral("visitors"))->model());
        bool listed = false;
        QObject::connect(&window, &COperatorDlg::VisitorsListed, [&listed] { listed = true; });
        window.show();
        if (!Until([&] { return listed; }, 30s))
            return std::nullopt;

        // The lateness of each tick: how much longer than its period it took to come.
        QElapsedTimer since;
        QTimer ticker;
        ticker.setTimerType(Qt::PreciseTimer);
        ticker.setInterval(10);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            run.lateMs.push_back(
                std::max(0.0, static_cast<double>(since.nsecsElapsed()) / 1e6 - 10));
            since.restart();
        });
        const long rssBefore = ResidentKb();
        const auto eventsBefore = server.World().Stats().floodEvents;
        QElapsedTimer clock;
        clock.start();
        server.World().SetFloodRate(rate);
        since.start();
        ticker.start();
        Until([] { return false; }, length);
        server.World().SetFloodRate(0);
        ticker.stop();
        run.eventsPerSecond =
            static_cast<double>(server.World().Stats().floodEvents - eventsBefore) /
            (static_cast<double>(clock.elapsed()) / 1000.0);

        // Caught up once the visitor who arrives after the flood is on the list.
        QElapsedTimer catchUp;
        catchUp.start();
        const std::int32_t last = server.World().AddVisitor();
        const auto caughtUp = [&] {
            if (run.sessionCatchUpMs < 0 && session.Visitors().FindCopy(last))
                run.sessionCatchUpMs = static_cast<double>(catchUp.elapsed());
            return visitors->RowOfId(last) >= 0;
        };
        if (Until(caughtUp, 120s))
            run.catchUpMs = static_cast<double>(catchUp.elapsed());
        run.rssGrowthMb = static_cast<double>(ResidentKb() - rssBefore) / 1024.0;
        window.Shutdown();
    }
    // In the application's order: nothing more reaches the window, the pool's jobs end.
    bridge.Detach();
    pool.Stop();
    session.Disconnect(COperatorSession::kReasonDestroyed);
    pool.WaitAll(5s);
    return run;
}

void BM_FloodEventLoopLatency(benchmark::State& state)
{
    const double rate = static_cast<double>(state.range(0));
    const int visitors = static_cast<int>(state.range(1));
    FloodRun run;
    for (auto _ : state) {
        const auto result = RunFlood(rate, visitors, 5s);
        if (!result) {
            state.SkipWithError("the console did not log in");
            return;
        }
        run = *result;
        state.SetIterationTime(5.0);
    }
    const CQuantiles late(run.lateMs);
    state.counters["tick_p50_ms"] = late.At(0.50);
    state.counters["tick_p99_ms"] = late.At(0.99);
    state.counters["tick_max_ms"] = late.Max();
    state.counters["ticks"] = static_cast<double>(run.lateMs.size());
    state.counters["events_per_s"] = run.eventsPerSecond;
    state.counters["catch_up_ms"] = run.catchUpMs;
    state.counters["session_catch_up_ms"] = run.sessionCatchUpMs;
    state.counters["rss_growth_MB"] = run.rssGrowthMb;
}
BENCHMARK(BM_FloodEventLoopLatency)
    ->Args({0, 200})
    ->Args({10'000, 200})
    ->Args({10'000, 10'000})
    ->Args({40'000, 200})
    ->UseManualTime()
    ->Unit(benchmark::kSecond)
    ->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    return RunQtBenchmarks<QApplication>(argc, argv, true);
}
