#include "tray_icon.h"

#include "app_settings.h"
#include "message_codes.h"
#include "status_word.h"
#include "tray_notice.h"

#include <QMenu>
#include <QPainter>
#include <QSvgRenderer>

namespace {

// Drawn from the SVG at the sizes notification areas ask for, so that no icon engine plugin is
// needed at run time.
QIcon IconFromSvg(const QString& path)
{
    QSvgRenderer renderer(path);
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

CTrayIcon::CTrayIcon(const CAppSettings* settings, QObject* parent)
    : QObject(parent), m_settings(settings), m_icon(new QSystemTrayIcon(this))
{
    connect(m_icon, &QSystemTrayIcon::activated, this, &CTrayIcon::OnActivated);
    BuildMenu();
}

void CTrayIcon::BuildMenu()
{
    // Not a child of any widget: a menu of a window that hides itself to the tray would go
    // with it.
    m_menu = std::make_unique<QMenu>();
    m_menu->setObjectName(QStringLiteral("trayMenu"));
    m_showHide = m_menu->addAction(tr("&Show Parlendo"));
    connect(m_showHide, &QAction::triggered, this, [this] {
        if (m_consoleShown && m_consoleShown())
            emit HideRequested();
        else
            emit RestoreRequested();
    });
    m_menu->addSeparator();
    const std::pair<QString, int> statuses[] = {{tr("&Online"), OperatorStatus::kOnline},
                                                {tr("&Busy"), OperatorStatus::kBusy},
                                                {tr("&Away"), OperatorStatus::kAway}};
    for (const auto& [text, status] : statuses) {
        QAction* action = m_menu->addAction(text);
        connect(action, &QAction::triggered, this, [this, status] { emit StatusChosen(status); });
        m_statusActions.append(action);
    }
    m_menu->addSeparator();
    m_mute = m_menu->addAction(tr("&Mute the chat request ring"));
    m_mute->setCheckable(true);
    connect(m_mute, &QAction::triggered, this, &CTrayIcon::MuteChosen);
    m_menu->addSeparator();
    connect(m_menu->addAction(tr("&Quit")), &QAction::triggered, this, &CTrayIcon::QuitRequested);
    connect(m_menu.get(), &QMenu::aboutToShow, this, &CTrayIcon::UpdateMenu);
    m_icon->setContextMenu(m_menu.get());
}

void CTrayIcon::SetMenuState(std::function<bool()> consoleShown)
{
    m_consoleShown = std::move(consoleShown);
}

void CTrayIcon::UpdateMenu()
{
    const bool shown = m_consoleShown && m_consoleShown();
    m_showHide->setText(shown ? tr("&Hide Parlendo") : tr("&Show Parlendo"));
    for (QAction* action : std::as_const(m_statusActions))
        action->setEnabled(m_loggedIn);
}

CTrayIcon::~CTrayIcon()
{
    delete m_notice;
}

QIcon CTrayIcon::LoggedInIcon()
{
    return IconFromSvg(QStringLiteral(":/console/tray-online.svg"));
}

QIcon CTrayIcon::LoggedOutIcon()
{
    return IconFromSvg(QStringLiteral(":/console/tray-offline.svg"));
}

bool CTrayIcon::IsAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void CTrayIcon::Apply(bool loggedIn, const QString& title)
{
    // The picture is loaded at each update, so it always matches the title it comes with.
    m_loggedIn = loggedIn;
    m_title = title;
    m_icon->setIcon(loggedIn ? LoggedInIcon() : LoggedOutIcon());
    QString tip = title.left(kTipLength);
    // The missed chats are counted here too until the operator has looked at them.
    if (m_missedCount > 0)
        tip += QLatin1Char('\n') + tr("%n missed chat(s)", nullptr, m_missedCount);
    m_icon->setToolTip(tip);
}

void CTrayIcon::Add(bool loggedIn, const QString& title)
{
    Apply(loggedIn, title);
    m_icon->show();
}

void CTrayIcon::Modify(bool loggedIn, const QString& title)
{
    Apply(loggedIn, title);
}

void CTrayIcon::Remove()
{
    m_icon->hide();
    if (m_notice)
        m_notice->hide();
}

QString CTrayIcon::ToolTip() const
{
    return m_icon->toolTip();
}

void CTrayIcon::ShowBalloon(const QString& text, const QString& title)
{
    if (m_settings->m_showHints != 1)
        return;
    ShowAlert(text, title);
}

void CTrayIcon::ShowAlert(const QString& text, const QString& title)
{
    const QString shownText = text.left(kBalloonTextLength);
    const QString shownTitle = title.left(kBalloonTitleLength);
    if (IsAvailable() && m_icon->isVisible() && QSystemTrayIcon::supportsMessages()) {
        m_icon->showMessage(shownTitle, shownText, QSystemTrayIcon::Information,
                            static_cast<int>(m_balloonTime.count()));
        return;
    }
    if (!m_notice)
        m_notice = new CTrayNotice();
    m_notice->Show(shownTitle, shownText, m_balloonTime);
}

void CTrayIcon::OnActivated(QSystemTrayIcon::ActivationReason reason)
{
    // The context click opens the menu; the middle button does nothing.
    if (reason == QSystemTrayIcon::DoubleClick || reason == QSystemTrayIcon::Trigger)
        emit RestoreRequested();
}

void CTrayIcon::SetMuted(bool muted)
{
    m_mute->setChecked(muted);
}

void CTrayIcon::SetMissedCount(int missed)
{
    m_missedCount = missed;
    Apply(m_loggedIn, m_title);
}
