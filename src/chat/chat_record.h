#pragma once

#include "archive_records.h"

#include <QPointer>
#include <QString>

class CChatArchive;
class CTranscriptCtrl;

// Where a chat window's lines go: its transcript, and the history of every chat when the
// console keeps one. The chat is in the history from its opening to its end; lines written
// before it opened (a failed connect) are shown only.
class CChatRecord final
{
public:
    explicit CChatRecord(CTranscriptCtrl& transcript) : m_transcript(transcript) {}

    // Not owned; may be null.
    void SetArchive(CChatArchive* archive);

    void Begin(int callId, const QString& operatorName, bool transferred);
    void Write(LineKind kind, const QString& text, const QString& speaker = {}, bool own = false);
    void SetVisitor(const QString& visitor);
    void MarkTransferred();
    // Idempotent.
    void End();

private:
    CTranscriptCtrl& m_transcript;
    QPointer<CChatArchive> m_archive;
    quint64 m_key = 0; // the chat's key in the history, 0 while it is not there
};
