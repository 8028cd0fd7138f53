#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <functional>
#include <optional>

// A service under a well-known name on a connection of its own to the test's bus. Each call is
// answered with what the script returns for it, or held unanswered while the script returns
// nothing. Leaving the bus on destruction gives the name up and fails the calls still held.
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
        m_calls.append(call);
        if (const auto reply = m_script(call))
            m_bus.send(call.createReply(*reply));
        else
            m_held.append(call);
        return true;
    }
    QString introspect(const QString&) const override { return {}; }

    // The calls of that method so far.
    QList<QDBusMessage> Calls(const QString& member) const
    {
        QList<QDBusMessage> calls;
        for (const QDBusMessage& call : m_calls)
            if (call.member() == member)
                calls.append(call);
        return calls;
    }
    int HeldCount() const { return static_cast<int>(m_held.size()); }
    void Release(const QVariantList& reply)
    {
        for (const QDBusMessage& call : std::exchange(m_held, {}))
            m_bus.send(call.createReply(reply));
    }
    void Emit(const QString& path, const QString& interface, const QString& name,
              const QVariantList& args)
    {
        QDBusMessage signal = QDBusMessage::createSignal(path, interface, name);
        signal.setArguments(args);
        m_bus.send(signal);
    }

private:
    QDBusConnection m_bus;
    Script m_script;
    QList<QDBusMessage> m_calls;
    QList<QDBusMessage> m_held;
};
