#pragma once

#include <Qt>

// Item data roles through which the main window works the rows of its two lists, whatever
// model holds them. Column 0 of every row carries them.
namespace ListRole {
// The visitor or operator id (int).
inline constexpr int Id = Qt::UserRole + 1;
// Visitors: the visitor has been invited (bool); set by the invitation command, never cleared.
inline constexpr int Invited = Qt::UserRole + 2;
// Visitors: the minutes the row has been listed (int); the keep-alive tick adds one.
inline constexpr int Minutes = Qt::UserRole + 3;
} // namespace ListRole
