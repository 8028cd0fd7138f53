// The visitors list under the loads a busy account brings: a refresh of 10,000 visitors, and
// bursts of 1,000 arrivals or departures while 10,000 are listed, each delivered as the session
// bridge delivers events (through its relay, drained in slices on the GUI thread) to a model
// shown in its view, layout and painting included. Runs offscreen unless a platform is chosen.
//
// Besides the time per iteration, the burst benchmarks report the longest single event the GUI
// thread handled (an arrival, the view's relayout, a paint), i.e. the longest the console could
// not react: max_event_ms in wall time, and max_event_cpu_ms in the GUI thread's own processor
// time, which leaves out the time other processes of a busy machine took from it.

#include "qt_benchmark_main.h"
#include "app_settings.h"
#include "visitor_list_ctrl.h"
#include "visitor_list_model.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace {

// Measures how long each outermost event takes to be handled.
class CTimedApplication final : public QApplication
{
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        if (m_depth++ > 0) {
            const bool handled = QApplication::notify(receiver, event);
            --m_depth;
            return handled;
        }
        QElapsedTimer timer;
        timer.start();
        const std::int64_t cpuStart = ThreadCpuNs();
        const bool handled = QApplication::notify(receiver, event);
        m_longestNs = std::max(m_longestNs, static_cast<std::int64_t>(timer.nsecsElapsed()));
        m_longestCpuNs = std::max(m_longestCpuNs, ThreadCpuNs() - cpuStart);
        --m_depth;
        return handled;
    }

    void ResetLongest() { m_longestNs = m_longestCpuNs = 0; }
    double LongestMs() const { return static_cast<double>(m_longestNs) / 1e6; }
    double LongestCpuMs() const { return static_cast<double>(m_longestCpuNs) / 1e6; }

private:
    static std::int64_t ThreadCpuNs()
    {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
    }

    int m_depth = 0;
    std::int64_t m_longestNs = 0;
    std::int64_t m_longestCpuNs = 0;
};

CTimedApplication* App()
{
    return static_cast<CTimedApplication*>(QCoreApplication::instance());
}

CVisitorEntry Visitor(int id)
{
    CVisitorEntry v;
    v.id = id;
    v.number2 = id % 97; // sites of the account
    v.text1 = "http://www.example.com/catalogue/item-" + std::to_string(id) + ".html?ref=mail";
    v.text2 = "Visitor " + std::to_string(id) + " (Firefox, Lyon)";
    v.text3 = "unused";
    v.time = "10:15:00 03/14/2024";
    v.text5 = "192.0.2." + std::to_string(id % 250);
    return v;
}

std::vector<CVisitorEntry> Visitors(int first, int count)
{
    std::vector<CVisitorEntry> visitors;
    visitors.reserve(static_cast<std::size_t>(count));
    for (int id = first; id < first + count; ++id)
        visitors.push_back(Visitor(id));
    return visitors;
}

// A console-sized visitors list over a model with settings as an operator would have them.
struct Console
{
    Console() : settings(dir.filePath(QStringLiteral("settings.conf"))), model(&settings)
    {
        Configure(settings);
        view.setModel(&model);
        view.resize(640, 480);
        view.show();
        Settle();
    }

    static void Configure(CAppSettings& s)
    {
        s.m_blockIp = {"198.51.100.1", "198.51.100.2", "198.51.100.3", "198.51.100.4",
                       "198.51.100.5"};
        s.m_baseUrl = {"http://www.example.com", "*//shop.example.org", "", "", ""};
    }

    // Until every posted event, the view's delayed relayout and its repaint are done.
    void Settle()
    {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        view.viewport()->repaint();
    }

    QTemporaryDir dir;
    CAppSettings settings;
    CVisitorListModel model;
    CVisitorListCtrl view;
};

void BM_VisitorRefresh(benchmark::State& state)
{
    Console console;
    const auto snapshot = Visitors(1, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        console.model.Reset(snapshot);
        console.Settle();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_VisitorRefresh)->Arg(1'000)->Arg(10'000)->Unit(benchmark::kMillisecond);

// 1,000 arrivals posted at once, as a burst of 4001 events reaches the GUI thread.
void BM_VisitorArrivalBurst(benchmark::State& state)
{
    Console console;
    const auto listed = Visitors(1, 10'000);
    const auto arriving = Visitors(100'000, static_cast<int>(state.range(0)));
    double longest = 0;
    double longestCpu = 0;
    for (auto _ : state) {
        state.PauseTiming();
        console.model.Reset(listed);
        console.Settle();
        App()->ResetLongest();
        state.ResumeTiming();

        for (const CVisitorEntry& v : arriving) {
            QMetaObject::invokeMethod(
                &console.model, [&console, v] { console.model.AddVisitor(v); },
                Qt::QueuedConnection);
        }
        console.Settle();
        longest = std::max(longest, App()->LongestMs());
        longestCpu = std::max(longestCpu, App()->LongestCpuMs());
    }
    if (console.model.rowCount() != 10'000 + state.range(0))
        state.SkipWithError("arrivals were lost");
    state.counters["max_event_ms"] = longest;
    state.counters["max_event_cpu_ms"] = longestCpu;
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_VisitorArrivalBurst)->Arg(1'000)->Unit(benchmark::kMillisecond);

// Arrivals per iteration; items_per_second inverted is the processor time of one.
constexpr int kOneByOne = 500;

// Arrivals one event-loop round apart: every one is followed by the view's relayout and a
// repaint, the worst case for the GUI thread. Argument: the visitors listed before; the cost of
// one arrival should not depend on it.
void BM_VisitorArrivalsOneByOne(benchmark::State& state)
{
    Console console;
    const auto listed = Visitors(1, static_cast<int>(state.range(0)));
    const auto arriving = Visitors(100'000, kOneByOne);
    double longest = 0;
    double longestCpu = 0;
    for (auto _ : state) {
        state.PauseTiming();
        console.model.Reset(listed);
        console.Settle();
        App()->ResetLongest();
        state.ResumeTiming();

        for (const CVisitorEntry& v : arriving) {
            QMetaObject::invokeMethod(
                &console.model, [&console, v] { console.model.AddVisitor(v); },
                Qt::QueuedConnection);
            console.Settle();
        }
        longest = std::max(longest, App()->LongestMs());
        longestCpu = std::max(longestCpu, App()->LongestCpuMs());
    }
    state.counters["max_event_ms"] = longest;
    state.counters["max_event_cpu_ms"] = longestCpu;
    state.SetItemsProcessed(state.iterations() * kOneByOne);
}
BENCHMARK(BM_VisitorArrivalsOneByOne)
    ->ArgName("listed")
    ->Arg(100)
    ->Arg(10'000)
    ->Unit(benchmark::kMillisecond);

// 1,000 departures from the middle of a 10,000-row list, posted at once.
void BM_VisitorDepartureBurst(benchmark::State& state)
{
    Console console;
    const auto listed = Visitors(1, 10'000);
    double longest = 0;
    double longestCpu = 0;
    for (auto _ : state) {
        state.PauseTiming();
        console.model.Reset(listed);
        console.Settle();
        App()->ResetLongest();
        state.ResumeTiming();

        for (int id = 4'000; id < 4'000 + state.range(0); ++id) {
            QMetaObject::invokeMethod(
                &console.model, [&console, id] { console.model.RemoveVisitor(Visitor(id)); },
                Qt::QueuedConnection);
        }
        console.Settle();
        longest = std::max(longest, App()->LongestMs());
        longestCpu = std::max(longestCpu, App()->LongestCpuMs());
    }
    state.counters["max_event_ms"] = longest;
    state.counters["max_event_cpu_ms"] = longestCpu;
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_VisitorDepartureBurst)->Arg(1'000)->Unit(benchmark::kMillisecond);

// The keep-alive tick over 10,000 rows: every minute count, and a repaint.
void BM_VisitorTick(benchmark::State& state)
{
    Console console;
    console.model.Reset(Visitors(1, 10'000));
    console.Settle();
    for (auto _ : state) {
        console.model.TickMinutes();
        console.Settle();
    }
}
BENCHMARK(BM_VisitorTick)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunQtBenchmarks<CTimedApplication>(argc, argv);
}
