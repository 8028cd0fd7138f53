#include "alert_check.h"

#include "bus_name_watch.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSystemTrayIcon>
#include <QTimer>

CAlertCheck::CAlertCheck(Probes probes, const QDBusConnection& bus, QObject* parent)
    : QObject(parent), m_probes(std::move(probes)),
      m_notifications(
          new CBusNameWatch(bus, QStringLiteral("org.freedesktop.Notifications"), this)),
      m_timer(new QTimer(this))
{
    connect(m_notifications, &CBusNameWatch::Changed, this, &CAlertCheck::Recheck);
    connect(m_timer, &QTimer::timeout, this, &CAlertCheck::Recheck);
    m_timer->start(kRecheckInterval);
    Recheck();
}

CAlertCheck* CAlertCheck::ForDesktop(QObject* parent)
{
    auto* check = new CAlertCheck({[] { return !QMediaDevices::audioOutputs().isEmpty(); },
                                   [] { return QSystemTrayIcon::isSystemTrayAvailable(); }},
                                  QDBusConnection::sessionBus(), parent);
    // The list of outputs is kept up to date by the multimedia backend, which says when it changes.
    auto* devices = new QMediaDevices(check);
    connect(devices, &QMediaDevices::audioOutputsChanged, check, &CAlertCheck::Recheck);
    return check;
}

void CAlertCheck::SetRecheckInterval(std::chrono::milliseconds interval)
{
    m_timer->start(interval);
}

void CAlertCheck::Recheck()
{
    Paths dead;
    dead.setFlag(Path::Sound, !m_probes.hasSoundOutput());
    dead.setFlag(Path::Tray, !m_probes.hasSystemTray());
    dead.setFlag(Path::Notifications,
                 m_notifications->Current() == CBusNameWatch::Presence::Absent);
    if (dead == m_dead)
        return;
    m_dead = dead;
    emit Changed(dead);
}

QStringList CAlertCheck::Banners() const
{
    QStringList banners;
    if (m_dead.testFlag(Path::Sound))
        banners << tr("Chat requests will not be heard: no sound output");
    if (m_dead.testFlag(Path::Tray))
        banners << tr("Chat requests will not show in the system tray: no system tray");
    if (m_dead.testFlag(Path::Notifications))
        banners << tr("Chat requests will not pop up on the desktop: no notification service");
    return banners;
}
