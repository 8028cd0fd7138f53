#include "keep_alive.h"

#include "session_bridge.h"

CKeepAlive::CKeepAlive(CSessionBridge& bridge, ConsoleTimings timings, QObject* parent)
    : QObject(parent), m_bridge(bridge), m_timings(timings)
{
    m_timer.setInterval(m_timings.keepAlivePeriod);
    connect(&m_timer, &QTimer::timeout, this, &CKeepAlive::OnTick);
    connect(&m_bridge, &CSessionBridge::KeepAliveFinished, this, &CKeepAlive::OnRoundFinished);
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
    if (m_bridge.IsConnecting())
        return;
    // A round still running from the last tick decides for both.
    m_bridge.KeepAlive({kTries, m_timings.keepAliveRetryWait});
}

void CKeepAlive::OnRoundFinished(bool alive)
{
    if (!alive && m_timer.isActive())
        emit Failed();
}
