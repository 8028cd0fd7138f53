#include "console_toolbar.h"

#include "dialog_units.h"
#include "flat_button.h"
#include "gradient_label.h"
#include "icon_menu.h"
#include "message_codes.h"
#include "toolbar_button.h"

#include <QHBoxLayout>
#include <QImage>
#include <algorithm>
#include <memory>

namespace {

// The status strip is drawn on magenta, which the menu leaves out.
const QColor kMenuMask(255, 0, 255);

// Menu commands of the status menu; kept apart from any other command of the window.
enum StatusCommand : int
{
    kCommandOnline = 32771,
    kCommandBusy,
    kCommandAway,
};

} // namespace

CConsoleToolbar::CConsoleToolbar(QWidget* parent)
    : QWidget(parent), m_band(new CGradientLabel(QString(), this))
{
    // The band lies behind the buttons and takes the toolbar's whole size; it is no item of the
    // layout, whose size is the buttons'.
    m_band->SetColours(SysColour::ScrollBar, SysColour::ScrollBar, SysColour::CaptionText);
    m_band->lower();

    const CDialogUnits units(font());
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(units.X(2), units.Y(2), units.X(2), units.Y(2));
    row->setSpacing(units.X(1));

    m_login = AddButton(QStringLiteral("Login"), QStringLiteral("login"));
    m_logout = AddButton(QStringLiteral("Logout"), QStringLiteral("logout"));
    m_status = AddButton(QStringLiteral("My Status"), QStringLiteral("status"));
    m_invite = AddButton(QStringLiteral("Invite to Chat"), QStringLiteral("invite"));
    m_settings = AddButton(QStringLiteral("View Settings"), QStringLiteral("settings"));
    m_canned = AddButton(QStringLiteral("Canned Answers"), QStringLiteral("canned"));
    m_about = AddButton(QStringLiteral("About"), QStringLiteral("about"));
    row->addStretch(1);

    const int height = units.Y(15);
    for (CFlatButton* button : findChildren<CFlatButton*>())
        button->setFixedHeight(std::max(height, button->sizeHint().height()));

    auto menu = std::make_unique<IconMenu>(QStringLiteral("Status"));
    menu->SetIconStrip(QImage(QStringLiteral(":/ui/status-strip.png")), QSize(16, 16), kMenuMask);
    menu->AddCommand(kCommandOnline, QStringLiteral("Online"), 0);
    menu->AddCommand(kCommandBusy, QStringLiteral("Busy"), 1);
    menu->AddCommand(kCommandAway, QStringLiteral("Away"), 2);
    m_status->SetMenu(std::move(menu), false);
    connect(m_status, &CFlatButton::MenuCommand, this, &CConsoleToolbar::OnMenuCommand);

    m_logout->setEnabled(false);
    m_status->setEnabled(false);
    m_invite->setEnabled(false);
}

CFlatButton* CConsoleToolbar::AddButton(const QString& text, const QString& picture)
{
    auto* button = new CFlatButton(text, this);
    SetUpToolbarButton(*button, QStringLiteral(":/ui/%1.png").arg(picture));
    layout()->addWidget(button);
    return button;
}

void CConsoleToolbar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_band->setGeometry(rect());
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
    default:
        break;
    }
}
