#pragma once

#include "client_socket.h"

#include <QObject>
#include <QString>
#include <chrono>
#include <functional>

class CBanner;
class QTimer;
class QWidget;

// What the main window says while it is not connected, and the retries after a connection was
// lost: what happened ("Connection to chat.example.org:3030 lost", what connecting failed on),
// when the next attempt comes ("Reconnecting in 8 s", counted down), and "Retry now"; while
// connecting, "Connecting to ..." with "Cancel". The waits between attempts start short and
// double up to a longest one.
class CConnectionBanner final : public QObject
{
    Q_OBJECT

public:
    // retry makes the next attempt; cancel gives up the one under way.
    CConnectionBanner(QWidget* window, std::function<void()> retry, std::function<void()> cancel);

    CBanner* Widget() const { return m_banner; }
    void SetWaits(std::chrono::milliseconds first, std::chrono::milliseconds longest);

    // The sentence for what connecting to host:port failed on, or the server's refusal.
    static QString Cause(int result, ConnectFailure failure, const QString& host, int port);

    void Connecting(const QString& host, int port);
    // Connected: nothing to say, and the waits start short again.
    void Connected();
    // The operator ended the connection, or chose not to connect: nothing to say, no retry.
    void Quiet();
    // Says what happened; with retrying, an attempt is scheduled after the next wait.
    void Trouble(const QString& what, bool retrying);
    bool IsWaitingToRetry() const;

private:
    void ShowCountdown();

    CBanner* m_banner;
    QTimer* m_retryTimer;
    QTimer* m_countdown;
    std::function<void()> m_retry;
    std::function<void()> m_cancel;
    std::chrono::milliseconds m_first{3000};
    std::chrono::milliseconds m_longest{60000};
    std::chrono::milliseconds m_next{3000};
    QString m_what;
};
