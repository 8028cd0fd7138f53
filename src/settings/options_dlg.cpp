#include "options_dlg.h"

#include "app_settings.h"
#include "app_theme.h"
#include "auto_run_entry.h"
#include "base_url_dlg.h"
#include "byte_length_validator.h"
#include "group_caption.h"
#include "ip_block_dlg.h"
#include "limited_text_edit.h"
#include "notifier.h"
#include "option_values.h"
#include "settings_dlg_layout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>
#include <utility>

namespace {

constexpr int kWelcomeLines = 4;
constexpr int kNumberEditChars = 8;

int CheckState(const QCheckBox* box)
{
    return box->isChecked() ? 1 : 0;
}

QCheckBox* AddCheckBox(QVBoxLayout* group, const QString& text, const char* name, int field,
                       QWidget* parent)
{
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QLatin1String(name));
    box->setChecked(field == 1);
    group->addWidget(box);
    return box;
}

// An edit that takes digits only, for the port and the timeout.
QLineEdit* NumberEdit(int value, const char* name, QWidget* parent)
{
    static const QRegularExpression digits(QStringLiteral("[0-9]*"));
    auto* edit = new QLineEdit(QString::number(value), parent);
    edit->setObjectName(QLatin1String(name));
    edit->setValidator(new QRegularExpressionValidator(digits, edit));
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('0')) * kNumberEditChars);
    return edit;
}

// A label that names a field, its mnemonic taking the focus there.
QLabel* Label(const QString& text, QWidget* field, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(field);
    return label;
}

QVBoxLayout* AddGroup(QVBoxLayout* frame, const QString& caption, QWidget* parent)
{
    frame->addWidget(new CGroupCaption(caption, parent));
    auto* group = new QVBoxLayout;
    group->setContentsMargins(kGroupIndent, 0, 0, 0);
    frame->addLayout(group);
    return group;
}

} // namespace

COptionsDlg::COptionsDlg(CAppSettings& settings, CNotifier& notifier, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_notifier(notifier)
{
    setWindowTitle(tr("Parlendo Options"));
    const int textBytes = CAppSettings::MaxTextBytes(CAppSettings::kTextCapacity);

    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Sunken);
    auto* groups = new QVBoxLayout(frame);

    // Server Address
    QVBoxLayout* group = AddGroup(groups, tr("Server Address"), frame);
    auto* server = new QGridLayout;
    m_serverAddress = new QLineEdit(m_settings.m_serverAddress, frame);
    m_serverAddress->setObjectName(QStringLiteral("serverAddress"));
    m_serverAddress->setValidator(new CByteLengthValidator(textBytes, m_serverAddress));
    m_serverPort = NumberEdit(m_settings.m_serverPort, "serverPort", frame);
    server->addWidget(Label(tr("Server &Address:"), m_serverAddress, frame), 0, 0);
    server->addWidget(m_serverAddress, 0, 1);
    server->addWidget(Label(tr("Server &Port:"), m_serverPort, frame), 1, 0);
    server->addWidget(m_serverPort, 1, 1, Qt::AlignLeft);
    server->setColumnStretch(1, 1);
    group->addLayout(server);

    // General Settings
    group = AddGroup(groups, tr("General Settings"), frame);
    m_autoRun = AddCheckBox(group, tr("Automatically &run Parlendo when the desktop session starts"), "autoRun",
                            m_settings.m_autoRun, frame);
    m_autoLogin = AddCheckBox(group, tr("Automatically &login to server when Parlendo starts"),
                              "autoLogin", m_settings.m_autoLogin, frame);
    m_reconnect = AddCheckBox(group, tr("Automatically re&connect when disconnected"), "reconnect",
                              m_settings.m_reconnect, frame);
    m_showHints = AddCheckBox(group, tr("Display events as system &tray notifications"), "showHints",
                              m_settings.m_showHints, frame);
    m_notifySound = AddCheckBox(group, tr("Play a &sound when receiving a new chat request"),
                                "notifySound", m_settings.m_notifySound, frame);
    m_lineSound = AddCheckBox(group, tr("Play a sound for a new line in a chat in the bac&kground"),
                              "lineSound", m_settings.m_lineSound, frame);
    m_chatTabs = AddCheckBox(group, tr("Show chats as ta&bs in one window"), "chatTabs",
                             m_settings.m_chatTabs, frame);
    m_transcriptTimes = AddCheckBox(group, tr("Show the ti&me of each line in chat windows"),
                                    "transcriptTimes", m_settings.m_transcriptTimes, frame);
    auto* history = new QHBoxLayout;
    m_historyDays = NumberEdit(m_settings.m_historyDays, "historyDays", frame);
    m_historyDays->setToolTip(tr("0 keeps every chat"));
    history->addWidget(Label(tr("Keep the chat &history for "), m_historyDays, frame));
    history->addWidget(m_historyDays);
    history->addWidget(new QLabel(tr("days (0: always)"), frame));
    history->addStretch(1);
    group->addLayout(history);
    auto* timeout = new QHBoxLayout;
    m_notifyTimeout = NumberEdit(m_settings.m_notifyTimeout, "notifyTimeout", frame);
    timeout->addWidget(Label(tr("Display &new chat requests for "), m_notifyTimeout, frame));
    timeout->addWidget(m_notifyTimeout);
    timeout->addWidget(new QLabel(tr("seconds"), frame));
    timeout->addStretch(1);
    group->addLayout(timeout);

    // Welcome Message
    auto* welcomeCaption = new CGroupCaption(tr("&Welcome Message"), frame);
    groups->addWidget(welcomeCaption);
    group = new QVBoxLayout;
    group->setContentsMargins(kGroupIndent, 0, 0, 0);
    groups->addLayout(group);
    m_welcomeMsg = new CLimitedTextEdit(textBytes, frame);
    welcomeCaption->SetBuddy(m_welcomeMsg);
    m_welcomeMsg->setObjectName(QStringLiteral("welcomeMsg"));
    m_welcomeMsg->setPlainText(m_settings.m_welcomeMsg);
    m_welcomeMsg->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_welcomeMsg->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_welcomeMsg->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_welcomeMsg->setFixedHeight(m_welcomeMsg->fontMetrics().lineSpacing() * kWelcomeLines +
                                 2 * m_welcomeMsg->frameWidth() +
                                 2 * static_cast<int>(m_welcomeMsg->document()->documentMargin()));
    group->addWidget(m_welcomeMsg);

    // Appearance
    group = AddGroup(groups, tr("Appearance"), frame);
    auto* themeRow = new QHBoxLayout;
    m_theme = new QComboBox(frame);
    m_theme->setObjectName(QStringLiteral("theme"));
    m_theme->addItem(tr("System"), CAppTheme::kSystem);
    m_theme->addItem(tr("Light"), CAppTheme::kLight);
    m_theme->addItem(tr("Dark"), CAppTheme::kDark);
    m_theme->setCurrentIndex(std::max(0, m_theme->findData(m_settings.m_theme)));
    themeRow->addWidget(Label(tr("Th&eme:"), m_theme, frame));
    themeRow->addWidget(m_theme);
    themeRow->addStretch(1);
    group->addLayout(themeRow);

    // Advanced Settings
    group = AddGroup(groups, tr("Advanced Settings"), frame);
    auto* advanced = new QGridLayout;
    auto* ipBlocking = new QPushButton(tr("&IP Blocking"), frame);
    ipBlocking->setObjectName(QStringLiteral("ipBlocking"));
    auto* domainNames = new QPushButton(tr("&Domain Names"), frame);
    domainNames->setObjectName(QStringLiteral("domainNames"));
    advanced->addWidget(
        new QLabel(tr("Do not show web site visitors coming from these IP addresses:"), frame), 0,
        0);
    advanced->addWidget(ipBlocking, 0, 1);
    advanced->addWidget(
        new QLabel(tr("Remove the domain name from the displayed web pages address:"), frame), 1,
        0);
    advanced->addWidget(domainNames, 1, 1);
    advanced->setColumnStretch(0, 1);
    const int buttonWidth =
        std::max(ipBlocking->sizeHint().width(), domainNames->sizeHint().width());
    ipBlocking->setMinimumWidth(buttonWidth);
    domainNames->setMinimumWidth(buttonWidth);
    group->addLayout(advanced);
    connect(ipBlocking, &QPushButton::clicked, this, &COptionsDlg::OnIpBlocking);
    connect(domainNames, &QPushButton::clicked, this, &COptionsDlg::OnDomainNames);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    // Only OK answers Enter: the two buttons above act on Enter only while they have the focus.
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &COptionsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &COptionsDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_serverAddress->setFocus();
}

void COptionsDlg::SetAutoRunEntry(CAutoRunEntry entry)
{
    m_autoRunEntry = std::move(entry);
}

void COptionsDlg::Refuse(const QString& message, QWidget* field)
{
    m_notifier.Inform(this, message, [field = QPointer<QWidget>(field)] {
        if (!field)
            return;
        field->setFocus(Qt::OtherFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(field.data()))
            edit->selectAll();
    });
}

void COptionsDlg::accept()
{
    // The port is checked first, and nothing is stored until both numbers are good.
    const std::optional<int> port = ServerPortFromText(m_serverPort->text());
    if (!port) {
        Refuse(tr("The server port must be a valid number."), m_serverPort);
        return;
    }
    const std::optional<int> timeout = NotifyTimeoutFromText(m_notifyTimeout->text());
    if (!timeout) {
        Refuse(tr("The alert timeout must be a valid number."), m_notifyTimeout);
        return;
    }
    bool daysRead = false;
    const int days = m_historyDays->text().trimmed().toInt(&daysRead);
    if (!daysRead || days < 0 || days > kMaxHistoryDays) {
        Refuse(tr("The days to keep the chat history must be a number from 0 to %1.")
                   .arg(kMaxHistoryDays),
               m_historyDays);
        return;
    }

    m_settings.m_serverAddress = m_serverAddress->text();
    m_settings.m_serverPort = *port;
    m_settings.m_notifySound = CheckState(m_notifySound);
    m_settings.m_autoRun = CheckState(m_autoRun);
    m_settings.m_autoLogin = CheckState(m_autoLogin);
    m_settings.m_reconnect = CheckState(m_reconnect);
    m_settings.m_showHints = CheckState(m_showHints);
    m_settings.m_chatTabs = CheckState(m_chatTabs);
    m_settings.m_transcriptTimes = CheckState(m_transcriptTimes);
    m_settings.m_lineSound = CheckState(m_lineSound);
    m_settings.m_notifyTimeout = *timeout;
    m_settings.m_historyDays = days;
    m_settings.m_welcomeMsg = m_welcomeMsg->toPlainText();
    m_settings.m_theme = m_theme->currentData().toInt();

    if (m_settings.Save() != 0) {
        // The record keeps the new values: they are in effect for this run either way.
        m_notifier.Inform(this, tr("There was an error while saving the Parlendo settings in the "
                                 "settings file.\nPlease check that you have the required "
                                 "permissions to modify the settings file."));
        return;
    }
    // An autostart entry that cannot be written or removed is not worth stopping for: the
    // option itself is saved, and the next OK tries again.
    m_autoRunEntry.Update(m_settings.m_autoRun == 1);
    CAppTheme::Apply(m_settings.m_theme);
    QDialog::accept();
}

void COptionsDlg::OnIpBlocking()
{
    CIpBlockDlg dialog(m_settings, this);
    dialog.exec();
}

void COptionsDlg::OnDomainNames()
{
    CBaseUrlDlg dialog(m_settings, this);
    dialog.exec();
}
