#pragma once

#include "archive_failure.h"
#include "archive_records.h"

#include <QList>
#include <QString>
#include <memory>

class CArchiveConnection;

// The history window's side of the archive: a read-only connection of its own, so that reading
// never waits for the writer (WAL) and never changes the file. Used on one thread, the one that
// made it.
class CArchiveReader final
{
public:
    CArchiveReader(QString path, int busyTimeoutMs);
    ~CArchiveReader();
    CArchiveReader(const CArchiveReader&) = delete;
    CArchiveReader& operator=(const CArchiveReader&) = delete;

    // Newest first, at most limit, starting after `after` when one is given. With a search,
    // only chats with a matching line, and how many lines matched.
    CArchiveProblem Chats(const CChatFilter& filter, int limit, const CArchivedChat* after,
                          QList<CArchivedChat>& chats);
    // A chat's lines in the order they were shown; with a search, where each line matched.
    CArchiveProblem Lines(qint64 chat, const QString& search, QList<CArchivedLine>& lines);
    // Closes the file; the next read opens whatever is at the path then.
    void Close();

private:
    CArchiveProblem Open();

    QString m_path;
    int m_busyTimeoutMs;
    std::unique_ptr<CArchiveConnection> m_connection;
};
