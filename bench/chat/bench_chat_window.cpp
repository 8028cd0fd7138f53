// The chat window end to end on loopback: a visitor's line leaves the simulated server, crosses
// the call's channel, the receiver thread and the bridge, and is appended to the transcript.
// Measured from the server's send to the moment the line is in the transcript, one line at a
// time (median and 99th percentile), and as a burst of 10,000 lines with the longest the window
// went without running its event loop.
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include "app_settings.h"
#include "call_bridge.h"
#include "chat_dlg.h"
#include "incoming_call.h"
#include "layout_profile.h"
#include "operator_session.h"
#include "printing_notifier.h"
#include "qt_benchmark_main.h"
#include "quantiles.h"
#include "sim_server.h"
#include "worker_pool.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The simulated server, an operator logged in, and a chat window in a call with a visitor.
class CChatBench final
{
public:
    CChatBench()
        : settings(folder.filePath(QStringLiteral("Operator.conf"))),
          profile(folder.filePath(QStringLiteral("parlendo.ini")))
    {
        SimOptions options;
        options.initialVisitors = 3;
        options.arrivalPerMinute = 0;
        options.chatPerMinute = 0;
        options.realTime = false;
        server = std::make_unique<CSimServer>(options);
        const int port = server->Start();
        if (port < 0 ||
            session.Login("127.0.0.1", static_cast<std::uint16_t>(port), "demo", "demo") != 0)
            return;
        settings.m_username = QStringLiteral("Dana");
        callId = server->World().RequestChat(server->World().Visitors().front().id,
                                             session.OperatorId());
        CIncomingCall offer;
        offer.callId = callId;
        offer.kind = CIncomingCall::kKindCall;
        window = new CChatDlg(settings, offer, new CCallBridge(session, pool, callId), profile,
                              notifier);
        transcript = window->findChild<QTextEdit*>(QStringLiteral("transcript"))->document();
        window->resize(700, 500);
        window->show();
        // In the call, and told who is in it: the notice that says so comes before any line
        // measured.
        QEventLoop loop;
        bool opened = false;
        QObject::connect(window, &QWidget::windowTitleChanged, &loop, [&](const QString& title) {
            opened = title.startsWith(QStringLiteral("Parlendo - ")) &&
                     title != QStringLiteral("Parlendo - Connecting");
            if (opened)
                loop.quit();
        });
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        loop.exec();
        if (!opened) {
            delete window;
            window = nullptr;
        }
    }
    // In the application's order: the window closes its call on the pool, which is waited for.
    ~CChatBench()
    {
        delete window;
        pool.Stop();
        session.Disconnect(COperatorSession::kReasonLoggedOut);
        pool.WaitAll(std::chrono::seconds(10));
        server->Stop();
    }

    bool Ready() const { return window != nullptr; }
    QString LastLine() const { return transcript->lastBlock().text(); }

    QTemporaryDir folder;
    std::unique_ptr<CSimServer> server;
    COperatorSession session;
    CWorkerPool pool;
    CAppSettings settings;
    CLayoutProfile profile;
    CPrintingNotifier notifier;
    int callId = 0;
    CChatDlg* window = nullptr;
    QTextDocument* transcript = nullptr;
};

void BM_VisitorLineToTranscript(benchmark::State& state)
{
    CChatBench bench;
    if (!bench.Ready()) {
        state.SkipWithError("the chat window did not open its call");
        return;
    }
    QTextDocument* document = bench.transcript;
    std::vector<double> ms;
    int n = 0;
    for (auto _ : state) {
        const QString text = QStringLiteral("Is the blue kettle in stock? (%1)").arg(n++);
        QEventLoop loop;
        Clock::time_point appended;
        const auto connection = QObject::connect(document, &QTextDocument::contentsChanged, [&] {
            if (bench.LastLine() == text) {
                appended = Clock::now();
                loop.quit();
            }
        });
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        const auto start = Clock::now();
        bench.server->World().VisitorSays(bench.callId, text.toStdString());
        loop.exec();
        QObject::disconnect(connection);
        if (bench.LastLine() != text) {
            state.SkipWithError("a line did not arrive");
            break;
        }
        const auto elapsed = appended - start;
        ms.push_back(std::chrono::duration<double, std::milli>(elapsed).count());
        state.SetIterationTime(std::chrono::duration<double>(elapsed).count());
    }
    if (!ms.empty()) {
        const CQuantiles quantiles(std::move(ms));
        state.counters["median_ms"] = quantiles.At(0.5);
        state.counters["p99_ms"] = quantiles.At(0.99);
        state.counters["max_ms"] = quantiles.Max();
    }
}
BENCHMARK(BM_VisitorLineToTranscript)
    ->Iterations(2000)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

// 10,000 visitor lines sent at once: the time until the last is in the transcript, and the
// longest the window's event loop went without a turn meanwhile (a 1 ms timer measures it).
void BM_VisitorBurst10000(benchmark::State& state)
{
    constexpr int kLines = 10000;
    for (auto _ : state) {
        state.PauseTiming();
        CChatBench bench;
        if (!bench.Ready()) {
            state.SkipWithError("the chat window did not open its call");
            return;
        }
        const QString last = QStringLiteral("line %1").arg(kLines - 1);
        QEventLoop loop;
        QTimer heartbeat;
        heartbeat.setInterval(1);
        QElapsedTimer sinceBeat;
        qint64 longestGapNs = 0;
        QObject::connect(&heartbeat, &QTimer::timeout, [&] {
            longestGapNs = std::max(longestGapNs, sinceBeat.nsecsElapsed());
            sinceBeat.start();
            if (bench.LastLine() == last)
                loop.quit();
        });
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        state.ResumeTiming();

        const auto start = Clock::now();
        for (int i = 0; i < kLines; ++i)
            bench.server->World().VisitorSays(bench.callId,
                                              QStringLiteral("line %1").arg(i).toStdString());
        sinceBeat.start();
        heartbeat.start();
        loop.exec();
        const auto elapsed = Clock::now() - start;

        state.PauseTiming();
        if (bench.LastLine() != last)
            state.SkipWithError("the burst did not arrive");
        state.counters["total_ms"] = std::chrono::duration<double, std::milli>(elapsed).count();
        state.counters["longest_event_gap_ms"] = static_cast<double>(longestGapNs) / 1e6;
        state.counters["blocks"] = bench.transcript->blockCount();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_VisitorBurst10000)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunQtBenchmarks<QApplication>(argc, argv);
}
