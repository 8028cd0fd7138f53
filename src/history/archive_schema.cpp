#include "archive_schema.h"

#include "archive_connection.h"

#include <QCoreApplication>
#include <QStringList>
#include <QVariant>

namespace {

const QStringList& Tables()
{
    static const QStringList tables = {
        QStringLiteral("CREATE TABLE chats(id INTEGER PRIMARY KEY, call_id INTEGER NOT NULL,"
                       " visitor TEXT NOT NULL DEFAULT '', operator TEXT NOT NULL,"
                       " started INTEGER NOT NULL, ended INTEGER NOT NULL DEFAULT 0,"
                       " transferred INTEGER NOT NULL DEFAULT 0)"),
        QStringLiteral("CREATE INDEX chats_by_start ON chats(started)"),
        QStringLiteral("CREATE TABLE lines(id INTEGER PRIMARY KEY, chat INTEGER NOT NULL,"
                       " at INTEGER NOT NULL, kind INTEGER NOT NULL, own INTEGER NOT NULL,"
                       " speaker TEXT NOT NULL, text TEXT NOT NULL)"),
        QStringLiteral("CREATE INDEX lines_by_chat ON lines(chat)"),
        // Accents are folded, so "cafe" finds "café"; any script splits into words by Unicode.
        QStringLiteral("CREATE VIRTUAL TABLE lines_index USING fts5(text, content='lines',"
                       " content_rowid='id', tokenize='unicode61 remove_diacritics 2')"),
        QStringLiteral("PRAGMA user_version = %1").arg(CArchiveSchema::kVersion),
    };
    return tables;
}

CArchiveProblem Version(CArchiveConnection& connection, int& version, int& objects)
{
    QVariant value;
    CArchiveProblem problem =
        ProblemOf(connection.Exec(QStringLiteral("PRAGMA user_version"), &value));
    if (!problem.Ok())
        return problem;
    version = value.toInt();
    problem =
        ProblemOf(connection.Exec(QStringLiteral("SELECT count(*) FROM sqlite_schema"), &value));
    objects = value.toInt();
    return problem;
}

} // namespace

CArchiveProblem CArchiveSchema::Prepare(CArchiveConnection& connection)
{
    // Asked of a scratch table first: without FTS5 no history is kept, whatever the file holds.
    const QSqlError probe = connection.Exec(
        QStringLiteral("CREATE VIRTUAL TABLE temp.full_text_probe USING fts5(text)"));
    if (probe.type() != QSqlError::NoError) {
        if (probe.databaseText().contains(QLatin1String("no such module")))
            return {ArchiveFailure::Unsupported,
                    tr("SQLite on this computer has no full-text search (FTS5).")};
        return ProblemOf(probe);
    }
    (void)connection.Exec(QStringLiteral("DROP TABLE temp.full_text_probe"));

    int version = 0;
    int objects = 0;
    CArchiveProblem problem = Version(connection, version, objects);
    if (!problem.Ok() || version == kVersion)
        return problem;
    if (version > kVersion)
        return {ArchiveFailure::Unsupported,
                tr("The chat history was written by a newer version of Parlendo.")};

    // Two consoles may start on a new file together: the one that waited finds the tables made.
    problem = ProblemOf(connection.Exec(QStringLiteral("BEGIN IMMEDIATE")));
    if (!problem.Ok())
        return problem;
    problem = Version(connection, version, objects);
    if (problem.Ok() && version == 0 && objects != 0)
        problem = {ArchiveFailure::Damaged, tr("The file holds another program's database.")};
    if (problem.Ok() && version == 0) {
        for (const QString& statement : Tables()) {
            problem = ProblemOf(connection.Exec(statement));
            if (!problem.Ok())
                break;
        }
    }
    if (problem.Ok())
        problem = ProblemOf(connection.Exec(QStringLiteral("COMMIT")));
    if (!problem.Ok())
        (void)connection.Exec(QStringLiteral("ROLLBACK"));
    return problem;
}
