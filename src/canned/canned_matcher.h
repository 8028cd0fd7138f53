#pragma once

#include <QString>
#include <vector>

// Finds canned answers from a few typed letters, for the completion list of the chat window's
// input box and the search field of the canned answers dialog. Letter case and accents do not
// count ("cafe" finds "Café").
//
// The query is split at white space into words; an answer matches when every word is found in
// its title, its category or its message. How a word is found ranks the answer, best first: at
// the start of the text, at the start of one of its words, anywhere in it; in a title or a
// category also as the starts of its words in order ("gb" and "gobye" find "Good bye"), or as
// letters in order ("wlcm"). Messages are searched for the word as typed only, since in a long
// text scattered letters would match nearly anything. A title counts three times, a category
// twice, a message once. Among answers that rank alike the more used come first, then the one
// earlier in the file.
class CCannedMatcher final
{
public:
    struct Entry
    {
        QString category;
        QString title;
        QString message;
    };

    // Folds every text once, so that matching as the operator types does not.
    void SetEntries(std::vector<Entry> entries);
    size_t Size() const { return m_entries.size(); }
    const Entry& At(size_t entry) const { return m_entries[entry]; }
    void SetUses(size_t entry, int uses);

    // The entries that match, best first; for a query without words every entry, the most used
    // first.
    std::vector<size_t> Match(const QString& query) const;

    // Whether one answer matches, for a filter that keeps no list of its own.
    static bool Matches(const QString& query, const Entry& entry);

private:
    std::vector<Entry> m_entries;
    std::vector<Entry> m_folded;
    std::vector<int> m_uses;
};
