#pragma once

#include "shortcut_table.h"

// The main window's keyboard shortcuts. The window installs ConsoleOwnShortcuts() itself; the
// keys that go from chat to chat, which CActiveChats installs, are in the list as well.
CShortcutTable ConsoleOwnShortcuts();
CShortcutTable ConsoleShortcuts();
