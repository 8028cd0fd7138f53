#include "bus_name_watch.h"

#include "bus_call.h"

#include <QDBusServiceWatcher>
#include <QMetaObject>

namespace {

QDBusMessage BusMethod(const QString& method, const QVariantList& args = {})
{
    const QString bus = QStringLiteral("org.freedesktop.DBus");
    QDBusMessage call =
        QDBusMessage::createMethodCall(bus, QStringLiteral("/org/freedesktop/DBus"), bus, method);
    call.setArguments(args);
    return call;
}

} // namespace

CBusNameWatch::CBusNameWatch(const QDBusConnection& bus, const QString& name, QObject* parent)
    : QObject(parent), m_bus(bus), m_name(name),
      m_watcher(new QDBusServiceWatcher(name, bus, QDBusServiceWatcher::WatchForOwnerChange, this))
{
    connect(m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this, &CBusNameWatch::Refresh);
    Refresh();
}

void CBusNameWatch::Ask(const QDBusConnection& bus, const QString& name, QObject* context,
                        std::function<void(bool present)> answer)
{
    if (!bus.isConnected()) {
        QMetaObject::invokeMethod(
            context, [answer = std::move(answer)] { answer(false); }, Qt::QueuedConnection);
        return;
    }
    // Owned first: the common case needs one round trip. An error reply counts as absent.
    CallAsync(bus, BusMethod(QStringLiteral("NameHasOwner"), {name}), context,
              [bus, name, context, answer = std::move(answer)](const QDBusMessage& owned) mutable {
                  if (ReplyValue(owned).toBool()) {
                      answer(true);
                      return;
                  }
                  CallAsync(bus, BusMethod(QStringLiteral("ListActivatableNames")), context,
                            [name, answer = std::move(answer)](const QDBusMessage& names) {
                                answer(ReplyValue(names).toStringList().contains(name));
                            });
              });
}

void CBusNameWatch::Refresh()
{
    const quint64 question = ++m_asked;
    Ask(m_bus, m_name, this, [this, question](bool present) {
        if (question != m_asked)
            return;
        const Presence now = present ? Presence::Present : Presence::Absent;
        if (now == m_presence)
            return;
        m_presence = now;
        emit Changed(now);
    });
}
