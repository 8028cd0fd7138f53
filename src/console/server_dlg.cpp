#include "server_dlg.h"

#include "app_settings.h"
#include "notifier.h"
#include "option_values.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CServerDlg::CServerDlg(CAppSettings& settings, CNotifier& notifier, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_notifier(notifier),
      m_address(new QLineEdit(settings.m_serverAddress, this)),
      m_port(new QLineEdit(QString::number(settings.m_serverPort), this))
{
    setWindowTitle(tr("Parlendo Server"));
    m_address->setObjectName(QStringLiteral("serverAddress"));
    m_port->setObjectName(QStringLiteral("serverPort"));
    m_address->setPlaceholderText(tr("chat.example.org"));
    m_port->setMaxLength(5);
    auto* prompt = new QLabel(tr("Which Parlendo server does your account use? Your "
                                 "administrator or the welcome mail of your account names it."),
                              this);
    prompt->setWordWrap(true);
    auto* form = new QFormLayout;
    form->addRow(tr("Server &address:"), m_address);
    form->addRow(tr("Server &port:"), m_port);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CServerDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CServerDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(fontMetrics().averageCharWidth() * 56);
    m_address->setFocus();
}

void CServerDlg::accept()
{
    const QString address = m_address->text().trimmed();
    if (address.isEmpty()) {
        m_notifier.Inform(this, tr("Please type in the address of your Parlendo server."));
        return;
    }
    const std::optional<int> port = ServerPortFromText(m_port->text());
    if (!port) {
        m_notifier.Inform(this, tr("The server port must be a valid number."));
        return;
    }
    m_settings.m_serverAddress = address;
    m_settings.m_serverPort = *port;
    if (m_settings.Save() != 0) {
        m_notifier.Inform(this, tr("There was an error while saving the Parlendo settings in "
                                   "the settings file.\nPlease check that you have the required "
                                   "permissions to modify the settings file."));
        return;
    }
    QDialog::accept();
}
