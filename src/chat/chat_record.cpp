#include "chat_record.h"

#include "chat_archive.h"
#include "transcript_ctrl.h"

#include <QDateTime>

void CChatRecord::SetArchive(CChatArchive* archive)
{
    m_archive = archive;
}

void CChatRecord::Begin(int callId, const QString& operatorName, bool transferred)
{
    if (!m_archive || m_key != 0)
        return;
    m_key = m_archive->BeginChat(callId, operatorName);
    if (transferred)
        m_archive->MarkTransferred(m_key);
}

void CChatRecord::Write(LineKind kind, const QString& text, const QString& speaker, bool own)
{
    CTranscriptLine line;
    line.at = QDateTime::currentMSecsSinceEpoch();
    line.kind = kind;
    line.speaker = speaker;
    line.own = own;
    line.text = text;
    m_transcript.Append(line);
    if (m_archive && m_key != 0)
        m_archive->AddLine(m_key, line);
}

void CChatRecord::SetVisitor(const QString& visitor)
{
    if (m_archive && m_key != 0)
        m_archive->SetVisitor(m_key, visitor);
}

void CChatRecord::MarkTransferred()
{
    if (m_archive && m_key != 0)
        m_archive->MarkTransferred(m_key);
}

void CChatRecord::End()
{
    if (m_archive && m_key != 0)
        m_archive->EndChat(m_key);
    m_key = 0;
}
