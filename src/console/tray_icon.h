#pragma once

#include "tray_notice.h"

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <functional>
#include <memory>
#include <chrono>

class CAppSettings;
class QAction;
class QMenu;

// The console's icon in the notification area: the logged-in or the not-logged-in picture, the
// main window's title as its tip, a double click to bring the window back, and balloons for
// log-in, log-out and status changes while the operator wants hints (ShowHints 1).
//
// Desktops without a notification area exist (and it can come and go): IsAvailable() says
// whether there is one now, and while there is none balloons appear as a small notice window
// instead, so that nothing the operator should see is lost. The window must not hide itself on
// minimise while IsAvailable() is false, since it could not be brought back.
class CTrayIcon final : public QObject
{
    Q_OBJECT

public:
    static constexpr int kTipLength = 127;
    static constexpr int kBalloonTextLength = 255;
    static constexpr int kBalloonTitleLength = 63;
    static constexpr std::chrono::milliseconds kBalloonTime{11000};

    // The settings are not owned and must outlive the icon.
    explicit CTrayIcon(const CAppSettings* settings, QObject* parent = nullptr);
    ~CTrayIcon() override;

    bool IsAvailable() const;

    // Puts the icon into the notification area, with the picture for the log-in state and the
    // window title as its tip; Modify changes both, Remove takes the icon away.
    void Add(bool loggedIn, const QString& title);
    void Modify(bool loggedIn, const QString& title);
    void Remove();

    // Shows a balloon when ShowHints is 1; nothing otherwise.
    void ShowBalloon(const QString& text, const QString& title);
    // A balloon whatever ShowHints says, for what must not be missed (a chat request); the
    // console's own notice where there is no notification area.
    void ShowAlert(const QString& text, const QString& title);
    // How long a balloon stays; the notification area may shorten it.
    void SetBalloonTime(std::chrono::milliseconds time) { m_balloonTime = time; }

    QString ToolTip() const;
    bool ShowsLoggedIn() const { return m_loggedIn; }

    static QIcon LoggedInIcon();
    static QIcon LoggedOutIcon();

    // The icon's menu: show or hide the console, the status while logged in, quit. shown tells,
    // as the menu opens, whether the console is on the screen.
    void SetMenuState(std::function<bool()> consoleShown);
    // The check mark of the mute item.
    void SetMuted(bool muted);
    // Missed chats the operator has not looked at yet, counted in the tool-tip.
    void SetMissedCount(int missed);

signals:
    // The operator clicked or double-clicked the icon (trays that speak the StatusNotifierItem
    // protocol report only single clicks), or chose "Show Parlendo": the main window should show
    // itself in its normal state, come to the front and take the focus.
    void RestoreRequested();
    void HideRequested();
    void StatusChosen(int status);
    void QuitRequested();
    void MuteChosen(bool muted);

private:
    void OnActivated(QSystemTrayIcon::ActivationReason reason);
    void BuildMenu();
    void UpdateMenu();
    void Apply(bool loggedIn, const QString& title);

    const CAppSettings* m_settings;
    QSystemTrayIcon* m_icon; // a child of this object
    std::unique_ptr<QMenu> m_menu;
    QAction* m_showHide = nullptr;
    QAction* m_mute = nullptr;
    QList<QAction*> m_statusActions;
    std::function<bool()> m_consoleShown;
    QString m_title;
    int m_missedCount = 0;
    QPointer<CTrayNotice> m_notice;
    std::chrono::milliseconds m_balloonTime = kBalloonTime;
    bool m_loggedIn = false;
};
