#include "connection_state.h"

#include "console_texts.h"
#include "message_codes.h"

QString CConnectionState::StatusWord(int status)
{
    switch (status) {
    case OperatorStatus::kBusy:
        return QString::fromLatin1(ConsoleText::kStatusBusy);
    case OperatorStatus::kAway:
        return QString::fromLatin1(ConsoleText::kStatusAway);
    default:
        return QString::fromLatin1(ConsoleText::kStatusOnline);
    }
}

void CConnectionState::SetNotConnected()
{
    m_phase = Phase::NotConnected;
    m_login = true;
    m_session = false;
}

void CConnectionState::SetConnecting(const QString& server, bool closeLogin)
{
    m_phase = Phase::Connecting;
    m_server = server;
    if (closeLogin)
        m_login = false;
}

void CConnectionState::SetConnectFailed()
{
    m_phase = Phase::NotConnected;
    m_login = true;
}

void CConnectionState::SetLoggedIn(const QString& server)
{
    m_phase = Phase::Online;
    m_server = server;
    m_statusWord.clear();
    m_login = false;
    m_session = true;
}

void CConnectionState::SetStatus(int status, const QString& server)
{
    m_phase = Phase::Online;
    m_server = server;
    m_statusWord = StatusWord(status);
}

QString CConnectionState::Title() const
{
    switch (m_phase) {
    case Phase::NotConnected:
        return QString::fromLatin1(ConsoleText::kTitleNotConnected);
    case Phase::Connecting:
        return QString::fromLatin1(ConsoleText::kTitleConnecting).arg(m_server);
    case Phase::Online:
        if (m_statusWord.isEmpty())
            return QString::fromLatin1(ConsoleText::kTitleOnline).arg(m_server);
        return QString::fromLatin1(ConsoleText::kTitleStatus).arg(m_statusWord, m_server);
    }
    return {};
}
