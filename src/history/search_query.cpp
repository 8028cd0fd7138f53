#include "search_query.h"

#include <QStringList>

namespace {

QString Quoted(const QString& words)
{
    QString quoted = words;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

QString FullTextQuery(const QString& typed)
{
    // Splitting on the quotes leaves phrases at the odd places; a quote left open runs to the
    // end, the way the operator is most likely still typing it.
    const QStringList parts = typed.split(QLatin1Char('"'));
    QStringList terms;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i % 2 == 1) {
            const QString phrase = parts[i].simplified();
            if (!phrase.isEmpty())
                terms << Quoted(phrase);
            continue;
        }
        for (const QString& word :
             parts[i].simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts))
            terms << Quoted(word);
    }
    return terms.join(QLatin1Char(' '));
}

QList<CMatchRange> MatchRanges(const QString& highlighted)
{
    QList<CMatchRange> ranges;
    int plain = 0;
    int start = -1;
    for (const QChar c : highlighted) {
        if (c.unicode() == kMatchOpen) {
            start = plain;
        } else if (c.unicode() == kMatchClose) {
            if (start >= 0 && plain > start)
                ranges.append({start, plain - start});
            start = -1;
        } else {
            ++plain;
        }
    }
    return ranges;
}
