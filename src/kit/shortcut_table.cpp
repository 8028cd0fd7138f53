#include "shortcut_table.h"

#include <QAbstractButton>
#include <QAction>
#include <QPointer>
#include <QSet>
#include <QStringList>
#include <QWidget>

CShortcutTable::CShortcutTable(QString window) : m_window(std::move(window)) {}

CShortcutTable::Handler CShortcutTable::Press(QAbstractButton* button)
{
    return [button = QPointer<QAbstractButton>(button)](int) {
        if (button && button->isEnabled())
            button->click();
    };
}

CShortcutTable& CShortcutTable::Add(const QString& id, const QString& text,
                                    const QList<QKeySequence>& keys)
{
    m_entries.append({id, text, keys, false, false});
    return *this;
}

CShortcutTable& CShortcutTable::AddEachKey(const QString& id, const QString& text,
                                           const QList<QKeySequence>& keys)
{
    m_entries.append({id, text, keys, true, false});
    return *this;
}

CShortcutTable& CShortcutTable::AddByControl(const QString& text,
                                             const QList<QKeySequence>& keys)
{
    m_entries.append({QString(), text, keys, false, true});
    return *this;
}

CShortcutTable& CShortcutTable::Append(const CShortcutTable& other)
{
    m_entries.append(other.m_entries);
    return *this;
}

QHash<QString, QAction*> CShortcutTable::Install(QWidget* window,
                                                 const QHash<QString, Handler>& handlers,
                                                 Qt::ShortcutContext context) const
{
    QHash<QString, QAction*> actions;
    QSet<QString> listed;
    for (const Entry& entry : m_entries) {
        if (entry.byControl)
            continue;
        listed.insert(entry.id);
        const Handler handler = handlers.value(entry.id);
        if (!handler) {
            qWarning("Shortcut %s of %s has no command", qPrintable(entry.id),
                     qPrintable(m_window));
            continue;
        }
        // An action per key where each key has a command of its own.
        const qsizetype count = entry.eachKey ? entry.keys.size() : 1;
        for (qsizetype i = 0; i < count; ++i) {
            auto* action = new QAction(entry.text, window);
            action->setObjectName(entry.eachKey ? entry.id + QString::number(i + 1) : entry.id);
            if (entry.eachKey)
                action->setShortcut(entry.keys.at(i));
            else
                action->setShortcuts(entry.keys);
            action->setShortcutContext(context);
            const int keyIndex = static_cast<int>(i);
            QObject::connect(action, &QAction::triggered, window,
                             [handler, keyIndex] { handler(keyIndex); });
            window->addAction(action);
            actions.insert(action->objectName(), action);
        }
    }
    for (auto it = handlers.cbegin(); it != handlers.cend(); ++it) {
        if (!listed.contains(it.key()))
            qWarning("Command %s of %s has no shortcut listed", qPrintable(it.key()),
                     qPrintable(m_window));
    }
    return actions;
}

QString CShortcutTable::ToolTip(const QString& id) const
{
    for (const Entry& entry : m_entries) {
        if (entry.id == id && !entry.byControl)
            return QStringLiteral("%1 (%2)").arg(entry.text, KeysText(entry.keys));
    }
    return {};
}

QString CShortcutTable::KeysText(const QList<QKeySequence>& keys)
{
    QStringList shown;
    for (const QKeySequence& key : keys)
        shown.append(key.toString(QKeySequence::NativeText));
    return shown.join(QStringLiteral(", "));
}
