#pragma once

#include "auto_run_entry.h"

#include <QDialog>

class CAppSettings;
class CNotifier;
class CLimitedTextEdit;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

// "Parlendo Options": the operator's general options, edited in the one settings record of the
// process. Run it modally; its result needs no handling, since every reader takes its value
// from the record when it next needs it (a new server at the next connection, a new timeout at
// the next offered call).
//
// OK checks the port, then the timeout, and refuses the first that is not a valid number with
// a message, leaving the record as it was. Otherwise it stores every field, saves the record,
// brings the desktop's autostart entry in step with AutoRun and applies the chosen theme at once. A failed save is reported and
// the dialog stays open, the record keeping the new values in memory. Cancel changes nothing,
// except that what the "IP Blocking" and "Domain Names" dialogs saved stays saved.
class COptionsDlg final : public QDialog
{
    Q_OBJECT

public:
    // Ten years: beyond that the number is a slip of the keyboard.
    static constexpr int kMaxHistoryDays = 3650;

    // The record and the notifier must outlive the dialog.
    COptionsDlg(CAppSettings& settings, CNotifier& notifier, QWidget* parent = nullptr);

    // The autostart entry OK brings in step; the desktop's per-user one until set. A console
    // on a throw-away settings file (the demo) points it elsewhere, so that trying the option
    // does not start the console at the operator's next log-in.
    void SetAutoRunEntry(CAutoRunEntry entry);

    void accept() override;

private:
    // Shows a message over the dialog and puts the focus back into the field it is about.
    void Refuse(const QString& message, QWidget* field);
    void OnIpBlocking();
    void OnDomainNames();

    CAppSettings& m_settings;
    CNotifier& m_notifier;
    CAutoRunEntry m_autoRunEntry;
    QLineEdit* m_serverAddress = nullptr;
    QLineEdit* m_serverPort = nullptr;
    QCheckBox* m_autoRun = nullptr;
    QCheckBox* m_autoLogin = nullptr;
    QCheckBox* m_reconnect = nullptr;
    QCheckBox* m_showHints = nullptr;
    QCheckBox* m_notifySound = nullptr;
    QCheckBox* m_chatTabs = nullptr;
    QCheckBox* m_transcriptTimes = nullptr;
    QLineEdit* m_historyDays = nullptr;
    QCheckBox* m_lineSound = nullptr;
    QLineEdit* m_notifyTimeout = nullptr;
    CLimitedTextEdit* m_welcomeMsg = nullptr;
    QComboBox* m_theme = nullptr;
};
