#pragma once

#include "archive_command.h"
#include "archive_failure.h"

#include <QString>
#include <memory>
#include <unordered_map>
#include <vector>

class CArchiveConnection;

// Carries the queued commands into the file, a batch in one transaction: either all of a
// batch is in the file or none of it, here and in the full-text index alike. Used by the
// writer thread only.
//
// It remembers every chat begun in this process, with its row, for the life of the process:
// a line that comes after the chat's end (the window's own "closed" notice) still finds it,
// and when the file is replaced or emptied, the chats still going get rows anew with their
// next change.
class CArchiveUpdater final
{
public:
    CArchiveUpdater(QString path, int busyTimeoutMs);
    ~CArchiveUpdater();
    CArchiveUpdater(const CArchiveUpdater&) = delete;
    CArchiveUpdater& operator=(const CArchiveUpdater&) = delete;

    // Prepares the file and its tables and opens the connection.
    CArchiveProblem Open();
    void Close();
    bool IsOpen() const { return m_connection != nullptr; }
    // The file was replaced by an empty one: no chat has a row any more.
    void ForgetRows();

    // Recover commands are the writer's; they are passed over here.
    CArchiveProblem Apply(const std::vector<CArchiveCommand>& batch);

private:
    struct Chat
    {
        int callId = 0;
        QString operatorName;
        QString visitor;
        qint64 started = 0;
        qint64 ended = 0;
        bool transferred = false;
        qint64 row = 0; // 0: none in the file yet
    };
    struct Statements;

    CArchiveProblem Run(const ArchiveCommand::Begin& command, bool& compact);
    CArchiveProblem Run(const ArchiveCommand::Visitor& command, bool& compact);
    CArchiveProblem Run(const ArchiveCommand::Line& command, bool& compact);
    CArchiveProblem Run(const ArchiveCommand::Transferred& command, bool& compact);
    CArchiveProblem Run(const ArchiveCommand::End& command, bool& compact);
    CArchiveProblem Run(const ArchiveCommand::Retain& command, bool& compact);
    CArchiveProblem Run(const ArchiveCommand::DeleteAll& command, bool& compact);
    CArchiveProblem Run(const ArchiveCommand::Recover& command, bool& compact);
    // The chat's row, made when it has none; nullptr for a key that never began.
    Chat* RowOf(quint64 key, CArchiveProblem& problem);
    CArchiveProblem Exec(const QString& sql);

    QString m_path;
    int m_busyTimeoutMs;
    std::unique_ptr<CArchiveConnection> m_connection;
    std::unique_ptr<Statements> m_statements; // goes before the connection it was prepared on
    std::unordered_map<quint64, Chat> m_chats;
};
