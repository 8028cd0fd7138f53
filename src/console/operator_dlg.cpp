#include "operator_dlg.h"

#include "about_dlg.h"
#include "app_settings.h"
#include "call_offers.h"
#include "console_commands.h"
#include "console_texts.h"
#include "console_toolbar.h"
#include "dialog_units.h"
#include "flat_button.h"
#include "gradient_button.h"
#include "gradient_label.h"
#include "keep_alive.h"
#include "layout_profile.h"
#include "login_dlg.h"
#include "navigation_column.h"
#include "notifier.h"
#include "operator_list_ctrl.h"
#include "operator_list_model.h"
#include "options_dlg.h"
#include "qt_operator_session.h"
#include "result_codes.h"
#include "service_pages.h"
#include "session_bridge.h"
#include "tray_icon.h"
#include "url_launcher.h"
#include "visitor_list_ctrl.h"
#include "visitor_list_model.h"
#include "visitor_popup_dlg.h"
#include "web_pane.h"
#include "window_layout.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QStackedWidget>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>

namespace {

QString Text(const char* text)
{
    return QString::fromLatin1(text);
}

// A first sentence ending in "\r\n" followed by the result code's message.
QString WithResult(const char* sentence, int result)
{
    return Text(sentence) + QString::fromLatin1(ResultMessage(result));
}

void RunOptionsDialog(CAppSettings& settings, QWidget* parent)
{
    COptionsDlg dialog(settings, parent);
    dialog.exec();
}

} // namespace

COperatorDlg::COperatorDlg(CAppSettings& settings, const CLayoutProfile& profile,
                           COperatorSession& session, CNotifier& notifier, ConsoleTimings timings,
                           QWidget* parent)
    : QWidget(parent), m_settings(settings), m_profile(profile), m_session(session),
      m_notifier(notifier), m_launcher(&CUrlLauncher::Desktop()),
      m_bridge(new CSessionBridge(session, this)),
      m_commands(new CConsoleCommands(session, timings, this)),
      m_keepAlive(new CKeepAlive(*m_commands, timings.keepAlivePeriod, this)),
      m_tray(new CTrayIcon(&settings, this)),
      m_offers(new CCallOffers(settings, timings.notifySecond, this)),
      m_settingsEditor(RunOptionsDialog),
      m_trayIconShown([this] { return m_tray->IsAvailable(); })
{
    setWindowTitle(m_state.Title());
    setWindowIcon(QIcon(QStringLiteral(":/console/parlendo.svg")));
    BuildWindow();
    InstallListModels();
    ConnectCommands();
    Apply();
}

COperatorDlg::~COperatorDlg()
{
    Shutdown();
}

void COperatorDlg::BuildWindow()
{
    const CDialogUnits units(font());
    resize(units.Size(458, 209));

    m_toolbar = new CConsoleToolbar(this);
    // A narrow window cuts the toolbar off on the right rather than being held as wide as all
    // seven buttons.
    m_toolbar->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    m_navigation = new CNavigationColumn(this);
    m_caption = new CGradientLabel(Text(ConsoleText::kPaneVisitors), this);
    m_caption->SetColours(SysColour::ActiveCaption, SysColour::GradientActiveCaption,
                          SysColour::HighlightText);
    m_caption->setFixedHeight(units.Y(15));

    m_stack = new QStackedWidget(this);
    m_visitorsView = new CVisitorListCtrl(m_stack);
    m_visitorsView->setObjectName(QStringLiteral("visitors"));
    m_operatorsView = new COperatorListCtrl(m_stack);
    m_operatorsView->setObjectName(QStringLiteral("operators"));
    m_webPane = new CWebPane(m_stack);
    m_stack->addWidget(m_visitorsView);
    m_stack->addWidget(m_operatorsView);
    m_stack->addWidget(m_webPane);
    m_stack->setCurrentWidget(m_visitorsView);

    auto* pane = new QVBoxLayout;
    pane->setContentsMargins(0, 0, 0, 0);
    pane->setSpacing(units.Y(1));
    pane->addWidget(m_caption);
    pane->addWidget(m_stack, 1);

    auto* body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(units.X(3));
    body->addWidget(m_navigation);
    body->addLayout(pane, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(units.Y(2));
    layout->addWidget(m_toolbar);
    layout->addLayout(body, 1);

    auto* quit = new QAction(tr("Quit"), this);
    // The desktop's own Quit keys, and Ctrl+Q where the desktop has none (Windows-style key
    // schemes leave Quit unbound).
    QList<QKeySequence> keys = QKeySequence::keyBindings(QKeySequence::Quit);
    const QKeySequence ctrlQ(Qt::CTRL | Qt::Key_Q);
    if (!keys.contains(ctrlQ))
        keys.append(ctrlQ);
    quit->setShortcuts(keys);
    quit->setShortcutContext(Qt::WindowShortcut);
    connect(quit, &QAction::triggered, this, &QWidget::close);
    addAction(quit);
}

void COperatorDlg::InstallListModels()
{
    // The models read the blocked addresses and domain patterns from the record at each event,
    // so what the options dialog changes applies to the next visitor.
    m_visitorModel = new CVisitorListModel(&m_settings, this);
    m_operatorModel = new COperatorListModel(this);
    // The views set their default column widths here; the stored ones replace them at the
    // first display.
    m_visitorsView->setModel(m_visitorModel);
    m_operatorsView->setModel(m_operatorModel);

    connect(m_bridge, &CSessionBridge::VisitorsRefreshed, this,
            [this](const std::vector<CVisitorEntry>& visitors) {
                m_visitorModel->Reset(visitors);
                emit VisitorsListed(m_visitorModel->rowCount());
            });
    connect(m_bridge, &CSessionBridge::VisitorAdded, this, &COperatorDlg::OnVisitorAdded);
    connect(m_bridge, &CSessionBridge::VisitorRemoved, this,
            [this](const CVisitorEntry& entry) { m_visitorModel->RemoveVisitor(entry); });
    connect(m_bridge, &CSessionBridge::VisitorInvited, this,
            [this](const CVisitorEntry& entry) { m_visitorModel->MarkInvited(entry.id); });

    connect(m_bridge, &CSessionBridge::OperatorsRefreshed, this,
            [this](const std::vector<CUserEntry>& operators) { m_operatorModel->Reset(operators); });
    connect(m_bridge, &CSessionBridge::OperatorAdded, this,
            [this](const CUserEntry& entry) { m_operatorModel->Add(entry); });
    connect(m_bridge, &CSessionBridge::OperatorUpdated, this,
            [this](const CUserEntry& entry) { m_operatorModel->Update(entry); });
    connect(m_bridge, &CSessionBridge::OperatorRemoved, this,
            [this](const CUserEntry& entry) { m_operatorModel->Remove(entry); });

    connect(m_visitorsView, &CVisitorListCtrl::SelectionPresenceChanged, this,
            &COperatorDlg::OnVisitorSelectionChanged);
    connect(m_visitorsView, &CVisitorListCtrl::InviteRequested, this, &COperatorDlg::OnInvite);
    m_visitorsView->SetAsker(
        [this](QWidget* parent, const QString& question) { return AskToInvite(parent, question); });
}

void COperatorDlg::ConnectCommands()
{
    connect(m_toolbar->Login(), &CFlatButton::clicked, this, &COperatorDlg::OnLogin);
    connect(m_toolbar->Logout(), &CFlatButton::clicked, this, &COperatorDlg::OnLogout);
    connect(m_toolbar, &CConsoleToolbar::StatusChosen, this, &COperatorDlg::OnStatusChosen);
    connect(m_toolbar->Invite(), &CFlatButton::clicked, this, &COperatorDlg::OnInvite);
    connect(m_toolbar->ViewSettings(), &CFlatButton::clicked, this,
            &COperatorDlg::RunSettingsEditor);
    connect(m_toolbar->CannedAnswers(), &CFlatButton::clicked, this,
            &COperatorDlg::RunCannedAnswers);
    connect(m_toolbar->About(), &CFlatButton::clicked, this, &COperatorDlg::OpenAbout);

    connect(m_navigation->Visitors(), &CGradientButton::clicked, this,
            [this] { ShowList(m_visitorsView, ConsoleText::kPaneVisitors); });
    connect(m_navigation->Operators(), &CGradientButton::clicked, this,
            [this] { ShowList(m_operatorsView, ConsoleText::kPaneOperators); });
    connect(m_navigation->Reports(), &CGradientButton::clicked, this, [this] {
        ShowWebPage(ServicePages::Reports(m_settings.m_serverAddress, m_settings.m_username,
                                          m_settings.m_password),
                    ConsoleText::kPaneReports);
    });
    connect(m_navigation->Account(), &CGradientButton::clicked, this, [this] {
        ShowWebPage(ServicePages::Account(m_settings.m_serverAddress, m_settings.m_username,
                                          m_settings.m_password),
                    ConsoleText::kPaneAccount);
    });
    connect(m_navigation->Tutorial(), &CGradientButton::clicked, this, [this] {
        ShowWebPage(ServicePages::Tutorial(m_settings.m_serverAddress), ConsoleText::kPaneTutorial);
    });

    connect(m_bridge, &CSessionBridge::LoggedIn, this, &COperatorDlg::OnLoggedIn);
    connect(m_bridge, &CSessionBridge::LoggedOut, this, &COperatorDlg::OnLoggedOut);
    connect(m_bridge, &CSessionBridge::StatusChanged, this, &COperatorDlg::OnStatusChanged);
    connect(m_bridge, &CSessionBridge::IncomingCall, this, &COperatorDlg::OnIncomingCall);

    connect(m_commands, &CConsoleCommands::ConnectFinished, this, &COperatorDlg::OnConnectFinished);
    connect(m_commands, &CConsoleCommands::StatusFailed, this, [this](int result) {
        m_notifier.Inform(this, WithResult(ConsoleText::kStatusFailed, result));
    });
    connect(m_commands, &CConsoleCommands::InviteFinished, this, [this](int result) {
        if (result < 0)
            m_notifier.Inform(this, WithResult(ConsoleText::kInviteFailed, result));
    });
    connect(m_keepAlive, &CKeepAlive::MinuteTick, this, &COperatorDlg::OnMinuteTick);
    connect(m_keepAlive, &CKeepAlive::Failed, this, &COperatorDlg::OnKeepAliveFailed);

    // The tray icon follows every change of the title and shows the balloons (it leaves them
    // out itself while the operator wants no hints).
    connect(this, &COperatorDlg::ConnectionShown, m_tray,
            [this](const QString& title, bool loggedIn) { m_tray->Modify(loggedIn, title); });
    connect(this, &COperatorDlg::Notification, m_tray, &CTrayIcon::ShowBalloon);
    connect(m_tray, &CTrayIcon::RestoreRequested, this, &COperatorDlg::RestoreFromTray);
}

void COperatorDlg::SetSettingsEditor(SettingsEditor editor)
{
    m_settingsEditor = std::move(editor);
}

void COperatorDlg::SetCannedAnswersEditor(CannedAnswersEditor editor)
{
    m_cannedEditor = std::move(editor);
}

void COperatorDlg::SetTrayIconShown(std::function<bool()> shown)
{
    m_trayIconShown = std::move(shown);
}

void COperatorDlg::SetChatWindowFactory(ChatWindowFactory factory)
{
    m_offers->SetChatWindowFactory(std::move(factory));
}

void COperatorDlg::SetLauncher(const CUrlLauncher* launcher)
{
    m_launcher = launcher ? launcher : &CUrlLauncher::Desktop();
    m_webPane->SetLauncher(m_launcher);
}

bool COperatorDlg::LoggedIn() const
{
    return m_session.GetStatus() >= 1;
}

void COperatorDlg::Apply()
{
    const QString title = m_state.Title();
    setWindowTitle(title);
    m_toolbar->Login()->setEnabled(m_state.LoginEnabled());
    m_toolbar->Logout()->setEnabled(m_state.LogoutEnabled());
    m_toolbar->MyStatus()->setEnabled(m_state.StatusEnabled());
    m_toolbar->Invite()->setEnabled(m_state.InviteEnabled());
    emit ConnectionShown(title, LoggedIn());
}

// --- First display, layout, shutdown ------------------------------------------------------

void COperatorDlg::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_firstShown)
        return;
    m_firstShown = true;
    // Still before the window reaches the screen: it appears in its stored place at once.
    RestoreLayout();
    m_tray->Add(LoggedIn(), windowTitle());
    QTimer::singleShot(0, this, [this] {
        RunAutoLogin();
        emit FirstShown();
    });
}

void COperatorDlg::RestoreLayout()
{
    const CWindowLayout layout(m_profile);
    layout.RestoreWindow(this, QString::fromLatin1(LayoutSection::MainWindow));
    layout.RestoreColumns(m_operatorsView->header(), QString::fromLatin1(LayoutSection::UserList));
    layout.RestoreColumns(m_visitorsView->header(), QString::fromLatin1(LayoutSection::PageList));
}

void COperatorDlg::SaveLayout() const
{
    const CWindowLayout layout(m_profile);
    layout.SaveWindow(this, QString::fromLatin1(LayoutSection::MainWindow));
    layout.SaveColumns(m_operatorsView->header(), QString::fromLatin1(LayoutSection::UserList));
    layout.SaveColumns(m_visitorsView->header(), QString::fromLatin1(LayoutSection::PageList));
}

void COperatorDlg::closeEvent(QCloseEvent* event)
{
    SaveLayout();
    event->accept();
    emit Closed();
}

void COperatorDlg::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized() && m_firstShown) {
        // Hidden only where something can bring the window back; otherwise it stays an
        // ordinary minimised window in the task bar.
        if (m_trayIconShown && m_trayIconShown() && QSystemTrayIcon::isSystemTrayAvailable())
            QTimer::singleShot(0, this, &COperatorDlg::HideToTray);
    }
}

void COperatorDlg::HideToTray()
{
    if (!isMinimized())
        return;
    hide();
    // Open chats stay on screen while the console is away.
    for (const QPointer<QWidget>& chat : std::as_const(m_chatWindows))
        if (chat)
            chat->show();
}

void COperatorDlg::RestoreFromTray()
{
    showNormal();
    raise();
    activateWindow();
}

int COperatorDlg::Shutdown()
{
    if (m_shutDown)
        return m_stragglers;
    m_shutDown = true;
    m_keepAlive->Stop();
    m_stragglers = m_commands->Shutdown();
    m_bridge->Detach();
    // The popups point at the counters of this window; an offer accepted now would open a chat
    // window on a console that is going.
    CVisitorPopupDlg::CloseAll();
    m_offers->CloseAll();
    m_tray->Remove();
    return m_stragglers;
}

void COperatorDlg::RunAutoLogin()
{
    if (m_settings.m_autoLogin != 1)
        return;
    if (m_settings.m_saveLogin != 1) {
        OnLogin();
        return;
    }
    if (m_settings.m_serverAddress.isEmpty()) {
        m_notifier.Inform(this, Text(ConsoleText::kNoServerAddress));
        return;
    }
    if (!m_settings.m_username.isEmpty() && !m_settings.m_password.isEmpty())
        StartConnect(false);
}

// --- Commands ------------------------------------------------------------------------------

void COperatorDlg::OnLogin()
{
    if (!m_settings.m_serverAddress.isEmpty()) {
        OpenLoginDialog();
        return;
    }
    m_notifier.Inform(this, Text(ConsoleText::kNoServerAddress), [this] {
        RunSettingsEditor();
        if (!m_settings.m_serverAddress.isEmpty())
            OpenLoginDialog();
    });
}

void COperatorDlg::OpenLoginDialog()
{
    if (m_commands->IsReconnecting()) {
        m_notifier.Inform(this, Text(ConsoleText::kReconnecting));
        return;
    }
    // A cancelled dialog leaves it stopped: the operator chose not to be connected.
    m_keepAlive->Stop();
    if (m_loginDlg) {
        m_loginDlg->raise();
        m_loginDlg->activateWindow();
        return;
    }
    m_loginDlg = new CLoginDlg(m_settings, m_notifier, m_launcher, this);
    m_loginDlg->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_loginDlg, &QDialog::accepted, this, [this] { StartConnect(false); });
    m_loginDlg->open();
}

bool COperatorDlg::StartConnect(bool reconnect)
{
    const CConsoleCommands::Credentials credentials{m_settings.m_serverAddress,
                                                    m_settings.m_serverPort, m_settings.m_username,
                                                    m_settings.m_password};
    if (!m_commands->StartConnect(credentials, reconnect))
        return false;
    // Login stays open during a reconnection, where pressing it explains the wait; otherwise
    // it closes, so that no second log-in starts over the running one.
    m_state.SetConnecting(m_settings.m_serverAddress, !reconnect);
    Apply();
    return true;
}

void COperatorDlg::OnLogout()
{
    m_keepAlive->Stop();
    m_session.Disconnect(COperatorSession::kReasonLoggedOut);
}

void COperatorDlg::OnStatusChosen(int status)
{
    if (!LoggedIn())
        return;
    m_requestedStatus = status;
    m_commands->StartStatus(m_requestedStatus);
}

void COperatorDlg::OnInvite()
{
    if (!LoggedIn())
        return;
    if (m_commands->IsInviting()) {
        m_notifier.Inform(this, Text(ConsoleText::kCommandBusy));
        return;
    }
    // Red at once: the server's confirmation (VisitorInvited) only confirms it.
    const std::vector<std::int32_t> marked = m_visitorsView->MarkSelectedInvited();
    if (!marked.empty())
        m_commands->StartInvite(std::vector<int>(marked.begin(), marked.end()),
                                m_settings.m_username);
}

bool COperatorDlg::AskToInvite(QWidget* parent, const QString& question)
{
    // The notifier may answer at once (the view then emits InviteRequested on Yes) or only once
    // its box is closed; a late Yes runs the invitation itself, for whatever is selected then.
    struct Answer
    {
        bool pending = true;
        bool given = false;
        bool yes = false;
    };
    auto answer = std::make_shared<Answer>();
    m_notifier.Ask(parent, Text(ConsoleText::kProduct), question, [this, answer](bool yes) {
        if (answer->pending) {
            answer->given = true;
            answer->yes = yes;
        } else if (yes) {
            OnInvite();
        }
    });
    answer->pending = false;
    return answer->given && answer->yes;
}

void COperatorDlg::OnVisitorSelectionChanged()
{
    if (LoggedIn())
        m_toolbar->Invite()->setEnabled(m_visitorsView->HasSelection());
}

void COperatorDlg::RunSettingsEditor()
{
    if (m_settingsEditor)
        m_settingsEditor(m_settings, this);
}

void COperatorDlg::RunCannedAnswers()
{
    if (m_cannedEditor)
        m_cannedEditor(this);
}

void COperatorDlg::OpenAbout()
{
    auto* about = new CAboutDlg(m_launcher, this);
    about->setAttribute(Qt::WA_DeleteOnClose);
    about->open();
}

void COperatorDlg::ShowList(QTreeView* view, const char* caption)
{
    m_stack->setCurrentWidget(view);
    m_caption->SetText(Text(caption));
}

void COperatorDlg::ShowWebPage(const QUrl& url, const char* caption)
{
    m_stack->setCurrentWidget(m_webPane);
    m_webPane->Navigate(url);
    m_caption->SetText(Text(caption));
}

// --- Results and session events ------------------------------------------------------------

void COperatorDlg::OnConnectFinished(int result, bool wasReconnect)
{
    if (result == rc::kOk)
        return; // OnLoggedIn came first and showed it
    m_state.SetConnectFailed();
    Apply();
    // A reconnection fails quietly; the next keep-alive tick tries again.
    if (!wasReconnect)
        m_notifier.Inform(this, WithResult(ConsoleText::kConnectFailed, result));
}

void COperatorDlg::ClearLists()
{
    m_operatorModel->Clear();
    m_visitorModel->Clear();
}

void COperatorDlg::OnLoggedIn()
{
    ClearLists();
    m_state.SetLoggedIn(m_settings.m_serverAddress);
    Apply();
    m_requestedStatus = 1;
    m_commands->StartListRequests();
    m_keepAlive->Restart();
    emit Notification(Text(ConsoleText::kLoggedInNote), Text(ConsoleText::kNotificationTitle));

    // Asked last and without waiting: the lists fill and the keep-alive runs while the question
    // is up.
    if (m_session.ServerVersion() > kConsoleVersion) {
        m_notifier.Ask(nullptr, Text(ConsoleText::kNewVersionTitle),
                       Text(ConsoleText::kNewVersionQuestion), [this](bool yes) {
                           if (!yes)
                               return;
                           const QUrl page = ServicePages::Download(m_settings.m_serverAddress);
                           const int result = m_launcher->OpenUrl(page.toString());
                           if (result <= 32)
                               m_notifier.Inform(this, CUrlLauncher::FailureMessage(result));
                       });
    }
}

void COperatorDlg::OnLoggedOut(int reason)
{
    if (reason == COperatorSession::kReasonDestroyed)
        return;
    ClearLists();
    // Offers came on the connection that has just ended.
    m_offers->CloseAll();
    m_state.SetNotConnected();
    Apply();
    emit Notification(Text(ConsoleText::kLoggedOutNote), Text(ConsoleText::kNotificationTitle));
}

void COperatorDlg::OnStatusChanged(int status)
{
    m_state.SetStatus(status, m_settings.m_serverAddress);
    Apply();
    emit Notification(Text(ConsoleText::kStatusNote).arg(CConnectionState::StatusWord(status)),
                      Text(ConsoleText::kNotificationTitle));
}

void COperatorDlg::OnVisitorAdded(const CVisitorEntry& entry)
{
    // Blocked visitors and a second arrival of a listed one raise no popup.
    if (!m_visitorModel->AddVisitor(entry))
        return;
    // Announced after the row is in and drawn: a popup never holds the list back.
    QMetaObject::invokeMethod(
        this, [this, entry] { Announce(entry); }, Qt::QueuedConnection);
}

void COperatorDlg::Announce(const CVisitorEntry& entry)
{
    if (m_shutDown)
        return;
    // The popup's Invite to chat runs on a worker thread of the popup's; the session takes
    // commands from any thread.
    COperatorSession* session = &m_session;
    CVisitorPopupDlg* popup = CVisitorPopupDlg::Announce(
        &m_settings, &m_popupsOpen, &m_popupSlots, entry,
        [session](int visitorId, std::string text) {
            return session->InviteVisitor(visitorId, text);
        });
    if (popup)
        popup->SetLauncher(m_launcher);
    emit VisitorAnnounced(entry.id, popup);
}

void COperatorDlg::OnIncomingCall(const CIncomingCall& call)
{
    // The offer opens on the desktop even while the console is in the tray.
    if (!m_shutDown)
        m_offers->Offer(call);
}

void COperatorDlg::OnMinuteTick()
{
    m_visitorModel->TickMinutes();
}

void COperatorDlg::OnKeepAliveFailed()
{
    m_session.Disconnect(COperatorSession::kReasonLoggedOut);
    if (m_settings.m_reconnect != 1 || m_settings.m_username.isEmpty() ||
        m_settings.m_password.isEmpty())
        return;
    // Queued behind the log-out that Disconnect has just queued, so that "Connecting" is shown
    // after "Not connected" and not overwritten by it.
    QMetaObject::invokeMethod(
        this, [this] { StartConnect(true); }, Qt::QueuedConnection);
}
