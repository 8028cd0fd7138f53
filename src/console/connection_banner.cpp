#include "connection_banner.h"

#include "banner.h"
#include "result_codes.h"
#include "result_text.h"

#include <QTimer>
#include <QWidget>
#include <algorithm>

CConnectionBanner::CConnectionBanner(QWidget* window, std::function<void()> retry,
                                     std::function<void()> cancel)
    : QObject(window), m_banner(new CBanner(QStringLiteral("connectionBanner"), window)),
      m_retryTimer(new QTimer(this)), m_countdown(new QTimer(this)), m_retry(std::move(retry)),
      m_cancel(std::move(cancel))
{
    m_retryTimer->setSingleShot(true);
    connect(m_retryTimer, &QTimer::timeout, this, [this] {
        m_countdown->stop();
        m_retry();
    });
    m_countdown->setInterval(1000);
    connect(m_countdown, &QTimer::timeout, this, &CConnectionBanner::ShowCountdown);
}

void CConnectionBanner::SetWaits(std::chrono::milliseconds first, std::chrono::milliseconds longest)
{
    m_first = first;
    m_longest = std::max(first, longest);
    m_next = m_first;
}

QString CConnectionBanner::Cause(int result, ConnectFailure failure, const QString& host, int port)
{
    const QString where = QStringLiteral("%1:%2").arg(host).arg(port);
    switch (failure) {
    case ConnectFailure::HostNotFound:
        return tr("The server %1 was not found: check the server address in the settings.")
            .arg(host);
    case ConnectFailure::Refused:
        return tr("%1 refused the connection: the server is not running there, or the port is "
                  "wrong.")
            .arg(where);
    case ConnectFailure::TimedOut:
        return tr("%1 did not answer in time.").arg(where);
    case ConnectFailure::Unreachable:
        return tr("%1 cannot be reached from this computer: check the network.").arg(where);
    case ConnectFailure::Cancelled:
        return tr("Connecting to %1 was cancelled.").arg(where);
    case ConnectFailure::None:
    case ConnectFailure::Other:
        break;
    }
    // Connected, then refused or cut off by the server: its own reason.
    return tr("%1: %2").arg(where, ResultText(result));
}

void CConnectionBanner::Connecting(const QString& host, int port)
{
    m_retryTimer->stop();
    m_countdown->stop();
    m_banner->Say(tr("Connecting to %1:%2...").arg(host).arg(port));
    m_banner->SetAction(tr("&Cancel"), [this] { m_cancel(); });
}

void CConnectionBanner::Connected()
{
    m_next = m_first;
    Quiet();
}

void CConnectionBanner::Quiet()
{
    m_retryTimer->stop();
    m_countdown->stop();
    m_banner->Say({});
}

void CConnectionBanner::Trouble(const QString& what, bool retrying)
{
    m_what = what;
    m_countdown->stop();
    if (!retrying) {
        m_retryTimer->stop();
        m_banner->Say(what, CBanner::Tone::Warning);
        m_banner->SetAction({}, {});
        return;
    }
    m_retryTimer->start(m_next);
    m_next = std::min(m_next * 2, m_longest);
    m_banner->SetAction(tr("Retry no&w"), [this] {
        m_retryTimer->stop();
        m_countdown->stop();
        m_retry();
    });
    ShowCountdown();
    m_countdown->start();
}

bool CConnectionBanner::IsWaitingToRetry() const
{
    return m_retryTimer->isActive();
}

void CConnectionBanner::ShowCountdown()
{
    const int seconds = std::max(1, (m_retryTimer->remainingTime() + 999) / 1000);
    m_banner->Say(m_what + QLatin1Char(' ') + tr("Reconnecting in %n s.", nullptr, seconds),
                  CBanner::Tone::Warning);
}
