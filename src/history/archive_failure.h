#pragma once

#include <QString>

class QSqlError;

// What a failed statement means for the archive, from SQLite's result code.
enum class ArchiveFailure
{
    None,
    // Another connection holds the lock (a second console, a backup tool): wait and try again;
    // the file is fine and is left where it is.
    Busy,
    // The file is not a database or its pages are broken: it is moved aside.
    Damaged,
    // The file cannot be opened or written at all (permissions, read-only): it is moved aside
    // too, and a fresh one started beside it when the folder allows.
    Unusable,
    // The disk is full or failed for a moment: try again later with the file as it is.
    Transient,
    // This machine's Qt or SQLite lacks what the archive needs (the SQLite driver, full-text
    // search): no file is at fault, none is touched, and no history is kept.
    Unsupported,
};

// A failure and its reason in words (SQLite's message, or the archive's own).
struct CArchiveProblem final
{
    ArchiveFailure failure = ArchiveFailure::None;
    QString reason;

    bool Ok() const { return failure == ArchiveFailure::None; }
};

ArchiveFailure ClassifyFailure(const QSqlError& error);
CArchiveProblem ProblemOf(const QSqlError& error);
