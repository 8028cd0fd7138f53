#pragma once

#include "archive_failure.h"

#include <QCoreApplication>

class CArchiveConnection;

// The archive's tables, and their version in the file's user_version.
//
// chats: one row a chat: the call id, the visitor's name, the operator who took it, start and
// end, transferred or not. lines: one row a transcript line, in the order the chat window
// showed them. lines_index: the full-text index of the lines' texts (FTS5), an index only: it
// reads the texts from lines, and the writer adds and removes its entries together with the
// lines, in the same transaction.
class CArchiveSchema final
{
    Q_DECLARE_TR_FUNCTIONS(CArchiveSchema)

public:
    static constexpr int kVersion = 1;

    // Makes the tables in an empty file, or checks that the file holds this version's.
    // Unsupported when SQLite here has no FTS5, or the file is of a newer console (left as it
    // is); Damaged when it is some other database.
    static CArchiveProblem Prepare(CArchiveConnection& connection);
};
