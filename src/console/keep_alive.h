#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>

class CConsoleCommands;

// The console's keep-alive timer. Each tick advances the minutes of the visitor rows
// (MinuteTick) and runs a round of keep-alive tries on a worker; a round in which every try
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
    CKeepAlive(CConsoleCommands& commands, std::chrono::milliseconds period,
               QObject* parent = nullptr);

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

    CConsoleCommands& m_commands;
    QTimer m_timer;
};
