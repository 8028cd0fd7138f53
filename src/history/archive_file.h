#pragma once

#include <QString>

// The archive's file on disk: where it lives, kept private, and moved out of the way when it
// cannot serve. SQLite keeps two companions beside it while in WAL mode, "-wal" (the lines of
// the latest commits) and "-shm" (an index rebuilt from the WAL); they travel with the file.
class CArchiveFile final
{
public:
    explicit CArchiveFile(QString path);

    // $XDG_DATA_HOME/Parlendo/history.sqlite (~/.local/share when the variable is not set).
    static QString DefaultPath();

    const QString& Path() const { return m_path; }

    // Makes the folder (0700 when made here) and the file, private (0600) before SQLite
    // creates it: SQLite gives its companions the file's own mode. An error text, or empty.
    QString Prepare() const;

    // Renames the file and its WAL to "<name>.damaged-<local time>" in the same folder, so that
    // a fresh file can start under the name. The index file is rebuilt by SQLite and is removed.
    // Returns the new name, empty when nothing could be moved.
    QString MoveAside() const;

private:
    QString m_path;
};
