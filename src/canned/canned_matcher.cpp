#include "canned_matcher.h"

#include "canned_text.h"

#include <QStringList>
#include <algorithm>

namespace {

// How a word was found in a text; the higher the better.
enum Found : int
{
    kNotFound = 0,
    kLettersInOrder = 1,
    kWordStartsInOrder = 3,
    kAnywhere = 4,
    kAtWordStart = 5,
    kAtStart = 6,
};

constexpr int kTitleWeight = 3;
constexpr int kCategoryWeight = 2;
constexpr int kMessageWeight = 1;
// Enough for what is typed after a "/"; a longer query searches the answers its longest kept
// predecessor found.
constexpr size_t kQueriesKept = 32;

// Letter case and accents aside. Runs of ASCII are lowered as they are; only the rest goes
// through Unicode's decomposition, which costs far more per letter.
QString FoldText(const QString& text)
{
    QString folded;
    folded.reserve(text.size());
    for (qsizetype from = 0; from < text.size();) {
        const bool ascii = text[from].unicode() < 0x80;
        qsizetype to = from;
        while (to < text.size() && (text[to].unicode() < 0x80) == ascii)
            ++to;
        const QStringView run = QStringView(text).sliced(from, to - from);
        if (ascii) {
            const qsizetype at = folded.size();
            folded += run;
            for (QChar* c = folded.data() + at; c != folded.data() + folded.size(); ++c) {
                if (*c >= u'A' && *c <= u'Z')
                    *c = QChar(c->unicode() + (u'a' - u'A'));
            }
        } else {
            // Compatibility decomposition splits "é" into "e" and its accent, "ﬁ" into "fi".
            QString bare = run.toString().normalized(QString::NormalizationForm_KD);
            bare.removeIf([](QChar c) { return c.category() == QChar::Mark_NonSpacing; });
            folded += bare.toCaseFolded();
        }
        from = to;
    }
    return folded;
}

bool IsWordStart(QStringView text, qsizetype at)
{
    return at == 0 || !text[at - 1].isLetterOrNumber();
}

// The hashed letter (second 0) or pair of letters: 0 to 1023.
size_t PairBit(char16_t first, char16_t second)
{
    return (first * 40503u + second * 2654435761u) >> 22;
}

// Each letter goes on with the part of a word matched so far, or starts a later word. Greedy:
// it may miss a match that only backtracking finds, which costs a rank, not the answer, since
// letters in order are tried next.
bool FromWordStarts(QStringView text, QStringView word)
{
    qsizetype at = 0;
    bool inPart = false;
    for (const QChar letter : word) {
        if (inPart && at < text.size() && text[at] == letter) {
            ++at;
            continue;
        }
        while (at < text.size() && !(text[at] == letter && IsWordStart(text, at)))
            ++at;
        if (at == text.size())
            return false;
        ++at;
        inPart = true;
    }
    return true;
}

// From the start of a word on: "wlcm" finds "Welcome", while the few letters typed do not
// find every long title they happen to be scattered over.
bool LettersInOrder(QStringView text, QStringView word)
{
    qsizetype at = 0;
    while (at < text.size() && !(text[at] == word.front() && IsWordStart(text, at)))
        ++at;
    for (const QChar letter : word) {
        at = text.indexOf(letter, at);
        if (at < 0)
            return false;
        ++at;
    }
    return true;
}

template <typename Text> int HowFound(const Text& text, QStringView word, bool loose)
{
    const QStringView folded = text.folded;
    for (const std::uint32_t start : text.wordStarts) {
        if (folded[start] == word.front() && folded.sliced(start).startsWith(word))
            return start == 0 ? kAtStart : kAtWordStart;
    }
    if (folded.indexOf(word) >= 0)
        return kAnywhere;
    if (!loose)
        return kNotFound;
    if (FromWordStarts(folded, word))
        return kWordStartsInOrder;
    return LettersInOrder(folded, word) ? kLettersInOrder : kNotFound;
}

} // namespace

CCannedMatcher::Folded CCannedMatcher::Fold(const Entry& entry)
{
    const auto text = [](const QString& original) {
        Text text{FoldText(original), {}};
        const QStringView folded = text.folded;
        for (qsizetype at = 0; at < folded.size(); ++at) {
            // A query word never starts with a space.
            if (IsWordStart(folded, at) && !folded[at].isSpace())
                text.wordStarts.push_back(static_cast<std::uint32_t>(at));
        }
        return text;
    };
    Folded folded{text(entry.category), text(entry.title), text(entry.message), {}};
    const QStringView message = folded.message.folded;
    for (qsizetype i = 0; i < message.size(); ++i) {
        folded.messagePairs.set(PairBit(message[i].unicode(), 0));
        if (i + 1 < message.size())
            folded.messagePairs.set(PairBit(message[i].unicode(), message[i + 1].unicode()));
    }
    return folded;
}

std::vector<CCannedMatcher::Word> CCannedMatcher::Words(const QString& query)
{
    std::vector<Word> words;
    for (QString& text : FoldText(query).simplified().split(u' ', Qt::SkipEmptyParts)) {
        Word& word = words.emplace_back(Word{std::move(text), {}});
        word.bits.push_back(PairBit(word.text.front().unicode(), 0));
        for (qsizetype i = 0; i + 1 < word.text.size(); ++i)
            word.bits.push_back(PairBit(word.text[i].unicode(), word.text[i + 1].unicode()));
    }
    return words;
}

int CCannedMatcher::Score(const Folded& entry, const std::vector<Word>& words)
{
    int total = 0;
    for (const Word& word : words) {
        // The message, the longest text, is searched only when it could rank the word higher
        // and holds every letter and pair of the word.
        int best = HowFound(entry.title, word.text, true) * kTitleWeight;
        if (best < kAtStart * kCategoryWeight)
            best = std::max(best, HowFound(entry.category, word.text, true) * kCategoryWeight);
        if (best < kAtStart * kMessageWeight &&
            std::all_of(word.bits.begin(), word.bits.end(),
                        [&](size_t bit) { return entry.messagePairs.test(bit); }))
            best = std::max(best, HowFound(entry.message, word.text, false) * kMessageWeight);
        if (best == kNotFound)
            return 0;
        total += best;
    }
    return total;
}

std::vector<CCannedMatcher::Entry> CCannedMatcher::EntriesOf(const CannedAnswers& answers)
{
    std::vector<Entry> entries;
    for (const CannedCategory& category : answers) {
        const QString name = CCannedText::Decode(category.name);
        for (const CannedAnswer& answer : category.answers) {
            entries.push_back(
                {name, CCannedText::Decode(answer.title), CCannedText::Decode(answer.message)});
        }
    }
    return entries;
}

void CCannedMatcher::SetEntries(std::vector<Entry> entries)
{
    m_entries = std::move(entries);
    m_folded.clear();
    m_folded.reserve(m_entries.size());
    for (const Entry& entry : m_entries)
        m_folded.push_back(Fold(entry));
    m_uses.assign(m_entries.size(), 0);
    m_narrowed.clear();
}

void CCannedMatcher::SetUses(size_t entry, int uses)
{
    if (entry < m_uses.size())
        m_uses[entry] = uses;
}

std::vector<size_t> CCannedMatcher::Match(const QString& query, size_t limit)
{
    const std::vector<Word> words = Words(query);
    QStringList texts;
    for (const Word& word : words)
        texts.append(word.text);

    // Back to the latest query that this one adds to: every word the same but the last, which
    // this one may have typed on.
    const auto addsTo = [&](const QStringList& earlier) {
        if (earlier.isEmpty() || earlier.size() > texts.size())
            return false;
        const qsizetype last = earlier.size() - 1;
        return std::equal(earlier.begin(), earlier.begin() + last, texts.begin()) &&
               texts[last].startsWith(earlier[last]);
    };
    while (!m_narrowed.empty() && !addsTo(m_narrowed.back().words))
        m_narrowed.pop_back();

    std::vector<Hit> hits;
    if (!m_narrowed.empty() && m_narrowed.back().words == texts) {
        hits = m_narrowed.back().hits;
    } else if (!m_narrowed.empty()) {
        for (const Hit& earlier : m_narrowed.back().hits) {
            if (const int score = Score(m_folded[earlier.entry], words))
                hits.push_back({score, earlier.entry});
        }
    } else {
        hits.reserve(m_folded.size());
        for (size_t entry = 0; entry < m_folded.size(); ++entry) {
            if (const int score = words.empty() ? 1 : Score(m_folded[entry], words))
                hits.push_back({score, entry});
        }
    }
    if (!texts.isEmpty() && (m_narrowed.empty() || m_narrowed.back().words != texts) &&
        m_narrowed.size() < kQueriesKept)
        m_narrowed.push_back({texts, hits});

    const auto end = hits.begin() + static_cast<std::ptrdiff_t>(std::min(limit, hits.size()));
    std::partial_sort(hits.begin(), end, hits.end(), [this](const Hit& a, const Hit& b) {
        if (a.score != b.score)
            return a.score > b.score;
        if (m_uses[a.entry] != m_uses[b.entry])
            return m_uses[a.entry] > m_uses[b.entry];
        return a.entry < b.entry;
    });
    std::vector<size_t> entries;
    entries.reserve(static_cast<size_t>(end - hits.begin()));
    for (auto hit = hits.begin(); hit != end; ++hit)
        entries.push_back(hit->entry);
    return entries;
}

bool CCannedMatcher::Matches(const QString& query, const Entry& entry)
{
    const std::vector<Word> words = Words(query);
    return words.empty() || Score(Fold(entry), words) > 0;
}
