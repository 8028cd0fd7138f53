#include "archive_updater.h"

#include "archive_connection.h"
#include "archive_file.h"
#include "archive_schema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <utility>

struct CArchiveUpdater::Statements
{
    explicit Statements(const QSqlDatabase& db)
        : insertChat(db), visitor(db), transferred(db), ended(db), insertLine(db), indexLine(db)
    {
    }

    QSqlError Prepare()
    {
        const std::pair<QSqlQuery*, const char*> statements[] = {
            {&insertChat, "INSERT INTO chats(call_id, visitor, operator, started, ended,"
                          " transferred) VALUES(?, ?, ?, ?, ?, ?)"},
            {&visitor, "UPDATE chats SET visitor = ? WHERE id = ?"},
            {&transferred, "UPDATE chats SET transferred = 1 WHERE id = ?"},
            {&ended, "UPDATE chats SET ended = ? WHERE id = ?"},
            {&insertLine,
             "INSERT INTO lines(chat, at, kind, own, speaker, text) VALUES(?, ?, ?, ?, ?, ?)"},
            {&indexLine, "INSERT INTO lines_index(rowid, text) VALUES(?, ?)"},
        };
        for (const auto& [query, sql] : statements) {
            if (!query->prepare(QString::fromLatin1(sql)))
                return query->lastError();
        }
        return {};
    }

    QSqlQuery insertChat;
    QSqlQuery visitor;
    QSqlQuery transferred;
    QSqlQuery ended;
    QSqlQuery insertLine;
    QSqlQuery indexLine;
};

CArchiveUpdater::CArchiveUpdater(QString path, int busyTimeoutMs)
    : m_path(std::move(path)), m_busyTimeoutMs(busyTimeoutMs)
{
}

CArchiveUpdater::~CArchiveUpdater()
{
    Close();
}

CArchiveProblem CArchiveUpdater::Open()
{
    Close();
    const QString folderProblem = CArchiveFile(m_path).Prepare();
    if (!folderProblem.isEmpty())
        return {ArchiveFailure::Unusable, folderProblem};
    auto connection = std::make_unique<CArchiveConnection>(m_path, CArchiveConnection::Mode::Write,
                                                           m_busyTimeoutMs);
    CArchiveProblem problem = connection->Open();
    if (problem.Ok())
        problem = CArchiveSchema::Prepare(*connection);
    if (!problem.Ok())
        return problem;
    auto statements = std::make_unique<Statements>(connection->Database());
    problem = ProblemOf(statements->Prepare());
    if (!problem.Ok())
        return problem;
    m_connection = std::move(connection);
    m_statements = std::move(statements);
    return {};
}

void CArchiveUpdater::Close()
{
    m_statements.reset();
    m_connection.reset();
}

void CArchiveUpdater::ForgetRows()
{
    for (auto& [key, chat] : m_chats)
        chat.row = 0;
}

CArchiveProblem CArchiveUpdater::Apply(const std::vector<CArchiveCommand>& batch)
{
    if (!IsOpen())
        return {ArchiveFailure::Unusable, {}};
    // A batch that fails leaves no trace: the file rolls back, and so do the rows kept here.
    const auto chatsBefore = m_chats;
    bool compact = false;
    CArchiveProblem problem = Exec(QStringLiteral("BEGIN IMMEDIATE"));
    for (auto it = batch.begin(); problem.Ok() && it != batch.end(); ++it)
        problem = std::visit([&](const auto& command) { return Run(command, compact); }, *it);
    if (problem.Ok())
        problem = Exec(QStringLiteral("COMMIT"));
    if (!problem.Ok()) {
        (void)Exec(QStringLiteral("ROLLBACK"));
        m_chats = chatsBefore;
        return problem;
    }
    if (compact) {
        // Deleted history should be gone from the disk, not only unlisted: the file is
        // rewritten without the free pages, and the log that still holds them is emptied.
        (void)Exec(QStringLiteral("VACUUM"));
        (void)Exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    }
    return {};
}

CArchiveUpdater::Chat* CArchiveUpdater::RowOf(quint64 key, CArchiveProblem& problem)
{
    const auto it = m_chats.find(key);
    if (it == m_chats.end())
        return nullptr;
    Chat& chat = it->second;
    if (chat.row == 0) {
        QSqlQuery& insert = m_statements->insertChat;
        problem = RunQuery(insert, {chat.callId, chat.visitor, chat.operatorName, chat.started,
                                    chat.ended, chat.transferred ? 1 : 0});
        if (!problem.Ok())
            return nullptr;
        chat.row = insert.lastInsertId().toLongLong();
    }
    return &chat;
}

CArchiveProblem CArchiveUpdater::Run(const ArchiveCommand::Begin& command, bool&)
{
    Chat chat;
    chat.callId = command.callId;
    chat.operatorName = command.operatorName;
    chat.started = command.at;
    m_chats[command.chat] = chat;
    CArchiveProblem problem;
    RowOf(command.chat, problem);
    return problem;
}

CArchiveProblem CArchiveUpdater::Run(const ArchiveCommand::Visitor& command, bool&)
{
    CArchiveProblem problem;
    Chat* chat = RowOf(command.chat, problem);
    if (!chat || chat->visitor == command.name)
        return problem;
    chat->visitor = command.name;
    return RunQuery(m_statements->visitor, {command.name, chat->row});
}

CArchiveProblem CArchiveUpdater::Run(const ArchiveCommand::Line& command, bool&)
{
    CArchiveProblem problem;
    const Chat* chat = RowOf(command.chat, problem);
    if (!chat)
        return problem;
    const CTranscriptLine& line = command.line;
    QSqlQuery& insert = m_statements->insertLine;
    problem = RunQuery(insert, {chat->row, line.at, static_cast<int>(line.kind), line.own ? 1 : 0,
                                line.speaker, line.text});
    if (!problem.Ok())
        return problem;
    return RunQuery(m_statements->indexLine, {insert.lastInsertId(), line.text});
}

CArchiveProblem CArchiveUpdater::Run(const ArchiveCommand::Transferred& command, bool&)
{
    CArchiveProblem problem;
    Chat* chat = RowOf(command.chat, problem);
    if (!chat || chat->transferred)
        return problem;
    chat->transferred = true;
    return RunQuery(m_statements->transferred, {chat->row});
}

CArchiveProblem CArchiveUpdater::Run(const ArchiveCommand::End& command, bool&)
{
    CArchiveProblem problem;
    Chat* chat = RowOf(command.chat, problem);
    if (!chat)
        return problem;
    chat->ended = command.at;
    return RunQuery(m_statements->ended, {command.at, chat->row});
}

CArchiveProblem CArchiveUpdater::Run(const ArchiveCommand::Retain& command, bool&)
{
    // The chats of this process stay whatever their age: their windows still add to them.
    QStringList keep;
    for (const auto& [key, chat] : m_chats)
        if (chat.row != 0)
            keep << QString::number(chat.row);
    CArchiveProblem problem =
        Exec(QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS doomed(id INTEGER PRIMARY KEY)"));
    if (problem.Ok())
        problem = Exec(QStringLiteral("DELETE FROM temp.doomed"));
    if (problem.Ok()) {
        QSqlQuery select(m_connection->Database());
        select.prepare(QStringLiteral("INSERT INTO temp.doomed SELECT id FROM chats"
                                      " WHERE started < ? AND max(started, ended) < ?"
                                      " AND id NOT IN (%1)")
                           .arg(keep.join(QLatin1Char(','))));
        problem = RunQuery(select, {command.cutoff, command.cutoff});
    }
    for (const char* statement : {"INSERT INTO lines_index(lines_index, rowid, text)"
                                  " SELECT 'delete', id, text FROM lines WHERE chat IN temp.doomed",
                                  "DELETE FROM lines WHERE chat IN temp.doomed",
                                  "DELETE FROM chats WHERE id IN temp.doomed"}) {
        if (problem.Ok())
            problem = Exec(QString::fromLatin1(statement));
    }
    return problem;
}

CArchiveProblem CArchiveUpdater::Run(const ArchiveCommand::DeleteAll&, bool& compact)
{
    CArchiveProblem problem;
    for (const char* statement : {"INSERT INTO lines_index(lines_index) VALUES('delete-all')",
                                  "DELETE FROM lines", "DELETE FROM chats"}) {
        if (problem.Ok())
            problem = Exec(QString::fromLatin1(statement));
    }
    ForgetRows();
    compact = true;
    return problem;
}

CArchiveProblem CArchiveUpdater::Run(const ArchiveCommand::Recover&, bool&)
{
    return {};
}

CArchiveProblem CArchiveUpdater::Exec(const QString& sql)
{
    return ProblemOf(m_connection->Exec(sql));
}
