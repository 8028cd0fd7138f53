#include "operator_dlg.h"
#include "missed_chats.h"
#include "alert_check.h"
#include "ring_player.h"
#include "offers_view.h"
#include "offer_alerts.h"

#include "about_dlg.h"
#include "active_chats.h"
#include "active_chats_view.h"
#include "app_settings.h"
#include "banner.h"
#include "call_offers.h"
#include "chat_archive.h"
#include "connection_controller.h"
#include "console_toolbar.h"
#include "dialog_units.h"
#include "flat_button.h"
#include "gradient_button.h"
#include "gradient_label.h"
#include "history_dlg.h"
#include "layout_profile.h"
#include "navigation_column.h"
#include "notifier.h"
#include "result_text.h"
#include "operator_list_ctrl.h"
#include "operator_list_model.h"
#include "service_pages.h"
#include "session_bridge.h"
#include "tray_icon.h"
#include "url_launcher.h"
#include "visitor_list_ctrl.h"
#include "visitor_list_model.h"
#include "visitor_announcer.h"
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
#include <QTableView>
#include <QVBoxLayout>

COperatorDlg::COperatorDlg(CAppSettings& settings, const CLayoutProfile& profile,
                           CSessionBridge& bridge, CNotifier& notifier, ConsoleTimings timings,
                           QWidget* parent)
    : QWidget(parent), m_settings(settings), m_profile(profile), m_bridge(bridge),
      m_notifier(notifier), m_launcher(&CUrlLauncher::Desktop()),
      m_connection(new CConnectionController(settings, bridge, notifier, timings, this)),
      m_tray(new CTrayIcon(&settings, this)),
      m_offers(new CCallOffers(settings, timings.notifySecond, this)),
      m_announcer(new CVisitorAnnouncer(settings, bridge, notifier, this)),
      m_trayIconShown([this] { return m_tray->IsAvailable(); })
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowIcon(QIcon(QStringLiteral(":/console/parlendo.svg")));
    BuildWindow();
    InstallLists();
    ConnectCommands();
    m_offers->Follow(m_bridge);
    connect(m_announcer, &CVisitorAnnouncer::Announced, this, &COperatorDlg::VisitorAnnounced);
    connect(m_announcer, &CVisitorAnnouncer::VisitorsListWanted, this, [this] {
        RestoreFromTray();
        ShowList(m_visitorsView, tr(" Website Visitors"));
    });
    connect(m_offers, &CCallOffers::Changed, this, &COperatorDlg::ShowWaitingOffers);
    m_navigation->AddListSection(tr("Chat requests"), new COffersView(*m_offers));
    m_offers->SetKeepClear([this] {
        return isVisible() && !isMinimized()
                   ? QRect(m_stack->mapToGlobal(QPoint(0, 0)), m_stack->size())
                   : QRect();
    });
    InstallAlerts();
    ShowConnectionState();
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
    m_navigation = new CNavigationColumn(this);
    m_caption = new CGradientLabel(tr(" Website Visitors"), this);
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

    m_offersBanner = new CBanner(QStringLiteral("offersBanner"), this);
    m_alertsBanner = new CBanner(QStringLiteral("alertsBanner"), this);

    auto* pane = new QVBoxLayout;
    pane->setContentsMargins(0, 0, 0, 0);
    pane->setSpacing(units.Y(1));
    pane->addWidget(m_connection->Banner());
    pane->addWidget(m_alertsBanner);
    pane->addWidget(m_offersBanner);
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

void COperatorDlg::InstallLists()
{
    // The models read the blocked addresses and domain patterns from the record at each event,
    // so what the options dialog changes applies to the next visitor.
    m_visitorModel = new CVisitorListModel(&m_settings, this);
    m_operatorModel = new COperatorListModel(this);
    m_visitorModel->Follow(m_bridge);
    m_operatorModel->Follow(m_bridge);
    // The views set their default column widths here; the stored ones replace them at the
    // first display.
    m_visitorsView->setModel(m_visitorModel);
    m_operatorsView->setModel(m_operatorModel);

    connect(m_visitorModel, &CVisitorListModel::Listed, this, &COperatorDlg::VisitorsListed);
    connect(m_visitorModel, &CVisitorListModel::VisitorArrived, this,
            [this](const CVisitorEntry& entry) {
                // Announced after the row is in and drawn: a popup never holds the list back.
                QMetaObject::invokeMethod(
                    m_announcer, [this, entry] { m_announcer->Announce(entry); },
                    Qt::QueuedConnection);
            });
    connect(m_visitorsView, &CVisitorListCtrl::SelectionPresenceChanged, this,
            &COperatorDlg::OnVisitorSelectionChanged);
    connect(m_visitorsView, &CVisitorListCtrl::InviteRequested, this, &COperatorDlg::OnInvite);
    m_visitorsView->SetAsker(
        [this](QWidget* parent, const QString& question) { return AskToInvite(parent, question); });
}

void COperatorDlg::ConnectCommands()
{
    connect(m_toolbar->Login(), &CFlatButton::clicked, m_connection,
            &CConnectionController::OnLoginCommand);
    connect(m_toolbar->Logout(), &CFlatButton::clicked, m_connection,
            &CConnectionController::OnLogoutCommand);
    connect(m_toolbar, &CConsoleToolbar::StatusChosen, m_connection,
            &CConnectionController::ChooseStatus);
    connect(m_toolbar->Invite(), &CFlatButton::clicked, this, &COperatorDlg::OnInvite);
    connect(m_toolbar->ViewSettings(), &CFlatButton::clicked, this,
            &COperatorDlg::RunSettingsEditor);
    connect(m_toolbar->CannedAnswers(), &CFlatButton::clicked, this,
            &COperatorDlg::RunCannedAnswers);
    connect(m_toolbar->About(), &CFlatButton::clicked, this, &COperatorDlg::OpenAbout);

    connect(m_navigation->Visitors(), &CGradientButton::clicked, this,
            [this] { ShowList(m_visitorsView, tr(" Website Visitors")); });
    connect(m_navigation->Operators(), &CGradientButton::clicked, this,
            [this] { ShowList(m_operatorsView, tr(" Website Operators")); });
    connect(m_navigation->Reports(), &CGradientButton::clicked, this, [this] {
        ShowWebPage(ServicePages::Reports(m_settings.m_serverAddress, m_settings.m_username,
                                          m_settings.m_password),
                    tr(" Website reports"));
    });
    connect(m_navigation->Account(), &CGradientButton::clicked, this, [this] {
        ShowWebPage(ServicePages::Account(m_settings.m_serverAddress, m_settings.m_username,
                                          m_settings.m_password),
                    tr(" Account Settings"));
    });
    connect(m_navigation->Tutorial(), &CGradientButton::clicked, this, [this] {
        ShowWebPage(ServicePages::Tutorial(m_settings.m_serverAddress), tr(" Quick Tutorial"));
    });

    m_connection->SetSettingsEditor([this] { RunSettingsEditor(); });
    connect(m_connection, &CConnectionController::StateChanged, this,
            &COperatorDlg::ShowConnectionState);
    connect(m_connection, &CConnectionController::MinuteTick, m_visitorModel,
            &CVisitorListModel::TickMinutes);
    // The tray icon shows the balloons (it leaves them out itself while the operator wants no
    // hints) and brings the window back.
    connect(m_connection, &CConnectionController::Notification, m_tray, &CTrayIcon::ShowBalloon);
    connect(m_tray, &CTrayIcon::RestoreRequested, this, &COperatorDlg::RestoreFromTray);
    connect(m_tray, &CTrayIcon::HideRequested, this, [this] {
        showMinimized(); // hides to the tray, as minimising does
    });
    connect(m_tray, &CTrayIcon::StatusChosen, m_connection, &CConnectionController::ChooseStatus);
    connect(m_tray, &CTrayIcon::QuitRequested, this, &QWidget::close);
    m_tray->SetMenuState([this] { return isVisible() && !isMinimized(); });
    connect(&m_bridge, &CSessionBridge::InviteFinished, this, [this](int result) {
        if (result < 0)
            m_notifier.Inform(this, tr("Failed to invite selected users to chat.\r\n") +
                                        ResultText(result));
    });
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

void COperatorDlg::SetActiveChats(CActiveChats* chats)
{
    if (!chats)
        return;
    m_activeChats = chats;
    m_navigation->AddListSection(tr("Active chats"), new CActiveChatsView(*chats));
    // From the console to a chat, by the same keys as from chat to chat.
    chats->AddKeys(this, nullptr);
}

void COperatorDlg::SetArchive(CChatArchive* archive)
{
    m_archive = archive;
    if (!m_archive)
        return;
    // What the history has to say (moved aside, locked) never stops anything.
    connect(m_archive, &CChatArchive::Notice, this,
            [this](const QString& text) { m_tray->ShowAlert(text, tr("Chat History")); });
    auto* open = new QAction(tr("Chat History"), this);
    open->setObjectName(QStringLiteral("openHistory"));
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    open->setShortcutContext(Qt::WindowShortcut);
    connect(open, &QAction::triggered, this, &COperatorDlg::OpenHistory);
    addAction(open);
    connect(m_navigation->History(), &CGradientButton::clicked, this, &COperatorDlg::OpenHistory);
}

void COperatorDlg::OpenHistory()
{
    if (!m_archive)
        return;
    if (!m_history) {
        m_history = new CHistoryDlg(*m_archive);
        m_history->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_history->show();
    m_history->raise();
    m_history->activateWindow();
}

void COperatorDlg::SetCredentials(CCredentials* credentials)
{
    m_connection->SetCredentials(credentials);
}

void COperatorDlg::SetChatWindows(std::function<QList<QWidget*>()> chatWindows)
{
    m_chatWindows = std::move(chatWindows);
}

void COperatorDlg::SetLauncher(const CUrlLauncher* launcher)
{
    m_launcher = launcher ? launcher : &CUrlLauncher::Desktop();
    m_webPane->SetLauncher(m_launcher);
    m_announcer->SetLauncher(m_launcher);
    m_connection->SetLauncher(m_launcher);
}

void COperatorDlg::ShowConnectionState()
{
    const CConnectionState& state = m_connection->State();
    const QString title = state.Title();
    setWindowTitle(title);
    m_toolbar->Login()->setEnabled(state.LoginEnabled());
    m_toolbar->Logout()->setEnabled(state.LogoutEnabled());
    m_toolbar->MyStatus()->setEnabled(state.StatusEnabled());
    // Invite to Chat also needs a visitor to invite.
    m_toolbar->Invite()->setEnabled(state.InviteEnabled() && m_visitorsView->HasSelection());
    m_tray->Modify(m_connection->IsLoggedIn(), title);
}

void COperatorDlg::InstallAlerts()
{
    // Ctrl+Shift+A answers the chat request that has waited longest, wherever it is.
    auto* acceptOldest = new QAction(tr("Accept the oldest chat request"), this);
    acceptOldest->setObjectName(QStringLiteral("acceptOldest"));
    acceptOldest->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
    acceptOldest->setShortcutContext(Qt::WindowShortcut);
    connect(acceptOldest, &QAction::triggered, m_offers, &CCallOffers::AcceptOldest);
    addAction(acceptOldest);

    CRingPlayer& ring = m_offers->Ring();
    connect(m_toolbar, &CConsoleToolbar::MuteChosen, &ring, &CRingPlayer::SetMuted);
    connect(m_tray, &CTrayIcon::MuteChosen, &ring, &CRingPlayer::SetMuted);
    connect(&ring, &CRingPlayer::MutedChanged, this, [this](bool muted) {
        m_toolbar->SetMuted(muted);
        m_tray->SetMuted(muted);
        ShowAlertPaths();
    });

    m_missedView = new QTableView(m_stack);
    m_missedView->setObjectName(QStringLiteral("missedChats"));
    m_missedView->setAccessibleName(tr("Missed chats"));
    m_missedView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_missedView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_missedView->verticalHeader()->hide();
    m_missedView->horizontalHeader()->setStretchLastSection(true);
    m_stack->addWidget(m_missedView);
    connect(m_navigation->Missed(), &CGradientButton::clicked, this, [this] {
        ShowList(m_missedView, tr(" Missed Chats"));
        if (m_missed)
            m_missed->MarkAllSeen();
    });
}

void COperatorDlg::SetDesktopServices(CDesktopNotifier* notifier, CAlertCheck* alerts,
                                      CMissedChats* missed)
{
    new COfferAlerts(*m_offers, *m_tray, notifier, missed, this);
    m_alerts = alerts;
    m_missed = missed;
    if (m_alerts)
        connect(m_alerts, &CAlertCheck::Changed, this, &COperatorDlg::ShowAlertPaths);
    if (m_missed) {
        m_missedView->setModel(m_missed);
        connect(m_missed, &CMissedChats::UnseenCountChanged, this, &COperatorDlg::ShowMissed);
        connect(m_missed, &CMissedChats::Note, this,
                [this](const QString& text) { m_tray->ShowBalloon(text, tr("Parlendo")); });
        ShowMissed();
    }
    ShowAlertPaths();
}

void COperatorDlg::ShowMissed()
{
    const int unseen = m_missed ? m_missed->UnseenCount() : 0;
    // Counted until the operator has looked at the list.
    m_navigation->Missed()->setText(unseen > 0 ? tr("Missed Chats (%1)").arg(unseen)
                                               : tr("Missed Chats"));
    m_tray->SetMissedCount(unseen);
}

void COperatorDlg::ShowAlertPaths()
{
    // What the operator would miss, said where the operator looks: the paths that are dead on
    // this desktop, and the ring while it is muted.
    QStringList lines = m_alerts ? m_alerts->Banners() : QStringList();
    if (m_offers->Ring().IsMuted())
        lines.append(tr("Chat requests will not be heard: the ring is muted"));
    m_alertsBanner->Say(lines.join(QLatin1Char('\n')), CBanner::Tone::Warning);
    if (m_offers->Ring().IsMuted())
        m_alertsBanner->SetAction(tr("&Unmute"), [this] { m_offers->Ring().SetMuted(false); });
    else
        m_alertsBanner->SetAction({}, {});
}

void COperatorDlg::ShowWaitingOffers()
{
    // Offers beyond the windows the desktop can take wait here, counted, not one window each.
    const int waiting = m_offers->Waiting();
    m_offersBanner->Say(waiting > 0 ? tr("%n more chat request(s) waiting", nullptr, waiting)
                                    : QString(),
                        CBanner::Tone::Warning);
    m_offersBanner->SetAction(tr("&Accept the oldest"), [this] { m_offers->AcceptOldest(); });
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
    m_tray->Add(m_connection->IsLoggedIn(), windowTitle());
    QTimer::singleShot(0, this, [this] {
        m_connection->Start();
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
    // Quitting ends every chat: asked first while any is live.
    const int live = m_activeChats ? m_activeChats->LiveCount() : 0;
    if (live > 0 && !m_quitConfirmed) {
        event->ignore();
        m_notifier.Ask(this, tr("Parlendo"),
                       tr("%n chat(s) are still open. End them and quit?", nullptr, live),
                       [window = QPointer<COperatorDlg>(this)](bool yes) {
                           if (!window || !yes)
                               return;
                           window->m_quitConfirmed = true;
                           // Not from inside the close that asked: that one is still running
                           // and would swallow this one.
                           QMetaObject::invokeMethod(window, &QWidget::close,
                                                     Qt::QueuedConnection);
                       });
        return;
    }
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
    if (m_chatWindows)
        for (QWidget* chat : m_chatWindows())
            chat->show();
}

void COperatorDlg::RestoreFromTray()
{
    showNormal();
    raise();
    activateWindow();
}

void COperatorDlg::Shutdown()
{
    if (std::exchange(m_shutDown, true))
        return;
    m_connection->Stop();
    // The popups point at the counters of this window; an offer accepted now would open a chat
    // window on a console that is going.
    m_announcer->Stop();
    delete m_history.data();
    m_offers->Stop();
    m_tray->Remove();
}

// --- Commands ------------------------------------------------------------------------------

void COperatorDlg::OnInvite()
{
    if (!m_connection->IsLoggedIn())
        return;
    if (m_bridge.IsInviting()) {
        m_notifier.Inform(this, tr("There is already a similar command in progress.\r\nPlease "
                                   "wait for the previous command to finish first."));
        return;
    }
    // Red at once: the server's confirmation (VisitorInvited) only confirms it.
    const std::vector<std::int32_t> marked = m_visitorsView->MarkSelectedInvited();
    if (!marked.empty())
        m_bridge.Invite(std::vector<int>(marked.begin(), marked.end()), m_settings.m_username);
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
    m_notifier.Ask(parent, tr("Parlendo"), question, [this, answer](bool yes) {
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
    if (m_connection->IsLoggedIn())
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

void COperatorDlg::ShowList(QWidget* view, const QString& caption)
{
    m_stack->setCurrentWidget(view);
    m_caption->SetText(caption);
}

void COperatorDlg::ShowWebPage(const QUrl& url, const QString& caption)
{
    m_stack->setCurrentWidget(m_webPane);
    m_webPane->Navigate(url);
    m_caption->SetText(caption);
}
