#include "chat_shortcuts.h"

#include "active_chats.h"
#include "canned_panel.h"
#include "chat_parts.h"
#include "flat_button.h"

#include <QCoreApplication>

namespace {

QString Tr(const char* text)
{
    return QCoreApplication::translate("ChatShortcuts", text);
}

} // namespace

CShortcutTable ChatOwnShortcuts()
{
    CShortcutTable table(Tr("Chat window"));
    table.AddByControl(Tr("Send the message"), {QKeySequence(Qt::Key_Return)})
        .AddByControl(Tr("Start a new line in the message"),
                      {QKeySequence(Qt::SHIFT | Qt::Key_Return)})
        .AddByControl(Tr("Canned answers that match what is typed next"),
                      {QKeySequence(Qt::CTRL | Qt::Key_Space)})
        .Add(QStringLiteral("cannedAnswers"), Tr("Go to the canned answers, or hide them"),
             {CShortcutTable::Ctrl(Qt::Key_K)})
        .AddByControl(Tr("Put the chosen canned answer into the message"),
                      {QKeySequence(Qt::Key_Return)})
        .Add(QStringLiteral("transferChat"), Tr("Transfer the chat to another operator"),
             {CShortcutTable::Ctrl(Qt::Key_T)})
        .Add(QStringLiteral("sendLink"), Tr("Send a link"), {CShortcutTable::Ctrl(Qt::Key_L)})
        .Add(QStringLiteral("sendImage"), Tr("Send an image"), {CShortcutTable::Ctrl(Qt::Key_I)})
        .Add(QStringLiteral("saveChat"), Tr("Save the chat as a rich text file"),
             QKeySequence::keyBindings(QKeySequence::Save))
        .Add(QStringLiteral("printChat"), Tr("Print the chat"),
             QKeySequence::keyBindings(QKeySequence::Print))
        // With Shift: it ends the call at once, so it takes more than a slip of the hand.
        .Add(QStringLiteral("closeChat"), Tr("End the chat; the window stays open"),
             {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W)})
        .Add(QStringLiteral("closeWindow"),
             Tr("Close the window (asks first while the chat goes on)"),
             {QKeySequence(Qt::Key_Escape)})
        .Add(QStringLiteral("shortcuts"), Tr("Keyboard shortcuts (this list)"),
             {QKeySequence(Qt::Key_F1)});
    return table;
}

CShortcutTable ChatShortcuts()
{
    return ChatOwnShortcuts().Append(CActiveChats::KeyTable());
}

void InstallChatShortcuts(QWidget* window, const CChatParts& parts,
                          std::function<void()> closeWindow, std::function<void()> showList)
{
    const CShortcutTable table = ChatOwnShortcuts();
    // The toolbar's tool-tips name the keys that press its buttons.
    for (CFlatButton* button : {parts.cannedAnswers, parts.transferChat, parts.sendLink,
                                parts.sendImage, parts.saveChat, parts.printChat, parts.closeChat})
        button->SetTooltip(table.ToolTip(button->objectName()), false);
    const auto press = &CShortcutTable::Press;
    table.Install(window, {{QStringLiteral("cannedAnswers"),
                            [panel = parts.cannedPanel](int) { panel->ToggleFocus(); }},
                           {QStringLiteral("transferChat"), press(parts.transferChat)},
                           {QStringLiteral("sendLink"), press(parts.sendLink)},
                           {QStringLiteral("sendImage"), press(parts.sendImage)},
                           {QStringLiteral("saveChat"), press(parts.saveChat)},
                           {QStringLiteral("printChat"), press(parts.printChat)},
                           {QStringLiteral("closeChat"), press(parts.closeChat)},
                           {QStringLiteral("closeWindow"), [closeWindow](int) { closeWindow(); }},
                           {QStringLiteral("shortcuts"), [showList](int) { showList(); }}});
}
