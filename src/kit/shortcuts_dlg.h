#pragma once

#include "shortcut_table.h"

#include <QDialog>

// "Keyboard Shortcuts": every window's shortcuts, read from the tables that install them,
// under the name of each window. Opened from the about box and with F1. Modeless; it deletes
// itself when closed.
class CShortcutsDlg final : public QDialog
{
    Q_OBJECT

public:
    CShortcutsDlg(const QList<CShortcutTable>& tables, QWidget* parent = nullptr);

    // Opens the list over parent, or brings up the one already open there.
    static CShortcutsDlg* Open(const QList<CShortcutTable>& tables, QWidget* parent);
};
