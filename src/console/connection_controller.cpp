#include "connection_controller.h"

#include "app_settings.h"
#include "banner.h"
#include "connection_banner.h"
#include "credentials.h"
#include "keep_alive.h"
#include "login_dlg.h"
#include "notifier.h"
#include "result_codes.h"
#include "result_text.h"
#include "server_dlg.h"
#include "service_pages.h"
#include "session_bridge.h"
#include "status_word.h"
#include "url_launcher.h"

#include <QWidget>

namespace {

// A first sentence ending in "\r\n" followed by the result code's message.
QString WithResult(const QString& sentence, int result)
{
    return sentence + ResultText(result);
}

} // namespace

CConnectionController::CConnectionController(CAppSettings& settings, CSessionBridge& bridge,
                                             CNotifier& notifier, ConsoleTimings timings,
                                             QWidget* window)
    : QObject(window), m_settings(settings), m_bridge(bridge), m_notifier(notifier),
      m_window(window), m_launcher(&CUrlLauncher::Desktop()),
      m_keepAlive(new CKeepAlive(bridge, timings, this)),
      m_banner(new CConnectionBanner(
          window, [this] { StartConnect(true); }, [this] { m_bridge.CancelLogin(); }))
{
    m_banner->SetWaits(timings.reconnectFirstWait, timings.keepAlivePeriod);
    connect(&m_bridge, &CSessionBridge::ConnectFinished, this,
            &CConnectionController::OnConnectFinished);
    connect(&m_bridge, &CSessionBridge::LoggedIn, this, &CConnectionController::OnLoggedIn);
    connect(&m_bridge, &CSessionBridge::LoggedOut, this, &CConnectionController::OnLoggedOut);
    connect(&m_bridge, &CSessionBridge::StatusChanged, this,
            &CConnectionController::OnStatusChanged);
    connect(&m_bridge, &CSessionBridge::StatusFailed, this, [this](int result) {
        m_notifier.Inform(m_window, WithResult(tr("Failed to change your status.\r\n"), result));
    });
    connect(m_keepAlive, &CKeepAlive::MinuteTick, this, &CConnectionController::MinuteTick);
    connect(m_keepAlive, &CKeepAlive::Failed, this, &CConnectionController::OnKeepAliveFailed);
}

CBanner* CConnectionController::Banner() const
{
    return m_banner->Widget();
}

void CConnectionController::SetLauncher(const CUrlLauncher* launcher)
{
    m_launcher = launcher ? launcher : &CUrlLauncher::Desktop();
}

void CConnectionController::SetSettingsEditor(std::function<void()> edit)
{
    m_editSettings = std::move(edit);
}

bool CConnectionController::IsLoggedIn() const
{
    return m_bridge.IsLoggedIn();
}

void CConnectionController::Show()
{
    emit StateChanged();
}

void CConnectionController::Stop()
{
    m_stopped = true;
    m_keepAlive->Stop();
    if (m_loginDlg)
        m_loginDlg->reject();
}

// --- Commands -------------------------------------------------------------------------------

void CConnectionController::SetCredentials(CCredentials* credentials)
{
    m_credentials = credentials;
}

void CConnectionController::Start()
{
    // The password may first have to come from the keyring.
    if (m_credentials)
        m_credentials->Load([this] { AutoLogin(); });
    else
        AutoLogin();
}

void CConnectionController::AutoLogin()
{
    if (m_stopped)
        return;
    // A first start: no server yet, and none to guess.
    if (m_settings.m_serverAddress.isEmpty()) {
        auto* ask = new CServerDlg(m_settings, m_notifier, m_window);
        ask->setAttribute(Qt::WA_DeleteOnClose);
        connect(ask, &QDialog::accepted, this, [this] {
            if (m_settings.m_autoLogin != 1 || m_settings.m_saveLogin != 1)
                OpenLoginDialog();
            else
                AutoLogin();
        });
        ask->open();
        return;
    }
    if (m_settings.m_autoLogin != 1)
        return;
    if (m_settings.m_saveLogin != 1) {
        OnLoginCommand();
        return;
    }
    if (m_settings.m_serverAddress.isEmpty()) {
        m_notifier.Inform(m_window, tr("You must first set the Parlendo server address and port "
                                       "in the Options dialog."));
        return;
    }
    if (!m_settings.m_username.isEmpty() && !m_settings.m_password.isEmpty())
        StartConnect(false);
}

void CConnectionController::OnLoginCommand()
{
    if (!m_settings.m_serverAddress.isEmpty()) {
        OpenLoginDialog();
        return;
    }
    m_notifier.Inform(m_window,
                      tr("You must first set the Parlendo server address and port in the Options "
                         "dialog."),
                      [this] {
                          if (m_editSettings)
                              m_editSettings();
                          if (!m_settings.m_serverAddress.isEmpty())
                              OpenLoginDialog();
                      });
}

void CConnectionController::OpenLoginDialog()
{
    if (m_bridge.IsReconnecting() && !m_stopped) {
        m_notifier.Inform(m_window, tr("Parlendo is trying to reconnect to the Parlendo server "
                                       "now.\r\nIf it fails, please try again in a few seconds."));
        return;
    }
    // A cancelled dialog leaves it stopped: the operator chose not to be connected.
    m_keepAlive->Stop();
    if (m_loginDlg) {
        m_loginDlg->raise();
        m_loginDlg->activateWindow();
        return;
    }
    // Logging in by hand stops the retries.
    m_banner->Quiet();
    m_loginDlg = new CLoginDlg(m_settings, m_notifier, m_launcher, m_window);
    m_loginDlg->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_loginDlg, &QDialog::accepted, this, [this] {
        if (m_credentials)
            m_credentials->Keep(m_settings.m_saveLogin == 1);
        StartConnect(false);
    });
    m_loginDlg->open();
}

bool CConnectionController::StartConnect(bool reconnect)
{
    if (m_stopped)
        return false;
    const CSessionBridge::Credentials credentials{m_settings.m_serverAddress,
                                                  m_settings.m_serverPort, m_settings.m_username,
                                                  m_settings.m_password};
    if (!m_bridge.Login(credentials, reconnect))
        return false;
    // Login stays open during a reconnection, where pressing it explains the wait; otherwise
    // it closes, so that no second log-in starts over the running one.
    m_state.SetConnecting(m_settings.m_serverAddress, !reconnect);
    Show();
    m_banner->Connecting(m_settings.m_serverAddress, m_settings.m_serverPort);
    return true;
}

void CConnectionController::OnLogoutCommand()
{
    m_keepAlive->Stop();
    m_loggingOut = true;
    m_bridge.Logout(CSessionBridge::kReasonLoggedOut);
}

void CConnectionController::ChooseStatus(int status)
{
    if (IsLoggedIn())
        m_bridge.SetStatus(status);
}

// --- Results and session events --------------------------------------------------------------

bool CConnectionController::WantsReconnect() const
{
    return !m_stopped && m_settings.m_reconnect == 1 && !m_settings.m_username.isEmpty() &&
           !m_settings.m_password.isEmpty();
}

void CConnectionController::OnConnectFinished(int result, bool wasReconnect, ConnectFailure failure)
{
    if (result == rc::kOk)
        return; // LoggedIn came first and showed it
    m_state.SetConnectFailed();
    Show();
    if (failure == ConnectFailure::Cancelled) {
        m_banner->Quiet(); // the operator chose not to connect now
        return;
    }
    const QString cause = CConnectionBanner::Cause(result, failure, m_settings.m_serverAddress,
                                                   m_settings.m_serverPort);
    // A reconnection fails quietly, into the banner, and tries again later.
    if (wasReconnect) {
        m_banner->Trouble(tr("Could not connect: %1").arg(cause), WantsReconnect());
        return;
    }
    m_banner->Trouble(tr("Not connected: %1").arg(cause), false);
    m_notifier.Inform(m_window, tr("Failed to connect to the Parlendo server.\r\n") + cause,
                      [this, result] {
                          // Refused credentials: the operator types them again, the name kept.
                          if (result == rc::kBadCredentials)
                              OpenLoginDialog();
                      });
}

void CConnectionController::OnLoggedIn()
{
    m_state.SetLoggedIn(m_settings.m_serverAddress);
    Show();
    m_banner->Connected();
    m_bridge.RequestLists();
    m_keepAlive->Restart();
    emit Notification(tr("You are now logged in to the Parlendo server"),
                      tr("Parlendo Notification"));
    // Asked last and without waiting: the lists fill and the keep-alive runs while the question
    // is up.
    if (m_bridge.ServerVersion() > kConsoleVersion)
        AskAboutNewVersion();
}

void CConnectionController::AskAboutNewVersion()
{
    if (std::exchange(m_versionAsked, true))
        return;
    m_notifier.Ask(nullptr, tr("New Parlendo version"),
                   tr("There is a new version of Parlendo available for download.\r\nWould you "
                      "like to download and install the new version?"),
                   [this](bool yes) {
                       if (!yes)
                           return;
                       const QUrl page = ServicePages::Download(m_settings.m_serverAddress);
                       const int result = m_launcher->OpenUrl(page.toString());
                       if (result <= 32)
                           m_notifier.Inform(m_window, CUrlLauncher::FailureMessage(result));
                   });
}

void CConnectionController::OnLoggedOut(int reason)
{
    if (reason == CSessionBridge::kReasonDestroyed)
        return;
    m_state.SetNotConnected();
    Show();
    // The keep-alive has nothing to keep; it starts again with the next log-in.
    m_keepAlive->Stop();
    const QString where =
        QStringLiteral("%1:%2").arg(m_settings.m_serverAddress).arg(m_settings.m_serverPort);
    if (std::exchange(m_loggingOut, false)) {
        m_banner->Quiet();
        emit Notification(tr("You are now logged out from the Parlendo server"),
                          tr("Parlendo Notification"));
        return;
    }
    // Not the operator's doing: the notice says what happened, as the banner does.
    QString lost;
    if (reason == CSessionBridge::kReasonLoggedOut)
        lost = tr("Connection to %1 lost: the server stopped answering.").arg(where);
    else if (reason == CSessionBridge::kReasonSendFailed)
        lost = tr("Connection to %1 lost: a command could not be sent.").arg(where);
    else
        lost = tr("Connection to %1 lost.").arg(where);
    m_banner->Trouble(lost, WantsReconnect());
    emit Notification(lost, tr("Parlendo Notification"));
}

void CConnectionController::OnStatusChanged(int status)
{
    m_state.SetStatus(status, m_settings.m_serverAddress);
    Show();
    emit Notification(tr("Your status has now been changed to %1").arg(StatusWord(status)),
                      tr("Parlendo Notification"));
}

void CConnectionController::OnKeepAliveFailed()
{
    // The log-out it ends in says the connection was lost and schedules the reconnection.
    m_bridge.Logout(CSessionBridge::kReasonLoggedOut);
}
