#include "console_commands.h"

#include "qt_operator_session.h"

#include <string>

CConsoleCommands::CConsoleCommands(COperatorSession& session, ConsoleTimings timings,
                                   QObject* parent)
    : QObject(parent), m_session(session), m_timings(timings), m_pool(this)
{
}

CConsoleCommands::~CConsoleCommands()
{
    Shutdown();
}

bool CConsoleCommands::StartConnect(const Credentials& credentials, bool reconnect)
{
    if (m_connecting || m_shutDown)
        return false;
    const bool started = m_pool.Start([this, host = credentials.server.toStdString(),
                                       port = static_cast<std::uint16_t>(credentials.port),
                                       user = credentials.username.toStdString(),
                                       password = credentials.password.toStdString()] {
        const int result = m_session.Login(host, port, user, password);
        m_pool.Report([this, result] {
            const bool wasReconnect = m_reconnecting;
            m_connecting = false;
            m_reconnecting = false;
            emit ConnectFinished(result, wasReconnect);
        });
    });
    if (started) {
        m_connecting = true;
        m_reconnecting = reconnect;
    }
    return started;
}

bool CConsoleCommands::StartStatus(int status)
{
    return m_pool.Start([this, status] {
        const int result = m_session.SetStatus(status);
        if (result < 0)
            m_pool.Report([this, result] { emit StatusFailed(result); });
    });
}

bool CConsoleCommands::StartInvite(std::vector<int> visitorIds, const QString& username)
{
    if (IsInviting() || visitorIds.empty())
        return false;
    m_inviteList = std::move(visitorIds);
    const bool started = m_pool.Start([this, ids = m_inviteList, name = username.toStdString()] {
        int result = 0;
        for (const int id : ids) {
            result = m_session.InviteVisitor(id, name);
            if (result < 0)
                break;
        }
        m_pool.Report([this, result] {
            m_inviteList.clear(); // ends the guard
            emit InviteFinished(result);
        });
    });
    if (!started)
        m_inviteList.clear();
    return started;
}

bool CConsoleCommands::StartListRequests()
{
    return m_pool.Start([this] {
        // A failed send has ended the session already; a second request would only end it again.
        if (m_session.RequestOperators() >= 0)
            m_session.RequestVisitors();
    });
}

bool CConsoleCommands::StartKeepAlive()
{
    if (m_keepingAlive)
        return false;
    const bool started = m_pool.Start([this] {
        bool alive = false;
        for (int attempt = 1; attempt <= kKeepAliveTries; ++attempt) {
            if (m_session.KeepAlive() >= 0) {
                alive = true;
                break;
            }
            // Cut short at shutdown, which then drops the report anyway.
            if (attempt < kKeepAliveTries && !m_pool.Sleep(m_timings.keepAliveRetryWait))
                return;
        }
        m_pool.Report([this, alive] {
            m_keepingAlive = false;
            emit KeepAliveFinished(alive);
        });
    });
    m_keepingAlive = started;
    return started;
}

int CConsoleCommands::Shutdown()
{
    if (m_shutDown)
        return m_stragglers;
    m_shutDown = true;
    m_pool.Stop();
    // A worker blocked sending or waiting for a log-in reply wakes once the socket is closed.
    m_session.Disconnect(COperatorSession::kReasonDestroyed);
    m_stragglers = m_pool.JoinAll(m_timings.workerJoinBound);
    return m_stragglers;
}
