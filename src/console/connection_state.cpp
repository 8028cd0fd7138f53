#include "connection_state.h"

#include "status_word.h"

#include <QCoreApplication>

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
        return QCoreApplication::translate("COperatorDlg", "Parlendo - Not connected");
    case Phase::Connecting:
        return QCoreApplication::translate("COperatorDlg", "Parlendo - Connecting [%1]")
            .arg(m_server);
    case Phase::Online:
        if (m_statusWord.isEmpty())
            return QCoreApplication::translate("COperatorDlg", "Parlendo - Online [%1]")
                .arg(m_server);
        return QCoreApplication::translate("COperatorDlg", "Parlendo - %1 [%2]")
            .arg(m_statusWord, m_server);
    }
    return {};
}
