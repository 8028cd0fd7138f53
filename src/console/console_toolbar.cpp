#include "console_toolbar.h"

#include "art_icon_engine.h"
#include "flat_button.h"
#include "icon_menu.h"
#include "message_codes.h"
#include "toolbar_band.h"

#include <QHBoxLayout>
#include <memory>

namespace {

// Menu commands of the status menu; kept apart from any other command of the window. (No
// ": int" here: lupdate then loses track of the namespace and of every tr() below.)
enum StatusCommand
{
    kCommandOnline = 32771,
    kCommandBusy,
    kCommandAway,
    kCommandMute,
};

} // namespace

CConsoleToolbar::CConsoleToolbar(QWidget* parent)
    : QWidget(parent), m_band(new CToolbarBand(this))
{
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_band);

    const auto add = [this](const QString& text, const char* picture) {
        return m_band->AddButton(text, QStringLiteral(":/ui/%1.svg").arg(QLatin1String(picture)),
                                 QLatin1String(picture));
    };
    m_login = add(tr("Login"), "login");
    m_logout = add(tr("Logout"), "logout");
    m_status = add(tr("My Status"), "status");
    m_invite = add(tr("Invite to Chat"), "invite");
    m_settings = add(tr("View Settings"), "settings");
    m_canned = add(tr("Canned Answers"), "canned");
    m_about = add(tr("About"), "about");

    auto menu = std::make_unique<IconMenu>(tr("Status"));
    menu->SetIcons(CArtIconEngine::OperatorStates(), QSize(16, 16));
    menu->AddCommand(kCommandOnline, tr("Online"), OperatorStatus::kOnline);
    menu->AddCommand(kCommandBusy, tr("Busy"), OperatorStatus::kBusy);
    menu->AddCommand(kCommandAway, tr("Away"), OperatorStatus::kAway);
    menu->addSeparator();
    // One click away whatever the connection: a ring is no use in a meeting.
    m_mute = menu->AddCommand(kCommandMute, tr("Mute the chat request ring"));
    m_mute->setCheckable(true);
    m_status->SetMenu(std::move(menu), false);
    connect(m_status, &CFlatButton::MenuCommand, this, &CConsoleToolbar::OnMenuCommand);

    m_logout->setEnabled(false);
    // Enabled while logged in; the mute item in its menu is the tray's to offer otherwise.
    m_status->setEnabled(false);
    m_invite->setEnabled(false);
}

void CConsoleToolbar::OnMenuCommand(int command)
{
    switch (command) {
    case kCommandOnline:
        emit StatusChosen(OperatorStatus::kOnline);
        break;
    case kCommandBusy:
        emit StatusChosen(OperatorStatus::kBusy);
        break;
    case kCommandAway:
        emit StatusChosen(OperatorStatus::kAway);
        break;
    case kCommandMute:
        emit MuteChosen(m_mute->isChecked());
        break;
    default:
        break;
    }
}

void CConsoleToolbar::SetMuted(bool muted)
{
    m_mute->setChecked(muted);
}
