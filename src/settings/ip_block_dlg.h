#pragma once

#include <QDialog>
#include <array>

class CAppSettings;
class CIpAddressEdit;

// "IP Blocking Settings": the five visitor addresses whose visitors the console does not list.
// OK stores the five fields into BlockIp1 .. BlockIp5 and saves the whole record at once, so
// the change stays even when the options dialog it was opened from is then cancelled. The
// addresses are not checked; a field left blank stores an empty text.
class CIpBlockDlg final : public QDialog
{
    Q_OBJECT

public:
    // The record must outlive the dialog.
    explicit CIpBlockDlg(CAppSettings& settings, QWidget* parent = nullptr);

    void accept() override;

private:
    CAppSettings& m_settings;
    std::array<CIpAddressEdit*, 5> m_addresses{};
};
