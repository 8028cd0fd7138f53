#pragma once

#include "archive_records.h"

#include <QString>
#include <QtGlobal>
#include <variant>

// The changes the chat windows and the history window ask of the archive, queued for its
// writer. A chat is named by a key the archive hands out when it begins; its row in the file
// is the writer's business.
namespace ArchiveCommand {

struct Begin
{
    quint64 chat = 0;
    int callId = 0;
    QString operatorName;
    qint64 at = 0;
};
struct Visitor
{
    quint64 chat = 0;
    QString name;
};
struct Line
{
    quint64 chat = 0;
    CTranscriptLine line;
};
struct Transferred
{
    quint64 chat = 0;
};
struct End
{
    quint64 chat = 0;
    qint64 at = 0;
};
// Chats that ended before cutoff go, with their lines and index entries.
struct Retain
{
    qint64 cutoff = 0;
};
struct DeleteAll
{
};
// A reader found the file damaged; acted on only while that file is still the one in use.
struct Recover
{
    quint64 generation = 0;
};

} // namespace ArchiveCommand

using CArchiveCommand =
    std::variant<ArchiveCommand::Begin, ArchiveCommand::Visitor, ArchiveCommand::Line,
                 ArchiveCommand::Transferred, ArchiveCommand::End, ArchiveCommand::Retain,
                 ArchiveCommand::DeleteAll, ArchiveCommand::Recover>;
