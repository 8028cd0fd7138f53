// Filtering 5,000 canned answers as the operator types. BM_MatchKeyStroke is the matcher alone,
// one query per key stroke as two words are typed and taken back; BM_MatchAllAnswers is one
// such query searched through every answer (what a query that does not build on the one before
// costs: a paste, a jump), measured together with the empty query that clears what the matcher
// remembers; BM_CompleterKeyStroke is a key stroke into an input box with the completion list
// open, from the key event to the list filtered and the window painted, with max_ms the slowest
// seen. BM_Attach is what a chat window pays once, when its completer takes the answers in as
// its list first opens.
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include "canned_completer.h"
#include "canned_matcher.h"
#include "qt_benchmark_main.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <random>

namespace {

constexpr int kAnswers = 5000;
constexpr int kCategories = 50;
// As many as the completion list holds.
constexpr size_t kListed = 100;
// What the operator types: two words, letter by letter.
const QString kTyped = QStringLiteral("refund days");

const char* const kWords[] = {
    "order",   "refund",       "delivery", "parcel",   "account",  "password", "invoice",
    "payment", "shipping",     "return",   "days",     "store",    "opening",  "hours",
    "welcome", "thanks",       "product",  "warranty", "repair",   "exchange", "size",
    "colour",  "stock",        "discount", "voucher",  "customer", "service",  "please",
    "contact", "email",        "phone",    "address",  "tracking", "number",   "business",
    "weekend", "holiday",      "price",    "tax",      "receipt",  "login",    "reset",
    "link",    "website",      "cart",     "checkout", "card",     "bank",     "transfer",
    "cancel",  "subscription", "plan",     "upgrade",  "trial",    "support",  "team",
    "today",   "tomorrow",     "minutes",  "weeks",    "free",     "express",  "standard",
    "abroad",  "café",         "naïve",    "Grüße",    "señor",
};

QString Words(std::mt19937& random, int count)
{
    std::uniform_int_distribution<size_t> pick(0, std::size(kWords) - 1);
    QStringList words;
    for (int i = 0; i < count; ++i)
        words.append(QString::fromUtf8(kWords[pick(random)]));
    return words.join(QLatin1Char(' '));
}

// 50 categories of 100 answers: titles of two to five words, messages of 15 to 60.
CannedAnswers Answers()
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> titleWords(2, 5);
    std::uniform_int_distribution<int> messageWords(15, 60);
    CannedAnswers answers;
    for (int c = 0; c < kCategories; ++c) {
        CannedCategory& category = answers.emplace_back();
        category.name = Words(random, 2).toStdString();
        for (int a = 0; a < kAnswers / kCategories; ++a) {
            category.answers.push_back({Words(random, titleWords(random)).toStdString(),
                                        (Words(random, messageWords(random)) + '.').toStdString()});
        }
    }
    return answers;
}

void BM_Attach(benchmark::State& state)
{
    const CannedAnswers answers = Answers();
    for (auto _ : state) {
        CCannedMatcher matcher;
        matcher.SetEntries(CCannedMatcher::EntriesOf(answers));
        benchmark::DoNotOptimize(matcher.Size());
    }
}

// What the operator types after the "/", one key per iteration: kTyped letter by letter, then
// Backspace back to nothing, and again.
QString Typed(int step)
{
    const int length = static_cast<int>(kTyped.size());
    return kTyped.left(step < length ? step + 1 : 2 * length - step - 1);
}

void BM_MatchKeyStroke(benchmark::State& state)
{
    CCannedMatcher matcher;
    matcher.SetEntries(CCannedMatcher::EntriesOf(Answers()));
    const int steps = 2 * static_cast<int>(kTyped.size());
    // How many answers the typed queries find, on average: all of them are ranked, though
    // only the best kListed are listed.
    size_t found = 0;
    for (int step = 0; step < steps; ++step)
        found += matcher.Match(Typed(step)).size();
    state.counters["found"] = static_cast<double>(found) / steps;
    int step = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(matcher.Match(Typed(step), kListed));
        step = (step + 1) % steps;
    }
}

// The same queries, each searched through all 5,000 answers, as after a paste or a jump.
void BM_MatchAllAnswers(benchmark::State& state)
{
    CCannedMatcher matcher;
    matcher.SetEntries(CCannedMatcher::EntriesOf(Answers()));
    int step = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(matcher.Match(QString()));
        benchmark::DoNotOptimize(matcher.Match(Typed(step), kListed));
        step = (step + 1) % static_cast<int>(kTyped.size());
    }
}

// Types kTyped after a "/" and takes it back with Backspace, one key per iteration.
void BM_CompleterKeyStroke(benchmark::State& state)
{
    QTemporaryDir data; // the use counts the completer reads
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    QWidget window;
    auto* input = new QPlainTextEdit(&window);
    (new QVBoxLayout(&window))->addWidget(input);
    new CCannedCompleter(input, Answers(), [] { return CannedContext{}; });
    window.resize(640, 480);
    window.show();
    input->setFocus();
    const auto key = [&](int code, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, text);
        QApplication::sendEvent(input, &press);
        QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, text);
        QApplication::sendEvent(input, &release);
        QApplication::processEvents();
    };
    key(Qt::Key_Slash, QStringLiteral("/"));

    const int length = static_cast<int>(kTyped.size());
    int step = 0;
    qint64 slowest = 0;
    QElapsedTimer clock;
    for (auto _ : state) {
        clock.start();
        if (step < length)
            key(Qt::Key_A, kTyped.mid(step, 1)); // the text is what the box inserts
        else
            key(Qt::Key_Backspace, QString());
        slowest = std::max(slowest, clock.nsecsElapsed());
        step = (step + 1) % (2 * length);
    }
    state.counters["max_ms"] = static_cast<double>(slowest) / 1e6;
    const auto* list = window.findChild<QWidget*>(QStringLiteral("cannedCompletions"));
    if (!list || !list->isVisible())
        state.SkipWithError("the completion list did not stay open");
}

} // namespace

BENCHMARK(BM_Attach)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MatchKeyStroke)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MatchAllAnswers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompleterKeyStroke)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return RunQtBenchmarks<QApplication>(argc, argv);
}
