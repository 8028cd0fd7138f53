#pragma once

#include "archive_records.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

class QTextDocument;

// Archived chats as a transcript: each under a heading that says with whom, when and who took
// it, its lines with their times, the way the chat window showed them. The history window shows
// it; the exports write it.
class CTranscriptDocument final
{
    Q_DECLARE_TR_FUNCTIONS(CTranscriptDocument)

public:
    // Appends the chat at the end of document, after a blank line when it is not the first.
    // dark: for a dark background. With highlight, the lines' search matches are marked, and
    // the first one's place is returned (-1 when there is none).
    static int AppendChat(QTextDocument& document, const CArchivedChat& chat,
                          const QList<CArchivedLine>& lines, bool dark, bool highlight);
    // With whom, when and taken by whom, and whether it was transferred.
    static QString Heading(const CArchivedChat& chat);
};
