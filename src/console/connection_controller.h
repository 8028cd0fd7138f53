#pragma once

#include "client_socket.h"
#include "connection_state.h"
#include "console_timings.h"

#include <QObject>
#include <QPointer>
#include <functional>

class CAppSettings;
class CBanner;
class CConnectionBanner;
class CCredentials;
class CKeepAlive;
class CLoginDlg;
class CNotifier;
class CSessionBridge;
class CUrlLauncher;
class QWidget;

// The console's connection policy, in one place: the automatic log-in at start, the Login and
// Logout commands with the login dialog, status changes, the keep-alive with its reconnection,
// and the question about a newer console version. It keeps the connection state that the main
// window shows (title, open commands) and tells it of every change.
//
// Everything here runs on the GUI thread; the network work goes through the session bridge.
class CConnectionController final : public QObject
{
    Q_OBJECT

public:
    // Newer server versions than this offer the download of a new console.
    static constexpr int kConsoleVersion = 15;

    // None is owned; all must outlive the controller. window owns the dialogs and boxes.
    CConnectionController(CAppSettings& settings, CSessionBridge& bridge, CNotifier& notifier,
                          ConsoleTimings timings, QWidget* window);

    // Opens the download page and the login dialog's link; not owned. Null: the desktop's.
    void SetLauncher(const CUrlLauncher* launcher);
    // Where the password is kept between runs; not owned. Unset: the settings file.
    void SetCredentials(CCredentials* credentials);
    // Runs the settings editor, for a log-in without a server address.
    void SetSettingsEditor(std::function<void()> edit);

    const CConnectionState& State() const { return m_state; }
    // What the main window shows while it is not connected.
    CBanner* Banner() const;
    bool IsLoggedIn() const;

    // The first display: the automatic log-in, if the settings ask for one.
    void Start();
    void OnLoginCommand();
    void OnLogoutCommand();
    // My Status: 1 online, 2 busy, 3 away; nothing while not logged in.
    void ChooseStatus(int status);
    // The console is closing: no more ticks, no more reconnections.
    void Stop();

signals:
    // The title or the open commands changed.
    void StateChanged();
    // A notification for the tray's balloon.
    void Notification(const QString& text, const QString& title);
    // Each keep-alive tick: the visitor rows have been listed a minute longer.
    void MinuteTick();

private:
    void AutoLogin();
    void OpenLoginDialog();
    bool StartConnect(bool reconnect);
    void Show();

    void OnConnectFinished(int result, bool wasReconnect, ConnectFailure failure);
    bool WantsReconnect() const;
    void OnLoggedIn();
    void OnLoggedOut(int reason);
    void OnStatusChanged(int status);
    void OnKeepAliveFailed();
    void AskAboutNewVersion();

    CAppSettings& m_settings;
    CSessionBridge& m_bridge;
    CNotifier& m_notifier;
    QWidget* m_window;
    const CUrlLauncher* m_launcher;
    CKeepAlive* m_keepAlive;
    CConnectionBanner* m_banner;
    bool m_loggingOut = false;
    std::function<void()> m_editSettings;
    CConnectionState m_state;
    QPointer<CLoginDlg> m_loginDlg;
    QPointer<CCredentials> m_credentials;
    bool m_stopped = false;
    // The download question is asked once a run, whatever number of reconnections follow.
    bool m_versionAsked = false;
};
