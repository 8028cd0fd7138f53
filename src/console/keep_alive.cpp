#include "keep_alive.h"

#include "console_commands.h"

CKeepAlive::CKeepAlive(CConsoleCommands& commands, std::chrono::milliseconds period,
                       QObject* parent)
    : QObject(parent), m_commands(commands)
{
    m_timer.setInterval(period);
    connect(&m_timer, &QTimer::timeout, this, &CKeepAlive::OnTick);
    connect(&m_commands, &CConsoleCommands::KeepAliveFinished, this, &CKeepAlive::OnRoundFinished);
}

void CKeepAlive::Restart()
{
    m_timer.stop();
    m_timer.start();
}

void CKeepAlive::Stop()
{
    m_timer.stop();
}

void CKeepAlive::OnTick()
{
    emit MinuteTick();
    // Two log-ins at once would fight over the one connection.
    if (m_commands.IsConnecting())
        return;
    m_commands.StartKeepAlive(); // a round still running from the last tick decides for both
}

void CKeepAlive::OnRoundFinished(bool alive)
{
    if (!alive && m_timer.isActive())
        emit Failed();
}
