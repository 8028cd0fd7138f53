#pragma once

#include <QString>

class CLayoutProfile;
class QHeaderView;
class QWidget;

// Applies the layout profile to windows and list headers: where a window was and how wide the
// columns of a list were. A placement that would come back on a monitor no longer there is
// brought onto the primary screen.
class CWindowLayout final
{
public:
    explicit CWindowLayout(const CLayoutProfile& profile) : m_profile(profile) {}

    // Before the window is first shown. Nothing stored: the window keeps its own size and place.
    // The cascade-th of several windows that share the section opens that many steps lower
    // right, and starts over at the top left of the screen where it would leave it.
    void RestoreWindow(QWidget* window, const QString& section, int cascade = 0) const;
    void SaveWindow(const QWidget* window, const QString& section) const;
    void RestoreColumns(QHeaderView* header, const QString& section) const;
    void SaveColumns(const QHeaderView* header, const QString& section) const;

private:
    const CLayoutProfile& m_profile;
};
