// Transcript appends at chat scale: 10,000 lines into a shown transcript with the event loop
// running between them, as a busy chat window does, and the longest pause the operator would
// feel. Also the cost of one more line on a long transcript, and of writing it as rich text.
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include "qt_benchmark_main.h"
#include "rtf_writer.h"
#include "transcript_ctrl.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QElapsedTimer>
#include <QTextDocument>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

// A name line and a text line, alternating speakers, with a notice now and then.
void AppendChatLine(CTranscriptCtrl& t, int i)
{
    static const QString kText = QStringLiteral(
        "Message %1: could you tell me whether the blue kettle is in stock and when it ships?");
    if (i % 50 == 49) {
        t.AppendNotice(QStringLiteral("Visitor %1 has joined this call").arg(i),
                       CTranscriptCtrl::kNoticeColour, false, true);
    } else if (i % 2 == 0) {
        t.AppendBoldText(i % 4 == 0 ? QStringLiteral("Anna:") : QStringLiteral("Visitor:"),
                         i % 4 == 0 ? CTranscriptCtrl::kOwnNameColour
                                    : CTranscriptCtrl::kOtherNameColour);
    } else {
        t.AppendText(kText.arg(i), CTranscriptCtrl::kChatTextColour);
    }
}

std::unique_ptr<CTranscriptCtrl> ShownTranscript()
{
    auto t = std::make_unique<CTranscriptCtrl>();
    t->resize(640, 420);
    t->show();
    QApplication::processEvents();
    return t;
}

// 10,000 lines, the event loop given its turn every `batch` lines (paint, scroll, lazy layout),
// until the whole transcript is laid out and shown at its end. Reports the longest single turn
// of the event loop: the longest the window would have stopped answering.
void BM_Append10000Lines(benchmark::State& state)
{
    const int batch = static_cast<int>(state.range(0));
    qint64 longestPassNs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto t = ShownTranscript();
        state.ResumeTiming();
        QElapsedTimer pass;
        for (int i = 0; i < 10000; ++i) {
            AppendChatLine(*t, i);
            if ((i + 1) % batch == 0) {
                pass.start();
                QApplication::processEvents();
                longestPassNs = std::max(longestPassNs, pass.nsecsElapsed());
            }
        }
        benchmark::DoNotOptimize(t->document()->documentLayout()->documentSize());
        QApplication::processEvents();
        state.PauseTiming();
        t.reset();
        state.ResumeTiming();
    }
    state.counters["longest_event_pass_ms"] = static_cast<double>(longestPassNs) / 1e6;
}
BENCHMARK(BM_Append10000Lines)
    ->Arg(1)
    ->Arg(100)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// One more line on a transcript that already holds N lines: should not grow with N.
void BM_AppendToLongTranscript(benchmark::State& state)
{
    auto t = ShownTranscript();
    const int lines = static_cast<int>(state.range(0));
    for (int i = 0; i < lines; ++i)
        AppendChatLine(*t, i);
    QApplication::processEvents();
    int i = lines;
    for (auto _ : state) {
        AppendChatLine(*t, i++);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_AppendToLongTranscript)->Arg(0)->Arg(10000)->Arg(50000)->Unit(benchmark::kMicrosecond);

void BM_RtfOf10000Lines(benchmark::State& state)
{
    CTranscriptCtrl t;
    for (int i = 0; i < 10000; ++i)
        AppendChatLine(t, i);
    qint64 bytes = 0;
    for (auto _ : state) {
        const QByteArray rtf = RtfFromDocument(*t.document());
        bytes += rtf.size();
        benchmark::DoNotOptimize(rtf.constData());
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_RtfOf10000Lines)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunQtBenchmarks<QApplication>(argc, argv);
}
