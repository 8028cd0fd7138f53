#include "ip_block_dlg.h"

#include "app_settings.h"
#include "group_caption.h"
#include "ip_address_edit.h"
#include "settings_dlg_layout.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CIpBlockDlg::CIpBlockDlg(CAppSettings& settings, QWidget* parent)
    : QDialog(parent), m_settings(settings)
{
    static_assert(std::tuple_size_v<decltype(m_addresses)> ==
                  std::tuple_size_v<decltype(CAppSettings::m_blockIp)>);
    setWindowTitle(tr("IP Blocking Settings"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new CGroupCaption(tr("IP Blocking"), this));
    auto* group = new QVBoxLayout;
    group->setContentsMargins(kGroupIndent, 0, 0, 0);
    auto* prompt = new QLabel(tr("Please enter the IP addresses of the users that you don't want "
                                 "to be shown as visitors in the Parlendo window:"),
                              this);
    prompt->setWordWrap(true);
    group->addWidget(prompt);
    for (size_t i = 0; i < m_addresses.size(); ++i) {
        auto* address = new CIpAddressEdit(this);
        address->setObjectName(QStringLiteral("blockIp%1").arg(i + 1));
        address->SetText(m_settings.m_blockIp[i]);
        address->SetAccessibleName(tr("Blocked IP address %1").arg(i + 1));
        group->addWidget(address);
        m_addresses[i] = address;
    }
    layout->addLayout(group);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CIpBlockDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CIpBlockDlg::reject);
    layout->addWidget(buttons);

    prompt->setMinimumWidth(fontMetrics().averageCharWidth() * kPromptWidthChars);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_addresses[0]->setFocus();
}

void CIpBlockDlg::accept()
{
    for (size_t i = 0; i < m_addresses.size(); ++i)
        m_settings.m_blockIp[i] = m_addresses[i]->Text();
    // The options dialog reports save failures; here, as for the domain names, the new list
    // is in effect for this run whatever the outcome.
    m_settings.Save();
    QDialog::accept();
}
