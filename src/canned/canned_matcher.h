#pragma once

#include "canned_answers.h"

#include <QString>
#include <QStringList>
#include <bitset>
#include <cstdint>
#include <vector>

// Finds canned answers from a few typed letters, for the completion list of the chat window's
// input box and the search field of the canned answers dialog. Letter case and accents do not
// count ("cafe" finds "Café").
//
// The query is split at white space into words; an answer matches when every word is found in
// its title, its category or its message. How a word is found ranks the answer, best first: at
// the start of the text, at the start of one of its words, anywhere in it; in a title or a
// category also as the starts of its words in order ("gb" and "gobye" find "Good bye"), or as
// letters in order from the start of a word ("wlcm"). Messages are searched for the word as typed
// only, since in a long text scattered letters would match nearly anything. A title counts three
// times, a category twice, a message once. Among answers that rank alike the more used come first,
// then the one earlier in the file.
class CCannedMatcher final
{
public:
    struct Entry
    {
        QString category;
        QString title;
        QString message;
    };

    // Every answer of the categories, in order, its texts decoded as the trees show them.
    static std::vector<Entry> EntriesOf(const CannedAnswers& answers);

    // Folds every text once, so that matching as the operator types does not.
    void SetEntries(std::vector<Entry> entries);
    size_t Size() const { return m_entries.size(); }
    const Entry& At(size_t entry) const { return m_entries[entry]; }
    void SetUses(size_t entry, int uses);

    // The entries that match, best first, at most limit of them; for a query without words
    // every entry, the most used first. As the operator types on, a query that only adds letters or
    // words to an earlier one can only match fewer answers: the answers the earlier query found are
    // the only ones searched again, and after Backspace the earlier query's answers are still at
    // hand.
    std::vector<size_t> Match(const QString& query, size_t limit = SIZE_MAX);

    // Whether one answer matches, for a filter that keeps no list of its own.
    static bool Matches(const QString& query, const Entry& entry);

private:
    // The letters and pairs of letters of a folded message, hashed: a word with a letter or a
    // pair that the message lacks cannot be in it, which spares most searches of messages.
    using Pairs = std::bitset<1024>;
    // A text folded, with where its words start: a word is looked for there first.
    struct Text
    {
        QString folded;
        std::vector<std::uint32_t> wordStarts;
    };
    struct Folded
    {
        Text category;
        Text title;
        Text message;
        Pairs messagePairs;
    };

    // A word of a query, folded, with the bits of its first letter and of its pairs.
    struct Word
    {
        QString text;
        std::vector<size_t> bits;
    };

    static std::vector<Word> Words(const QString& query);
    static Folded Fold(const Entry& entry);
    // 0 when a word is not found at all.
    static int Score(const Folded& entry, const std::vector<Word>& words);

    struct Hit
    {
        int score;
        size_t entry;
    };
    // The queries typed one after the other, each adding to the one below, with what each
    // found in file order.
    struct Narrowed
    {
        QStringList words;
        std::vector<Hit> hits;
    };

    std::vector<Entry> m_entries;
    std::vector<Folded> m_folded;
    std::vector<int> m_uses;
    std::vector<Narrowed> m_narrowed;
};
