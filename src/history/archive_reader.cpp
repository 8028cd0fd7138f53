#include "archive_reader.h"

#include "archive_connection.h"
#include "search_query.h"

#include <QHash>
#include <QSqlQuery>
#include <QVariant>
#include <utility>

namespace {

// A LIKE pattern that finds text anywhere, its own wildcards taken literally.
QString Anywhere(const QString& text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    escaped.replace(QLatin1Char('%'), QLatin1String("\\%"));
    escaped.replace(QLatin1Char('_'), QLatin1String("\\_"));
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

} // namespace

CArchiveReader::CArchiveReader(QString path, int busyTimeoutMs)
    : m_path(std::move(path)), m_busyTimeoutMs(busyTimeoutMs)
{
}

CArchiveReader::~CArchiveReader() = default;

void CArchiveReader::Close()
{
    m_connection.reset();
}

CArchiveProblem CArchiveReader::Open()
{
    if (m_connection)
        return {};
    auto connection = std::make_unique<CArchiveConnection>(m_path, CArchiveConnection::Mode::Read,
                                                           m_busyTimeoutMs);
    const CArchiveProblem problem = connection->Open();
    if (problem.Ok())
        m_connection = std::move(connection);
    return problem;
}

CArchiveProblem CArchiveReader::Chats(const CChatFilter& filter, int limit,
                                      const CArchivedChat* after, QList<CArchivedChat>& chats)
{
    chats.clear();
    CArchiveProblem problem = Open();
    if (!problem.Ok())
        return problem;

    const QString match = FullTextQuery(filter.search);
    QString sql = QStringLiteral(
        "SELECT c.id, c.call_id, c.visitor, c.operator, c.started, c.ended, c.transferred,"
        " (SELECT count(*) FROM lines l WHERE l.chat = c.id), %1 FROM chats c %2 WHERE 1");
    QVariantList values;
    if (match.isEmpty()) {
        sql = sql.arg(QStringLiteral("0"), QString());
    } else {
        // The index finds the matching lines; only their chats are then looked at.
        sql = sql.arg(QStringLiteral("m.hits"),
                      QStringLiteral("JOIN (SELECT l.chat AS chat, count(*) AS hits"
                                     " FROM lines_index JOIN lines l ON l.id = lines_index.rowid"
                                     " WHERE lines_index MATCH ? GROUP BY l.chat) m"
                                     " ON m.chat = c.id"));
        values << match;
    }
    if (!filter.visitor.isEmpty()) {
        sql += QStringLiteral(" AND c.visitor LIKE ? ESCAPE '\\'");
        values << Anywhere(filter.visitor);
    }
    if (!filter.operatorName.isEmpty()) {
        sql += QStringLiteral(" AND c.operator LIKE ? ESCAPE '\\'");
        values << Anywhere(filter.operatorName);
    }
    if (after) {
        sql += QStringLiteral(" AND (c.started, c.id) < (?, ?)");
        values << after->started << after->id;
    }
    sql += QStringLiteral(" ORDER BY c.started DESC, c.id DESC LIMIT ?");
    values << limit;

    QSqlQuery query(m_connection->Database());
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        return ProblemOf(query.lastError());
    problem = RunQuery(query, values);
    while (problem.Ok() && query.next()) {
        CArchivedChat chat;
        chat.id = query.value(0).toLongLong();
        chat.callId = query.value(1).toInt();
        chat.visitor = query.value(2).toString();
        chat.operatorName = query.value(3).toString();
        chat.started = query.value(4).toLongLong();
        chat.ended = query.value(5).toLongLong();
        chat.transferred = query.value(6).toInt() != 0;
        chat.lineCount = query.value(7).toInt();
        chat.matchCount = query.value(8).toInt();
        chats.append(chat);
    }
    // A step that fails part-way (a damaged page) ends next() early with the error set.
    if (problem.Ok() && query.lastError().type() != QSqlError::NoError)
        problem = ProblemOf(query.lastError());
    return problem;
}

CArchiveProblem CArchiveReader::Lines(qint64 chat, const QString& search,
                                      QList<CArchivedLine>& lines)
{
    lines.clear();
    CArchiveProblem problem = Open();
    if (!problem.Ok())
        return problem;
    QSqlQuery query(m_connection->Database());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT id, at, kind, own, speaker, text FROM lines"
                                 " WHERE chat = ? ORDER BY id"));
    problem = RunQuery(query, {chat});
    QHash<qint64, qsizetype> byId;
    while (problem.Ok() && query.next()) {
        CArchivedLine line;
        line.id = query.value(0).toLongLong();
        line.line.at = query.value(1).toLongLong();
        line.line.kind = static_cast<LineKind>(query.value(2).toInt());
        line.line.own = query.value(3).toInt() != 0;
        line.line.speaker = query.value(4).toString();
        line.line.text = query.value(5).toString();
        byId.insert(line.id, lines.size());
        lines.append(line);
    }
    if (problem.Ok() && query.lastError().type() != QSqlError::NoError)
        problem = ProblemOf(query.lastError());
    const QString match = FullTextQuery(search);
    if (!problem.Ok() || match.isEmpty() || lines.isEmpty())
        return problem;

    // The chat's lines lie between its first and last id; the index is asked for that stretch
    // alone, not for every match in the archive.
    QSqlQuery marked(m_connection->Database());
    marked.setForwardOnly(true);
    marked.prepare(QStringLiteral("SELECT rowid, highlight(lines_index, 0, char(%1), char(%2))"
                                  " FROM lines_index WHERE lines_index MATCH ?"
                                  " AND rowid BETWEEN ? AND ?")
                       .arg(int(kMatchOpen))
                       .arg(int(kMatchClose)));
    problem = RunQuery(marked, {match, lines.first().id, lines.last().id});
    while (problem.Ok() && marked.next()) {
        const auto at = byId.constFind(marked.value(0).toLongLong());
        if (at != byId.constEnd())
            lines[*at].matches = MatchRanges(marked.value(1).toString());
    }
    if (problem.Ok() && marked.lastError().type() != QSqlError::NoError)
        problem = ProblemOf(marked.lastError());
    return problem;
}
