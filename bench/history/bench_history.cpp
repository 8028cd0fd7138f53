// The chat history at the size of years of chats: an archive of a million lines (default), then
//  - a two-word search over every line, as the history window runs it (the first 200 chats
//    with matches), then the newest of them opened with its matches placed, p50 and p99 of 50;
//  - adding one line: what the chat window's call costs (queueing it), and how long until the
//    line is on disk (the writer's transaction, synced), p50 and p99 of 2,000;
//  - the file's size per 1,000 lines.
//
//   bench_history [--lines N] [--dir FOLDER]
//
// The archive is built in FOLDER (default: bench-history-data in the current folder, which
// should be on the disk the operator's home is on: syncing is most of the cost) and removed
// at the end.
#include "chat_archive.h"
#include "quantiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Words of a support chat; drawn with Zipf's law (rank r with weight 1/r), as words of a
// language are, so that the index holds a few very common words and many rare ones.
const char* const kWords[] = {
    "the",     "i",          "you",          "to",        "a",           "is",       "it",
    "my",      "and",        "for",          "of",        "in",          "can",      "order",
    "please",  "we",         "your",         "this",      "that",        "be",       "on",
    "have",    "with",       "thank",        "not",       "help",        "me",       "will",
    "do",      "what",       "hello",        "number",    "when",        "there",    "are",
    "was",     "our",        "so",           "if",        "just",        "would",    "like",
    "get",     "one",        "parcel",       "account",   "delivery",    "time",     "it's",
    "email",   "now",        "yes",          "no",        "sorry",       "know",     "check",
    "send",    "need",       "price",        "could",     "day",         "today",    "about",
    "how",     "payment",    "refund",       "late",      "size",        "colour",   "stock",
    "card",    "address",    "week",         "shipping",  "return",      "tomorrow", "link",
    "page",    "again",      "product",      "problem",   "free",        "code",     "discount",
    "invoice", "service",    "question",     "still",     "working",     "store",    "open",
    "cancel",  "change",     "receive",      "available", "wrong",       "left",     "password",
    "login",   "phone",      "support",      "minute",    "moment",      "form",     "website",
    "item",    "box",        "courier",      "tracking",  "warehouse",   "monday",   "friday",
    "weekend", "morning",    "evening",      "blue",      "black",       "small",    "large",
    "cheaper", "broken",     "damaged",      "missing",   "replacement", "exchange", "voucher",
    "gift",    "newsletter", "subscription", "renewal",   "upgrade",     "download", "install",
    "error",   "screen",     "button",       "basket",    "checkout",    "postcode", "country",
    "euro",    "dollar",     "bank",         "transfer",  "receipt",     "warranty", "manual",
    "battery", "charger",    "cable",        "kettle",    "lamp",        "chair",    "table",
    "sofa",
};
constexpr int kWordCount = sizeof(kWords) / sizeof(kWords[0]);

class TextMaker final
{
public:
    explicit TextMaker(unsigned seed) : m_random(seed)
    {
        std::vector<double> weights;
        for (int rank = 1; rank <= kWordCount; ++rank)
            weights.push_back(1.0 / rank);
        m_word = std::discrete_distribution<int>(weights.begin(), weights.end());
    }

    // 3 to 20 words, now and then an order number.
    QString Line()
    {
        const int words = std::uniform_int_distribution<int>(3, 20)(m_random);
        QStringList line;
        for (int i = 0; i < words; ++i) {
            if (std::uniform_int_distribution<int>(0, 40)(m_random) == 0)
                line << QString::number(std::uniform_int_distribution<int>(10000, 99999)(m_random));
            else
                line << QString::fromLatin1(kWords[m_word(m_random)]);
        }
        return line.join(QLatin1Char(' '));
    }

private:
    std::mt19937 m_random;
    std::discrete_distribution<int> m_word;
};

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

void Report(const char* what, std::vector<double> samples)
{
    const CQuantiles quantiles(std::move(samples));
    std::printf("%-44s p50 %8.3f ms   p99 %8.3f ms   max %8.3f ms   (%zu samples)\n", what,
                quantiles.At(0.50), quantiles.At(0.99), quantiles.Max(), quantiles.Count());
}

qint64 FileBytes(const QString& path)
{
    return QFileInfo(path).size() + QFileInfo(path + QStringLiteral("-wal")).size();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const auto option = [&](const char* name, const QString& fallback) {
        const qsizetype at = args.indexOf(QLatin1String(name));
        return at >= 0 && at + 1 < args.size() ? args[at + 1] : fallback;
    };
    const int lines = option("--lines", QStringLiteral("1000000")).toInt();
    const QString folder =
        option("--dir", QDir::current().filePath(QStringLiteral("bench-history-data")));
    QDir(folder).removeRecursively();
    const QString path = QDir(folder).filePath(QStringLiteral("history.sqlite"));
    constexpr int kLinesPerChat = 30;
    TextMaker text(7);

    {
        // Built through the archive itself, a chat's worth of lines queued at a time: the
        // writer then takes them in batches, as it does with a burst.
        CChatArchive archive(path);
        QElapsedTimer built;
        built.start();
        const qint64 start = CChatArchive::Now() - 365LL * 24 * 3600 * 1000;
        for (int n = 0; n < lines; n += kLinesPerChat) {
            const qint64 at = start + n * 1000LL;
            const auto chat = archive.BeginChat(n, QStringLiteral("Ann"), at);
            archive.SetVisitor(chat, QStringLiteral("Visitor %1").arg(n / kLinesPerChat));
            for (int i = 0; i < kLinesPerChat && n + i < lines; ++i)
                archive.AddLine(chat, {at + i * 1000LL, LineKind::Line,
                                       i % 2 ? QStringLiteral("Ann") : QStringLiteral("Visitor"),
                                       i % 2 == 1, text.Line()});
            archive.EndChat(chat, at + kLinesPerChat * 1000LL);
            if (n % 20000 == 0 && !archive.Flush(600000))
                return 1;
        }
        if (!archive.Flush(600000))
            return 1;
        std::printf("archive of %d lines in %d chats built in %.1f s\n", lines,
                    (lines + kLinesPerChat - 1) / kLinesPerChat, built.elapsed() / 1000.0);
    }
    // Closed: the log is folded into the file.
    std::printf("file: %.1f MB, %.1f KB per 1,000 lines\n", FileBytes(path) / 1e6,
                FileBytes(path) / 1024.0 / (lines / 1000.0));

    CChatArchive archive(path);
    const auto opening = Clock::now();
    archive.Chats({}, 1);
    Report("first read (opens the file)", {Ms(Clock::now() - opening)});
    for (const char* query : {"late parcel", "refund damaged", "\"order number\""}) {
        CChatFilter filter;
        filter.search = QString::fromLatin1(query);
        std::vector<double> took;
        int listed = 0;
        for (int i = 0; i < 50; ++i) {
            const auto t0 = Clock::now();
            listed = static_cast<int>(archive.Chats(filter, 200).size());
            took.push_back(Ms(Clock::now() - t0));
        }
        const QList<CArchivedChat> first = archive.Chats(filter, 1);
        const int matched = first.isEmpty() ? 0 : first[0].matchCount;
        char what[120];
        std::snprintf(what, sizeof what, "search %s (%d chats listed)", query, listed);
        Report(what, took);
        std::vector<double> opened;
        for (int i = 0; i < 50 && !first.isEmpty(); ++i) {
            const auto t0 = Clock::now();
            archive.Lines(first[0].id, filter.search);
            opened.push_back(Ms(Clock::now() - t0));
        }
        if (!opened.empty()) {
            std::snprintf(what, sizeof what, "  its newest chat's lines, %d marked", matched);
            Report(what, opened);
        }
    }
    const auto chat = archive.BeginChat(1, QStringLiteral("Ann"));
    archive.Flush();
    std::vector<double> queued;
    std::vector<double> onDisk;
    for (int i = 0; i < 2000; ++i) {
        const CTranscriptLine line{CChatArchive::Now(), LineKind::Line, QStringLiteral("Mary"),
                                   false, text.Line()};
        const auto t0 = Clock::now();
        archive.AddLine(chat, line);
        const auto t1 = Clock::now();
        if (!archive.Flush(60000))
            return 1;
        const auto t2 = Clock::now();
        queued.push_back(Ms(t1 - t0));
        onDisk.push_back(Ms(t2 - t0));
    }
    Report("adding a line: the caller's cost", queued);
    Report("adding a line: until it is on disk", onDisk);

    QDir(folder).removeRecursively();
    return 0;
}
