#pragma once

#include <QDialog>

class CUrlLauncher;

// "About Parlendo": name, version, the service's web site and the licence agreement, which is
// the license.txt shipped beside the executable, and a button for the list of keyboard shortcuts.
class CAboutDlg final : public QDialog
{
    Q_OBJECT

public:
    static constexpr char kWebSite[] = "https://www.parlendo.net/";
    static constexpr char kLicenceFile[] = "license.txt";

    // launcher may be null (the desktop's); not owned.
    explicit CAboutDlg(const CUrlLauncher* launcher = nullptr, QWidget* parent = nullptr);

signals:
    // "Keyboard Shortcuts" was pressed.
    void ShortcutsWanted();
};
