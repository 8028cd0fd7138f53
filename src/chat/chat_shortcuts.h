#pragma once

#include "shortcut_table.h"

#include <functional>

struct CChatParts;
class QWidget;

// The chat window's keyboard shortcuts. The window installs ChatOwnShortcuts() itself; the keys
// that go from chat to chat, which CActiveChats installs, are in the list as well.
CShortcutTable ChatOwnShortcuts();
CShortcutTable ChatShortcuts();

// Installs ChatOwnShortcuts() on a chat window made of parts, the keys named in its toolbar's
// tool-tips. The toolbar's keys press its buttons, so they do nothing while a button is
// disabled (no call held); the canned answers key goes into the panel's list and back; Escape
// and F1 run the window's own commands.
void InstallChatShortcuts(QWidget* window, const CChatParts& parts,
                          std::function<void()> closeWindow, std::function<void()> showList);
