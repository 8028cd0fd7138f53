#include "canned_matcher.h"

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

QString Fold(const QString& text)
{
    const bool ascii = std::all_of(text.cbegin(), text.cend(),
                                   [](QChar c) { return c.unicode() < 0x80; });
    if (ascii)
        return text.toLower();
    // Compatibility decomposition splits "é" into "e" and its accent, and "ﬁ" into "fi".
    QString bare = text.normalized(QString::NormalizationForm_KD);
    bare.removeIf([](QChar c) { return c.category() == QChar::Mark_NonSpacing; });
    return bare.toCaseFolded();
}

QStringList Words(const QString& query)
{
    return Fold(query).simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

bool IsWordStart(QStringView text, qsizetype at)
{
    return at == 0 || !text[at - 1].isLetterOrNumber();
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

bool LettersInOrder(QStringView text, QStringView word)
{
    qsizetype at = 0;
    for (const QChar letter : word) {
        while (at < text.size() && text[at] != letter)
            ++at;
        if (at == text.size())
            return false;
        ++at;
    }
    return true;
}

int HowFound(QStringView text, QStringView word, bool loose)
{
    qsizetype at = text.indexOf(word);
    if (at == 0)
        return kAtStart;
    if (at > 0) {
        for (; at > 0; at = text.indexOf(word, at + 1)) {
            if (IsWordStart(text, at))
                return kAtWordStart;
        }
        return kAnywhere;
    }
    if (!loose)
        return kNotFound;
    if (FromWordStarts(text, word))
        return kWordStartsInOrder;
    return LettersInOrder(text, word) ? kLettersInOrder : kNotFound;
}

// 0 when a word is not found at all.
int Score(const CCannedMatcher::Entry& folded, const QStringList& words)
{
    int total = 0;
    for (const QString& word : words) {
        const int best = std::max({HowFound(folded.title, word, true) * kTitleWeight,
                                   HowFound(folded.category, word, true) * kCategoryWeight,
                                   HowFound(folded.message, word, false) * kMessageWeight});
        if (best == kNotFound)
            return 0;
        total += best;
    }
    return total;
}

CCannedMatcher::Entry Folded(const CCannedMatcher::Entry& entry)
{
    return {Fold(entry.category), Fold(entry.title), Fold(entry.message)};
}

} // namespace

void CCannedMatcher::SetEntries(std::vector<Entry> entries)
{
    m_entries = std::move(entries);
    m_folded.clear();
    m_folded.reserve(m_entries.size());
    for (const Entry& entry : m_entries)
        m_folded.push_back(Folded(entry));
    m_uses.assign(m_entries.size(), 0);
}

void CCannedMatcher::SetUses(size_t entry, int uses)
{
    if (entry < m_uses.size())
        m_uses[entry] = uses;
}

std::vector<size_t> CCannedMatcher::Match(const QString& query) const
{
    const QStringList words = Words(query);
    struct Hit
    {
        int score;
        size_t entry;
    };
    std::vector<Hit> hits;
    hits.reserve(m_folded.size());
    for (size_t entry = 0; entry < m_folded.size(); ++entry) {
        const int score = words.isEmpty() ? 1 : Score(m_folded[entry], words);
        if (score > 0)
            hits.push_back({score, entry});
    }
    std::sort(hits.begin(), hits.end(), [this](const Hit& a, const Hit& b) {
        if (a.score != b.score)
            return a.score > b.score;
        if (m_uses[a.entry] != m_uses[b.entry])
            return m_uses[a.entry] > m_uses[b.entry];
        return a.entry < b.entry;
    });
    std::vector<size_t> entries;
    entries.reserve(hits.size());
    for (const Hit& hit : hits)
        entries.push_back(hit.entry);
    return entries;
}

bool CCannedMatcher::Matches(const QString& query, const Entry& entry)
{
    const QStringList words = Words(query);
    return words.isEmpty() || Score(Folded(entry), words) > 0;
}
