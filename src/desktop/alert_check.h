#pragma once

#include <QDBusConnection>
#include <QFlags>
#include <QObject>
#include <QStringList>
#include <chrono>
#include <functional>

class CBusNameWatch;
class QTimer;

// Checks the ways a chat request reaches the operator while the console is out of sight, and
// says in plain words what the operator would miss through each one that is dead: no sound
// output to ring on, no system tray for the icon and its balloons, no notification service for
// desktop notifications. Checked at once, whenever the notification service comes or goes,
// whenever the sound outputs change (ForDesktop) and every recheck interval, since a system tray
// that appears or goes away says nothing.
class CAlertCheck final : public QObject
{
    Q_OBJECT

public:
    enum class Path
    {
        Sound = 0x1,
        Tray = 0x2,
        Notifications = 0x4
    };
    Q_DECLARE_FLAGS(Paths, Path)

    // How the check sees sound and tray; the desktop's own in ForDesktop, stand-ins in tests.
    struct Probes
    {
        std::function<bool()> hasSoundOutput;
        std::function<bool()> hasSystemTray;
    };

    static constexpr std::chrono::seconds kRecheckInterval{10};

    // The notification service is looked for on bus.
    CAlertCheck(Probes probes, const QDBusConnection& bus, QObject* parent = nullptr);
    // The check of this desktop: the audio outputs, the system tray and the session bus.
    static CAlertCheck* ForDesktop(QObject* parent = nullptr);

    void SetRecheckInterval(std::chrono::milliseconds interval);

    // The paths known dead. The notification service counts as alive until the bus has answered.
    Paths DeadPaths() const { return m_dead; }
    // One line per dead path for a banner, saying what the operator would miss.
    QStringList Banners() const;

public slots:
    void Recheck();

signals:
    void Changed(CAlertCheck::Paths dead);

private:
    Probes m_probes;
    CBusNameWatch* m_notifications;
    QTimer* m_timer;
    Paths m_dead;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(CAlertCheck::Paths)
