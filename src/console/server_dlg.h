#pragma once

#include <QDialog>

class CAppSettings;
class CNotifier;
class QLineEdit;

// "Parlendo Server": the address and port of the chat server the operator logs in to, asked at
// the first start and reached from the login dialog in one click. OK checks the port and saves
// the settings; a failure to save is said and the dialog stays.
class CServerDlg final : public QDialog
{
    Q_OBJECT

public:
    // Neither is owned; both must outlive the dialog.
    CServerDlg(CAppSettings& settings, CNotifier& notifier, QWidget* parent = nullptr);

    void accept() override;

private:
    CAppSettings& m_settings;
    CNotifier& m_notifier;
    QLineEdit* m_address;
    QLineEdit* m_port;
};
