#include "base_url_dlg.h"

#include "app_settings.h"
#include "byte_length_validator.h"
#include "group_caption.h"
#include "settings_dlg_layout.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CBaseUrlDlg::CBaseUrlDlg(CAppSettings& settings, QWidget* parent)
    : QDialog(parent), m_settings(settings)
{
    static_assert(std::tuple_size_v<decltype(m_patterns)> ==
                  std::tuple_size_v<decltype(CAppSettings::m_baseUrl)>);
    setWindowTitle(tr("Domain Name Settings"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new CGroupCaption(tr("Domain Names"), this));
    auto* group = new QVBoxLayout;
    group->setContentsMargins(kGroupIndent, 0, 0, 0);
    auto* prompt = new QLabel(tr("Please enter the domain names that you want to be removed from "
                                 "the page URLs displayed in the Parlendo window:"),
                              this);
    prompt->setWordWrap(true);
    group->addWidget(prompt);
    auto* hint = new QLabel(tr("You can use the * wildcard to match for any number of characters "
                               "in the domain name."),
                            this);
    hint->setWordWrap(true);
    group->addWidget(hint);
    const int maxBytes = CAppSettings::MaxTextBytes(CAppSettings::kBaseUrlCapacity);
    for (size_t i = 0; i < m_patterns.size(); ++i) {
        auto* pattern = new QLineEdit(m_settings.m_baseUrl[i], this);
        pattern->setObjectName(QStringLiteral("baseUrl%1").arg(i + 1));
        pattern->setValidator(new CByteLengthValidator(maxBytes, pattern));
        pattern->setAccessibleName(tr("Domain name %1").arg(i + 1));
        group->addWidget(pattern);
        m_patterns[i] = pattern;
    }
    layout->addLayout(group);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CBaseUrlDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CBaseUrlDlg::reject);
    layout->addWidget(buttons);

    prompt->setMinimumWidth(fontMetrics().averageCharWidth() * kPromptWidthChars);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_patterns[0]->setFocus();
}

void CBaseUrlDlg::accept()
{
    for (size_t i = 0; i < m_patterns.size(); ++i)
        m_settings.m_baseUrl[i] = m_patterns[i]->text();
    // Saved at once, the result not looked at: the options dialog is where save failures are
    // reported, and the new patterns are in effect for this run whatever the outcome.
    m_settings.Save();
    QDialog::accept();
}
