#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <functional>

class QDBusServiceWatcher;

// Whether a service can be reached under a name on a bus: someone owns the name now, or the bus
// would start its owner on the first call. Kept up to date as owners come and go.
//
// Every answer comes from the bus asynchronously, so nothing here ever waits on a bus that is
// slow or stuck; until the first answer the presence is Unknown. All on the thread the object
// lives in.
class CBusNameWatch final : public QObject
{
    Q_OBJECT

public:
    enum class Presence
    {
        Unknown,
        Present,
        Absent
    };

    // Starts asking at once.
    CBusNameWatch(const QDBusConnection& bus, const QString& name, QObject* parent = nullptr);

    Presence Current() const { return m_presence; }

    // One question, no watching: answer(true) when the name is owned or activatable. answer runs
    // later on context's thread, never before Ask returns, and not at all once context is gone.
    static void Ask(const QDBusConnection& bus, const QString& name, QObject* context,
                    std::function<void(bool present)> answer);

signals:
    // After each answer that differs from the one before.
    void Changed(CBusNameWatch::Presence presence);

private:
    void Refresh();

    QDBusConnection m_bus;
    QString m_name;
    QDBusServiceWatcher* m_watcher;
    Presence m_presence = Presence::Unknown;
    // Answers to older questions may arrive after newer ones; only the latest counts.
    quint64 m_asked = 0;
};
