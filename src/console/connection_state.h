#pragma once

#include <QString>

// The connection state as the main window shows it: its title and which toolbar commands are
// open. Whether the operator is logged in is always the session's answer; this only remembers
// what the window last showed, so that every change goes through one place.
class CConnectionState final
{
public:
    enum class Phase
    {
        NotConnected,
        Connecting,
        Online,
    };

    // Not connected: Login open, the session commands closed.
    void SetNotConnected();
    // A connect attempt runs. A Login command (or the automatic log-in) closes Login while it
    // runs; a reconnection leaves it open, so that pressing it can explain why it waits.
    void SetConnecting(const QString& server, bool closeLogin);
    // A connect attempt failed: back to not connected, Login open; the rest as it was.
    void SetConnectFailed();
    // Just logged in: "Online", every session command open, Login closed.
    void SetLoggedIn(const QString& server);
    // The server confirmed a status.
    void SetStatus(int status, const QString& server);

    Phase GetPhase() const { return m_phase; }
    QString Title() const;
    bool LoginEnabled() const { return m_login; }
    bool LogoutEnabled() const { return m_session; }
    bool StatusEnabled() const { return m_session; }
    bool InviteEnabled() const { return m_session; }

private:
    Phase m_phase = Phase::NotConnected;
    QString m_server;
    QString m_statusWord;
    bool m_login = true;
    bool m_session = false;
};
