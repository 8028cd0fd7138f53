#pragma once

#include "window_placement.h"

#include <QList>
#include <QString>
#include <optional>

// Sections and value names of the layout profile, defined here once.
namespace LayoutSection {
inline constexpr char MainWindow[] = "MainWindow";
inline constexpr char ChatWindow[] = "ChatWindow"; // one section shared by every chat window
inline constexpr char UserList[] = "UserList";     // the operators list of the main window
inline constexpr char PageList[] = "PageList";     // the visitors list of the main window
} // namespace LayoutSection

namespace LayoutKey {
inline constexpr char Show[] = "Show";
inline constexpr char Left[] = "Left";
inline constexpr char Right[] = "Right";
inline constexpr char Top[] = "Top";
inline constexpr char Bottom[] = "Bottom";
inline constexpr char NumCols[] = "NumCols";
inline constexpr char ColumnPattern[] = "Col%1"; // Col0, Col1, ...
} // namespace LayoutKey

// Where the main window and the chat windows were and how wide the columns of the two lists
// were, from one run to the next: named integers in sections of an INI file, kept apart from
// the settings record. The windows read it when they first show and write it on a close
// request only. Values are never deleted, and reading or writing failures are not acted on:
// a value that cannot be read takes its default.
class CLayoutProfile final
{
public:
    // An empty path means the per-user profile; the console's demo mode passes its own.
    explicit CLayoutProfile(QString filePath = {});

    // $XDG_CONFIG_HOME/Parlendo/parlendo.ini (~/.config when the variable is not set), named
    // after the console's executable.
    static QString DefaultFilePath();
    const QString& FilePath() const { return m_filePath; }

    // 0, or rc::kFileNotSaved.
    int SaveWindowPlacement(const QString& section, const WindowPlacement& placement) const;
    // Nothing when no Show is stored (or it is -1): the window keeps its own place and size.
    // Edges that are absent take the defaults of WindowPlacement.
    std::optional<WindowPlacement> LoadWindowPlacement(const QString& section) const;

    // Stores NumCols and one width per column, by the column's own index. 0, or
    // rc::kFileNotSaved.
    int SaveColumnWidths(const QString& section, const QList<int>& widths) const;
    // The stored widths of the first min(NumCols, columnCount) columns, each the low 16 bits of
    // its stored value (an absent one is 0, which hides the column). Columns past the end of
    // the result keep their current width.
    QList<int> LoadColumnWidths(const QString& section, int columnCount) const;

private:
    int Write(const QString& section, const QList<std::pair<QString, int>>& values) const;

    QString m_filePath;
};
