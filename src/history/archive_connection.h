#pragma once

#include "archive_failure.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QVariant>

class QSqlQuery;

// One Qt SQL connection to the archive file, of its own name, used only on the thread that
// made it (Qt SQL's rule). Dropping it closes the file; every query made on it must be gone
// by then.
class CArchiveConnection final
{
public:
    enum class Mode
    {
        Write, // WAL, every commit on disk before it returns
        Read,  // read-only: it never creates or changes the file
    };

    CArchiveConnection(const QString& path, Mode mode, int busyTimeoutMs);
    ~CArchiveConnection();
    CArchiveConnection(const CArchiveConnection&) = delete;
    CArchiveConnection& operator=(const CArchiveConnection&) = delete;

    // Opens the file and sets how this connection works with it.
    CArchiveProblem Open();

    QSqlDatabase& Database() { return m_db; }

    // Runs one statement. With a value, the first column of its first row goes there.
    QSqlError Exec(const QString& sql, QVariant* value = nullptr);

private:
    QString m_name;
    QString m_path;
    Mode m_mode;
    int m_busyTimeoutMs;
    QSqlDatabase m_db;
};

// Binds values to a prepared query's places in order and runs it.
CArchiveProblem RunQuery(QSqlQuery& query, const QVariantList& values);
