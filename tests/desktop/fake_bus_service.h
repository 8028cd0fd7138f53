#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QHash>
#include <functional>
#include <optional>

// A service on a connection of its own to the test's bus: a call gets what the script returns,
// or is held while it returns nothing. Leaving the bus gives the name up, failing held calls.
class CFakeBusService final : public QDBusVirtualObject
{
public:
    using Script = std::function<std::optional<QVariantList>(const QDBusMessage&)>;

    CFakeBusService(const QString& name, Script script)
        : m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, name)),
          m_script(std::move(script))
    {
        m_bus.registerVirtualObject(QStringLiteral("/"), this, QDBusConnection::SubPath);
        m_bus.registerService(name);
    }
    ~CFakeBusService() override { QDBusConnection::disconnectFromBus(m_bus.name()); }

    bool handleMessage(const QDBusMessage& call, const QDBusConnection&) override
    {
        m_calls[call.member()].append(call.arguments());
        if (const auto reply = m_script(call))
            m_bus.send(call.createReply(*reply));
        else
            m_held.append(call);
        return true;
    }
    QString introspect(const QString&) const override { return {}; }

    QDBusConnection m_bus;
    QHash<QString, QList<QVariantList>> m_calls; // by method
    QList<QDBusMessage> m_held;
    Script m_script;
};
