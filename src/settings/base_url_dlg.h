#pragma once

#include <QDialog>
#include <array>

class CAppSettings;
class QLineEdit;

// "Domain Name Settings": the five domain-name patterns (with * wildcards) that the console
// removes from the page addresses it shows. OK stores the five texts as typed into BaseUrl1 ..
// BaseUrl5 and saves the whole record at once, so the change stays even when the options
// dialog it was opened from is then cancelled. The patterns are not checked.
class CBaseUrlDlg final : public QDialog
{
    Q_OBJECT

public:
    // The record must outlive the dialog.
    explicit CBaseUrlDlg(CAppSettings& settings, QWidget* parent = nullptr);

    void accept() override;

private:
    CAppSettings& m_settings;
    std::array<QLineEdit*, 5> m_patterns{};
};
