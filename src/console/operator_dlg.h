#pragma once

#include "connection_state.h"
#include "console_timings.h"

#include <QList>
#include <QPointer>
#include <QWidget>
#include <functional>

class CAppSettings;
class CCallOffers;
class CConsoleCommands;
class CConsoleToolbar;
class CGradientLabel;
class CKeepAlive;
class CLayoutProfile;
class CLoginDlg;
class CNavigationColumn;
class CNotifier;
class COperatorListCtrl;
class COperatorListModel;
class COperatorSession;
class CSessionBridge;
class CTrayIcon;
class CUrlLauncher;
class CVisitorListCtrl;
class CVisitorListModel;
class CWebPane;
class QStackedWidget;
class QTreeView;
struct CIncomingCall;
struct CVisitorEntry;

// The console's main window: the toolbar of commands, the navigation column, and the pane that
// shows the visitors list, the operators list or a web page of the service. It shows the
// connection state (title and open commands, and the tray icon with its balloons), runs the
// commands, keeps the connection alive and reconnects, announces arriving visitors in popups,
// and saves and restores its layout.
//
// Everything here runs on the window thread. Session events arrive through the bridge;
// network commands run on workers (CConsoleCommands) and report back. Message boxes and
// questions go through the notifier.
//
// Enter and Escape do not close the window; the close box and Quit (Ctrl+Q) do, through the
// close request, which saves the layout.
class COperatorDlg final : public QWidget
{
    Q_OBJECT

public:
    // Runs the settings editor on the record and returns once it has closed.
    using SettingsEditor = std::function<void(CAppSettings& settings, QWidget* parent)>;
    // Runs the canned answers editor and returns once it has closed.
    using CannedAnswersEditor = std::function<void(QWidget* parent)>;

    // Opens the chat window of an accepted call.
    using ChatWindowFactory = std::function<void(int callId)>;

    // Newer server versions than this offer the download of a new console.
    static constexpr int kConsoleVersion = 15;

    // None of the references is owned; all must outlive the window. The session is the one the
    // window logs in with: the process-wide one, or a test's.
    COperatorDlg(CAppSettings& settings, const CLayoutProfile& profile, COperatorSession& session,
                 CNotifier& notifier, ConsoleTimings timings = {}, QWidget* parent = nullptr);
    // Runs Shutdown() if it has not run.
    ~COperatorDlg() override;

    // "View Settings", and the Login command when no server address is set. Until set, the
    // options dialog edits the record.
    void SetSettingsEditor(SettingsEditor editor);
    // "Canned Answers". Unset: nothing opens.
    void SetCannedAnswersEditor(CannedAnswersEditor editor);
    // Whether a tray icon is there to bring the window back. Only then, and only where the
    // desktop has a system tray, does minimising hide the window. Until set: whether the
    // window's own tray icon has a notification area to sit in.
    void SetTrayIconShown(std::function<bool()> shown);
    // Opens the download page and the links of the dialogs; not owned. Null: the desktop's.
    void SetLauncher(const CUrlLauncher* launcher);
    // Opens the chat window when the operator accepts an offered call. Unset: Accept only
    // closes the offer.
    void SetChatWindowFactory(ChatWindowFactory factory);

    // The open chat windows: each adds itself and is shown again when minimising hides the
    // main window.
    QList<QPointer<QWidget>>& ChatWindows() { return m_chatWindows; }

    CSessionBridge& Bridge() const { return *m_bridge; }
    CConsoleToolbar* Toolbar() const { return m_toolbar; }
    CNavigationColumn* Navigation() const { return m_navigation; }
    CGradientLabel* PaneCaption() const { return m_caption; }
    CVisitorListCtrl* VisitorsView() const { return m_visitorsView; }
    COperatorListCtrl* OperatorsView() const { return m_operatorsView; }
    CVisitorListModel* VisitorModel() const { return m_visitorModel; }
    COperatorListModel* OperatorModel() const { return m_operatorModel; }
    CTrayIcon* TrayIcon() const { return m_tray; }
    CWebPane* WebPane() const { return m_webPane; }
    // The offers of calls open on the desktop, and their ring.
    CCallOffers* CallOffers() const { return m_offers; }

    // Cooperative shutdown: stops the keep-alive, ends the session's connection, joins the
    // worker threads within the bound, closes the visitor popups and the offers of calls, takes
    // the tray icon away and detaches from the session. Returns how many workers
    // did not end in time; the session must then not be destroyed. Idempotent.
    int Shutdown();

signals:
    // The operator closed the window (close box, Quit): the program ends. Hiding to the tray
    // is not closing.
    void Closed();
    // After the first display, once the automatic log-in (if any) has started.
    void FirstShown();
    // After every change of the title; loggedIn as the session says. The tray icon follows it.
    void ConnectionShown(const QString& title, bool loggedIn);
    // A notification for the tray's balloon.
    void Notification(const QString& text, const QString& title);
    // A refreshed visitors list has been listed.
    void VisitorsListed(int count);
    // A visitor who arrived while the console runs has been listed; popup is the announcement,
    // or null when none opened (hints off, or every slot taken).
    void VisitorAnnounced(int visitorId, QWidget* popup);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildWindow();
    void ConnectCommands();
    void InstallListModels();
    void Apply();
    bool LoggedIn() const;

    void RestoreLayout();
    void SaveLayout() const;
    void RunAutoLogin();

    // Commands.
    void OnLogin();
    void OpenLoginDialog();
    void OnLogout();
    void OnStatusChosen(int status);
    void OnInvite();
    bool AskToInvite(QWidget* parent, const QString& question);
    void OnVisitorSelectionChanged();
    void RunSettingsEditor();
    void RunCannedAnswers();
    void OpenAbout();
    void ShowList(QTreeView* view, const char* caption);
    void ShowWebPage(const QUrl& url, const char* caption);
    bool StartConnect(bool reconnect);

    // Results and events.
    void OnConnectFinished(int result, bool wasReconnect);
    void OnLoggedIn();
    void OnLoggedOut(int reason);
    void OnStatusChanged(int status);
    void OnVisitorAdded(const CVisitorEntry& entry);
    void OnIncomingCall(const CIncomingCall& call);
    void Announce(const CVisitorEntry& entry);
    void OnMinuteTick();
    void OnKeepAliveFailed();
    void ClearLists();
    void HideToTray();
    void RestoreFromTray();

    CAppSettings& m_settings;
    const CLayoutProfile& m_profile;
    COperatorSession& m_session;
    CNotifier& m_notifier;
    const CUrlLauncher* m_launcher;

    CSessionBridge* m_bridge;
    CConsoleCommands* m_commands;
    CKeepAlive* m_keepAlive;
    CConnectionState m_state;

    CConsoleToolbar* m_toolbar = nullptr;
    CNavigationColumn* m_navigation = nullptr;
    CGradientLabel* m_caption = nullptr;
    QStackedWidget* m_stack = nullptr;
    CVisitorListCtrl* m_visitorsView = nullptr;
    COperatorListCtrl* m_operatorsView = nullptr;
    CWebPane* m_webPane = nullptr;
    CVisitorListModel* m_visitorModel = nullptr;
    COperatorListModel* m_operatorModel = nullptr;
    CTrayIcon* m_tray = nullptr;
    CCallOffers* m_offers;
    QPointer<CLoginDlg> m_loginDlg;

    SettingsEditor m_settingsEditor;
    CannedAnswersEditor m_cannedEditor;
    std::function<bool()> m_trayIconShown;
    QList<QPointer<QWidget>> m_chatWindows;

    // The visitor popups' shared counters: how many are open, and how many fit on the screen
    // (0 until the first popup has measured itself). Every popup is closed before they go.
    int m_popupsOpen = 0;
    int m_popupSlots = 0;

    int m_requestedStatus = 1;
    bool m_firstShown = false;
    bool m_shutDown = false;
    int m_stragglers = 0;
};
