// How soon a chat request reaches the operator: from the simulated server sending the offer to
// the console taking it (the moment the desktop notification is handed on, in the same turn)
// and to the offer's window painted on the screen, with few and with many visitors listed. The
// whole console runs as the program puts it together, logged in automatically.
//
//   build/bench/console/offer_latency_bench          (offscreen)
//   xvfb-run -a build/bench/console/offer_latency_bench
//
// Argument: visitors listed. Counters: taken_p50_ms / taken_p99_ms (server to offer taken),
// shown_p50_ms / shown_p99_ms (server to the offer's first paint).
#include "call_dlg.h"
#include "call_offers.h"
#include "day_stage.h"
#include "operator_dlg.h"
#include "printing_notifier.h"
#include "qt_benchmark_main.h"
#include "quantiles.h"

#include <QAbstractItemView>
#include <QApplication>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The first paint of any offer window after it is armed.
class CFirstPaint final : public QObject
{
public:
    std::optional<Clock::time_point> at;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!at && event->type() == QEvent::Paint && qobject_cast<CCallDlg*>(watched))
            at = Clock::now();
        return false;
    }
};

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

void BM_OfferToScreen(benchmark::State& state)
{
    const int visitors = int(state.range(0));
    CPrintingNotifier notifier;
    CDayStage stage(notifier);
    SimOptions options = day::ServerOptions();
    options.initialVisitors = visitors;
    if (!stage.StartServer(options)) {
        state.SkipWithError("the server did not start");
        return;
    }
    stage.settings.m_autoLogin = 1;
    stage.settings.m_saveLogin = 1;
    stage.settings.m_notifyTimeout = 1000;
    stage.MakeWindow();
    auto* list = stage.window->findChild<QAbstractItemView*>(QStringLiteral("visitors"));
    if (!stage.ShowWindow() ||
        !CDayStage::WaitFor([&] { return list->model()->rowCount() == visitors; },
                            std::chrono::seconds(60))) {
        state.SkipWithError("the console did not list the visitors");
        return;
    }
    auto* offers = stage.window->findChild<CCallOffers*>();
    CFirstPaint paint;
    qApp->installEventFilter(&paint);
    const std::vector<SimVisitor> crowd = stage.World().Visitors();
    const int operatorId = day::SignedInId(stage.World());
    std::vector<double> taken;
    std::vector<double> shown;
    std::size_t next = 0;
    for (auto _ : state) {
        std::optional<Clock::time_point> takenAt;
        const auto connection =
            QObject::connect(offers, &CCallOffers::Taken, [&] { takenAt = Clock::now(); });
        paint.at.reset();
        const auto start = Clock::now();
        const int call = stage.World().RequestChat(crowd[next++ % crowd.size()].id, operatorId);
        const bool arrived = CDayStage::WaitFor([&] { return takenAt && paint.at; });
        QObject::disconnect(connection);
        if (!arrived) {
            state.SkipWithError("an offer did not arrive");
            break;
        }
        taken.push_back(Ms(*takenAt - start));
        shown.push_back(Ms(*paint.at - start));
        state.SetIterationTime(std::chrono::duration<double>(*paint.at - start).count());
        offers->WithdrawAll();
        stage.World().VisitorLeavesCall(call); // free to ask again
    }
    qApp->removeEventFilter(&paint);
    if (!taken.empty()) {
        const CQuantiles takenAt(taken), shownAt(shown);
        state.counters["taken_p50_ms"] = takenAt.At(0.5);
        state.counters["taken_p99_ms"] = takenAt.At(0.99);
        state.counters["shown_p50_ms"] = shownAt.At(0.5);
        state.counters["shown_p99_ms"] = shownAt.At(0.99);
    }
}
BENCHMARK(BM_OfferToScreen)
    ->Arg(10)
    ->Arg(10'000)
    ->Iterations(100)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunQtBenchmarks<QApplication>(argc, argv, true);
}
