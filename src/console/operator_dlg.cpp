#include "operator_dlg.h"

#include "about_dlg.h"
#include "app_settings.h"
#include "basic_operator_model.h"
#include "basic_visitor_model.h"
#include "console_commands.h"
#include "console_texts.h"
#include "console_toolbar.h"
#include "dialog_units.h"
#include "flat_button.h"
#include "gradient_button.h"
#include "gradient_label.h"
#include "keep_alive.h"
#include "layout_profile.h"
#include "list_roles.h"
#include "login_dlg.h"
#include "navigation_column.h"
#include "notifier.h"
#include "qt_operator_session.h"
#include "result_codes.h"
#include "service_pages.h"
#include "session_bridge.h"
#include "url_launcher.h"
#include "web_pane.h"
#include "window_layout.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QItemSelectionModel>
#include <QStackedWidget>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

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

QTreeView* MakeList(QWidget* parent)
{
    auto* view = new QTreeView(parent);
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->header()->setSectionsMovable(true);
    view->header()->setStretchLastSection(false);
    return view;
}

} // namespace

COperatorDlg::COperatorDlg(CAppSettings& settings, const CLayoutProfile& profile,
                           COperatorSession& session, CNotifier& notifier, ConsoleTimings timings,
                           QWidget* parent)
    : QWidget(parent), m_settings(settings), m_profile(profile), m_session(session),
      m_notifier(notifier), m_launcher(&CUrlLauncher::Desktop()),
      m_bridge(new CSessionBridge(session, this)),
      m_commands(new CConsoleCommands(session, timings, this)),
      m_keepAlive(new CKeepAlive(*m_commands, timings.keepAlivePeriod, this))
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
    m_visitorsView = MakeList(m_stack);
    m_visitorsView->setObjectName(QStringLiteral("visitors"));
    m_operatorsView = MakeList(m_stack);
    m_operatorsView->setObjectName(QStringLiteral("operators"));
    // The operators list shows its selection only while it has the focus.
    QPalette quiet = m_operatorsView->palette();
    quiet.setColor(QPalette::Inactive, QPalette::Highlight, quiet.color(QPalette::Base));
    quiet.setColor(QPalette::Inactive, QPalette::HighlightedText, quiet.color(QPalette::Text));
    m_operatorsView->setPalette(quiet);
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
    auto* visitors = new CBasicVisitorModel(this);
    connect(m_bridge, &CSessionBridge::VisitorsRefreshed, visitors, &CBasicVisitorModel::Refresh);
    connect(m_bridge, &CSessionBridge::VisitorAdded, visitors, &CBasicVisitorModel::Add);
    connect(m_bridge, &CSessionBridge::VisitorRemoved, visitors, &CBasicVisitorModel::Remove);
    connect(m_bridge, &CSessionBridge::VisitorInvited, visitors, &CBasicVisitorModel::MarkInvited);
    auto* operators = new CBasicOperatorModel(this);
    connect(m_bridge, &CSessionBridge::OperatorsRefreshed, operators,
            &CBasicOperatorModel::Refresh);
    connect(m_bridge, &CSessionBridge::OperatorAdded, operators, &CBasicOperatorModel::Add);
    connect(m_bridge, &CSessionBridge::OperatorUpdated, operators, &CBasicOperatorModel::Update);
    connect(m_bridge, &CSessionBridge::OperatorRemoved, operators, &CBasicOperatorModel::Remove);

    m_visitorModel = visitors;
    m_operatorModel = operators;
    m_visitorsView->setModel(m_visitorModel);
    m_operatorsView->setModel(m_operatorModel);
    m_visitorsView->header()->resizeSection(0, 410);
    m_visitorsView->header()->resizeSection(1, 100);
    m_operatorsView->header()->resizeSection(0, 220);
    m_operatorsView->header()->resizeSection(1, 120);
    m_operatorsView->header()->resizeSection(2, 100);

    // Connected after the model, so it runs once the rows are in.
    connect(m_bridge, &CSessionBridge::VisitorsRefreshed, this,
            [this] { emit VisitorsListed(m_visitorModel->rowCount()); });
    connect(m_visitorsView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &COperatorDlg::OnVisitorSelectionChanged);
    connect(m_visitorsView, &QTreeView::doubleClicked, this, &COperatorDlg::OnVisitorDoubleClicked);
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

int COperatorDlg::Shutdown()
{
    if (m_shutDown)
        return m_stragglers;
    m_shutDown = true;
    m_keepAlive->Stop();
    m_stragglers = m_commands->Shutdown();
    m_bridge->Detach();
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
    QModelIndexList selected = m_visitorsView->selectionModel()->selectedRows(0);
    std::sort(selected.begin(), selected.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    std::vector<int> ids;
    for (const QModelIndex& index : std::as_const(selected)) {
        const int id = index.data(ListRole::Id).toInt();
        if (id <= 0)
            continue;
        ids.push_back(id);
        m_visitorModel->setData(index, true, ListRole::Invited);
    }
    if (!ids.empty())
        m_commands->StartInvite(std::move(ids), m_settings.m_username);
}

void COperatorDlg::OnVisitorDoubleClicked(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    m_notifier.Ask(this, Text(ConsoleText::kProduct), Text(ConsoleText::kInviteQuestion),
                   [this](bool yes) {
                       if (yes)
                           OnInvite();
                   });
}

void COperatorDlg::OnVisitorSelectionChanged()
{
    if (LoggedIn())
        m_toolbar->Invite()->setEnabled(m_visitorsView->selectionModel()->hasSelection());
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
    m_operatorModel->removeRows(0, m_operatorModel->rowCount());
    m_visitorModel->removeRows(0, m_visitorModel->rowCount());
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

void COperatorDlg::OnMinuteTick()
{
    for (int row = 0; row < m_visitorModel->rowCount(); ++row) {
        const QModelIndex index = m_visitorModel->index(row, 0);
        m_visitorModel->setData(index, index.data(ListRole::Minutes).toInt() + 1,
                                ListRole::Minutes);
    }
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
