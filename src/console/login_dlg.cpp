#include "login_dlg.h"

#include "app_settings.h"
#include "dialog_picture.h"
#include "dialog_units.h"
#include "link_static.h"
#include "notifier.h"
#include "server_dlg.h"
#include "service_pages.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CLoginDlg::CLoginDlg(CAppSettings& settings, CNotifier& notifier, const CUrlLauncher* launcher,
                     QWidget* parent)
    : QDialog(parent), m_settings(settings), m_notifier(notifier), m_username(new QLineEdit(this)),
      m_password(new QLineEdit(this)),
      m_remember(new QCheckBox(tr("&Remember my username and password"), this)),
      m_ok(nullptr)
{
    setWindowTitle(tr("Parlendo Login"));
    const CDialogUnits units(font());

    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    auto* row = new QHBoxLayout(frame);
    row->setContentsMargins(units.X(2), units.Y(1), units.X(6), units.Y(4));
    row->setSpacing(units.X(6));
    row->addWidget(new CDialogPicture(68, 100, frame), 0, Qt::AlignTop);

    auto* content = new QGridLayout;
    content->setHorizontalSpacing(units.X(4));
    content->setVerticalSpacing(units.Y(3));
    auto* prompt =
        new QLabel(tr("Please type in your Parlendo username and password:"), frame);
    prompt->setWordWrap(true);
    content->addWidget(prompt, 0, 0, 1, 2);
    auto* usernameLabel = new QLabel(tr("&Username:"), frame);
    usernameLabel->setBuddy(m_username);
    auto* passwordLabel = new QLabel(tr("&Password:"), frame);
    passwordLabel->setBuddy(m_password);
    content->addWidget(usernameLabel, 1, 0);
    content->addWidget(m_username, 1, 1);
    content->addWidget(passwordLabel, 2, 0);
    content->addWidget(m_password, 2, 1);
    content->addWidget(m_remember, 3, 0, 1, 2);
    content->addWidget(new QLabel(tr("Don't have a username and password yet?"), frame),
                       4, 0, 1, 2);
    auto* signUp = new CLinkStatic(tr("Click here to create a new account"), frame);
    signUp->setObjectName(QStringLiteral("signUp"));
    signUp->SetLauncher(launcher);
    signUp->SetUrl(ServicePages::SignUp(settings.m_serverAddress).toString());
    content->addWidget(signUp, 5, 0, 1, 2, Qt::AlignLeft);
    // Where the log-in goes, and one click to change it.
    m_server = new QLabel(frame);
    m_server->setObjectName(QStringLiteral("server"));
    m_server->setTextFormat(Qt::PlainText);
    auto* change = new QPushButton(tr("C&hange..."), frame);
    change->setObjectName(QStringLiteral("changeServer"));
    change->setAutoDefault(false);
    connect(change, &QPushButton::clicked, this, [this] {
        CServerDlg dialog(m_settings, m_notifier, this);
        if (dialog.exec() == QDialog::Accepted)
            ShowServer();
    });
    auto* serverRow = new QHBoxLayout;
    serverRow->addWidget(m_server, 1);
    serverRow->addWidget(change);
    content->addLayout(serverRow, 6, 0, 1, 2);
    content->setRowStretch(7, 1);
    row->addLayout(content, 1);
    ShowServer();

    m_username->setObjectName(QStringLiteral("username"));
    m_password->setObjectName(QStringLiteral("password"));
    m_remember->setObjectName(QStringLiteral("remember"));
    m_password->setEchoMode(QLineEdit::Password);
    m_username->setMinimumWidth(units.X(102));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CLoginDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CLoginDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(units.X(7), units.Y(7), units.X(7), units.Y(7));
    layout->setSpacing(units.Y(6));
    layout->addWidget(frame);
    layout->addWidget(buttons);

    m_username->setText(settings.m_username);
    if (settings.m_saveLogin == 1) {
        m_password->setText(settings.m_password);
        m_remember->setChecked(true);
    }
    connect(m_username, &QLineEdit::textChanged, this, &CLoginDlg::UpdateOk);
    connect(m_password, &QLineEdit::textChanged, this, &CLoginDlg::UpdateOk);
    UpdateOk();
    (m_username->text().isEmpty() ? m_username : m_password)->setFocus();
}

void CLoginDlg::ShowServer()
{
    m_server->setText(tr("Server: %1:%2")
                          .arg(m_settings.m_serverAddress)
                          .arg(m_settings.m_serverPort));
}

void CLoginDlg::UpdateOk()
{
    m_ok->setEnabled(!m_username->text().isEmpty() && !m_password->text().isEmpty());
}

void CLoginDlg::accept()
{
    if (m_username->text().isEmpty() || m_password->text().isEmpty()) {
        m_notifier.Inform(this, tr("You must type in your username and password to login to the "
                                   "Parlendo server."));
        return;
    }
    m_settings.m_username = m_username->text();
    m_settings.m_password = m_password->text();
    m_settings.m_saveLogin = m_remember->isChecked() ? 1 : 0;
    m_settings.Save();
    QDialog::accept();
}
