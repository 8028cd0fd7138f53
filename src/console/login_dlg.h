#pragma once

#include <QDialog>

class CAppSettings;
class CNotifier;
class CUrlLauncher;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "Parlendo Login": the operator confirms the username and password the next connect uses.
//
// It opens with the stored username, and with the stored password only when the operator asked
// for it to be remembered. OK stays closed until both fields hold text. On OK the texts and the
// check box go into the settings record, which is saved (a failure to save is not reported:
// the log-in goes ahead with what was typed). The password is stored whatever the check box
// says; the box decides only whether the next login dialog and the automatic log-in use it.
class CLoginDlg final : public QDialog
{
    Q_OBJECT

public:
    // launcher may be null (the desktop's); neither it nor the others are owned.
    CLoginDlg(CAppSettings& settings, CNotifier& notifier, const CUrlLauncher* launcher = nullptr,
              QWidget* parent = nullptr);

    void accept() override;

private:
    void UpdateOk();
    void ShowServer();

    CAppSettings& m_settings;
    CNotifier& m_notifier;
    QLineEdit* m_username;
    QLineEdit* m_password;
    QCheckBox* m_remember;
    QLabel* m_server = nullptr;
    QPushButton* m_ok;
};
