#include "console_shortcuts.h"

#include "active_chats.h"

#include <QCoreApplication>

namespace {

QString Tr(const char* text)
{
    return QCoreApplication::translate("ConsoleShortcuts", text);
}

} // namespace

CShortcutTable ConsoleOwnShortcuts()
{
    // The desktop's own Quit keys, and Ctrl+Q where the desktop has none (Windows-style key
    // schemes leave Quit unbound).
    QList<QKeySequence> quit = QKeySequence::keyBindings(QKeySequence::Quit);
    if (!quit.contains(CShortcutTable::Ctrl(Qt::Key_Q)))
        quit.append(CShortcutTable::Ctrl(Qt::Key_Q));

    CShortcutTable table(Tr("Main window"));
    table
        .Add(QStringLiteral("statusOnline"), Tr("Set my status to Online"),
             {CShortcutTable::Ctrl(Qt::Key_1)})
        .Add(QStringLiteral("statusBusy"), Tr("Set my status to Busy"),
             {CShortcutTable::Ctrl(Qt::Key_2)})
        .Add(QStringLiteral("statusAway"), Tr("Set my status to Away"),
             {CShortcutTable::Ctrl(Qt::Key_3)})
        .Add(QStringLiteral("invite"), Tr("Invite the selected visitors to chat"),
             {CShortcutTable::Ctrl(Qt::Key_I)})
        .Add(QStringLiteral("acceptOldest"), Tr("Accept the oldest chat request"),
             {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A)})
        .AddByControl(Tr("Accept the chat request chosen in the list of requests"),
                      {QKeySequence(Qt::Key_Return)})
        .Add(QStringLiteral("cannedAnswers"), Tr("Edit the canned answers"),
             {CShortcutTable::Ctrl(Qt::Key_K)})
        .Add(QStringLiteral("openHistory"), Tr("Chat History"), {CShortcutTable::Ctrl(Qt::Key_H)})
        .Add(QStringLiteral("options"), Tr("Options"), {CShortcutTable::Ctrl(Qt::Key_Comma)})
        .Add(QStringLiteral("shortcuts"), Tr("Keyboard shortcuts (this list)"),
             {QKeySequence(Qt::Key_F1)})
        .Add(QStringLiteral("quit"), Tr("Quit"), quit);
    return table;
}

CShortcutTable ConsoleShortcuts()
{
    return ConsoleOwnShortcuts().Append(CActiveChats::KeyTable());
}
