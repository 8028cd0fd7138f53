#include "transcript_document.h"

#include "transcript_look.h"

#include <QCoreApplication>
#include <QTextCursor>
#include <QTextDocument>

QString CTranscriptDocument::Heading(const CArchivedChat& chat)
{
    const QString when = CTranscriptLook::DateTimeText(chat.started);
    // The name comes with the participants; a chat that ended before has only its call.
    QString heading =
        chat.visitor.isEmpty()
            ? tr("Chat on call %1, %2, taken by %3")
                  .arg(QString::number(chat.callId), when, chat.operatorName)
            : tr("Chat with %1, %2, taken by %3").arg(chat.visitor, when, chat.operatorName);
    if (chat.transferred)
        heading = tr("%1 (transferred)").arg(heading);
    return heading;
}

int CTranscriptDocument::AppendChat(QTextDocument& document, const CArchivedChat& chat,
                                    const QList<CArchivedLine>& lines, bool dark, bool highlight)
{
    int firstMatch = -1;
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    const QTextCharFormat heading = CTranscriptLook::Format(CTranscriptLook::Part::Heading, dark);
    if (!document.isEmpty())
        CTranscriptLook::AppendParagraph(cursor, QString(), heading);
    CTranscriptLook::AppendParagraph(cursor, Heading(chat), heading);
    for (const CArchivedLine& line : lines) {
        const int start = CTranscriptLook::Append(cursor, line.line, true, dark);
        if (!highlight)
            continue;
        for (const CMatchRange& match : line.matches) {
            const int from = CTranscriptLook::ShownOffset(line.line.text, match.start);
            const int to = CTranscriptLook::ShownOffset(line.line.text, match.start + match.length);
            QTextCursor marked(&document);
            marked.setPosition(start + from);
            marked.setPosition(start + to, QTextCursor::KeepAnchor);
            marked.mergeCharFormat(CTranscriptLook::MatchFormat());
            if (firstMatch < 0)
                firstMatch = start + from;
        }
    }
    cursor.endEditBlock();
    return firstMatch;
}
