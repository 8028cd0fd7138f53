#pragma once

#include <QHash>
#include <QKeySequence>
#include <QList>
#include <QString>
#include <functional>

class QAbstractButton;
class QAction;
class QWidget;

// One window's keyboard shortcuts in one table. The table makes the window's actions, and the
// "Keyboard shortcuts" list is read from it: what the operator reads there is what is installed.
//
// Keys that a control handles by itself (Enter in the chat's input box, Ctrl+Space for the
// canned answers) are listed too, marked so; the table installs nothing for them.
class CShortcutTable final
{
public:
    struct Entry
    {
        QString id; // the object name of the action made for it
        QString text;
        QList<QKeySequence> keys;
        // One command per key (Alt+1 ... Alt+9): the handler is told which key, from 0.
        bool eachKey = false;
        bool byControl = false;
    };
    // Runs the command of an entry; keyIndex is the place of the key pressed in an eachKey entry,
    // 0 for any other.
    using Handler = std::function<void(int keyIndex)>;

    explicit CShortcutTable(QString window);

    // A command that a button carries out: its key presses the button, while it is enabled.
    static Handler Press(QAbstractButton* button);
    // Ctrl (Command on a Mac) and the key.
    static QKeySequence Ctrl(Qt::Key key) { return QKeySequence(Qt::CTRL | key); }

    // The window's name as the list shows it.
    const QString& Window() const { return m_window; }
    const QList<Entry>& Entries() const { return m_entries; }

    CShortcutTable& Add(const QString& id, const QString& text, const QList<QKeySequence>& keys);
    CShortcutTable& AddEachKey(const QString& id, const QString& text,
                               const QList<QKeySequence>& keys);
    CShortcutTable& AddByControl(const QString& text, const QList<QKeySequence>& keys);
    // The entries of another table (keys shared by several windows), after these.
    CShortcutTable& Append(const CShortcutTable& other);

    // Makes an action on the window for every entry that is not by control, calling the handler
    // of its id, and returns them by id. An entry must have a handler and a handler an entry:
    // either mistake is reported as a warning and the odd one left out.
    QHash<QString, QAction*> Install(QWidget* window, const QHash<QString, Handler>& handlers,
                                     Qt::ShortcutContext context = Qt::WindowShortcut) const;

    // What a button's tool-tip says of its command: the entry's text and keys; empty for an id
    // not in the table.
    QString ToolTip(const QString& id) const;
    // The keys as the list shows them ("Ctrl+Tab, Ctrl+Shift+Tab"), in the desktop's words.
    static QString KeysText(const QList<QKeySequence>& keys);

private:
    QString m_window;
    QList<Entry> m_entries;
};
