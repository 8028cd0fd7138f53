#pragma once

#include "console_timings.h"

#include <QObject>
#include <QTimer>

class CSessionBridge;

// The console's keep-alive timer. Each tick advances the minutes of the visitor rows
// (MinuteTick) and runs a round of keep-alive tries through the session bridge; a round in which every try
// failed is reported as Failed, on which the window logs out and may reconnect.
//
// The timer keeps running after the connection is lost, so while not connected every tick
// fails and the window tries to reconnect once a period. A tick that comes while a connect is
// still running leaves the connection to it, and a round that ends after the timer was stopped
// (the operator logged out meanwhile) is not reported.
class CKeepAlive final : public QObject
{
    Q_OBJECT

public:
    // Keep-alives sent in one round before the connection counts as lost.
    static constexpr int kTries = 4;

    CKeepAlive(CSessionBridge& bridge, ConsoleTimings timings, QObject* parent = nullptr);

    // Starts the timer afresh with its full period.
    void Restart();
    void Stop();
    bool IsActive() const { return m_timer.isActive(); }

signals:
    void MinuteTick();
    void Failed();

private:
    void OnTick();
    void OnRoundFinished(bool alive);

    CSessionBridge& m_bridge;
    const ConsoleTimings m_timings;
    QTimer m_timer;
};
