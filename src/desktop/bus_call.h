#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QObject>
#include <QVariant>
#include <utility>

// Sends a method call without waiting and hands the reply (an error reply included) to then,
// on context's thread. then never runs before CallAsync returns, nor once context is gone.
template <typename Then>
void CallAsync(const QDBusConnection& bus, const QDBusMessage& call, QObject* context, Then then)
{
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [watcher, then = std::move(then)]() mutable {
                         watcher->deleteLater();
                         then(watcher->reply());
                     });
}

// The first value of a reply; invalid for an error reply or one that carries nothing.
inline QVariant ReplyValue(const QDBusMessage& reply)
{
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return reply.arguments().constFirst();
}
