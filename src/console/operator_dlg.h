#pragma once

#include "call_dlg.h"
#include "console_timings.h"
#include "shortcut_table.h"

#include <QList>
#include <QPointer>
#include <QWidget>
#include <functional>

class CActiveChats;
class CAlertCheck;
class CVisitorAnnouncer;
class CAppSettings;
class CChatArchive;
class CHistoryDlg;
class CCredentials;
class CDesktopNotifier;
class CMissedChats;
class QTableView;
class CBanner;
class CCallOffers;
class CConnectionController;
class CConsoleToolbar;
class CGradientLabel;
class CLayoutProfile;
class CLiveRegion;
class CNavigationColumn;
class CNotifier;
class COperatorListCtrl;
class COperatorListModel;
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
// connection state that its controller keeps (title, open commands, the tray icon with its
// balloons), runs the commands, announces arriving visitors in popups, offers the calls the
// server offers, and saves and restores its layout.
//
// Everything here runs on the GUI thread and reaches the session only through its bridge.
// Message boxes and questions go through the notifier.
//
// Enter and Escape do not close the window; the close box and Quit (Ctrl+Q) do, through the
// close request, which saves the layout. Its keyboard shortcuts are ConsoleShortcuts(); F1 and
// the about box list them. A new chat request is announced to screen readers.
class COperatorDlg final : public QWidget
{
    Q_OBJECT

public:
    // Runs the settings editor on the record and returns once it has closed.
    using SettingsEditor = std::function<void(CAppSettings& settings, QWidget* parent)>;
    // Runs the canned answers editor and returns once it has closed.
    using CannedAnswersEditor = std::function<void(QWidget* parent)>;

    // None of the references is owned; all must outlive the window.
    COperatorDlg(CAppSettings& settings, const CLayoutProfile& profile, CSessionBridge& bridge,
                 CNotifier& notifier, ConsoleTimings timings = {}, QWidget* parent = nullptr);
    // Runs Shutdown() if it has not run.
    ~COperatorDlg() override;

    // "View Settings", and the Login command when no server address is set. Unset: nothing.
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
    void SetChatWindowFactory(CCallDlg::ChatWindowFactory factory);
    // The chats open now: listed under the View column, and reached with Ctrl+Tab and
    // Alt+1...9. Must outlive the window.
    void SetActiveChats(CActiveChats* chats);
    // What this desktop offers for not missing a chat request: its notification service, the
    // check of the alert paths and the missed chats. Any may be null; none is owned.
    void SetDesktopServices(CDesktopNotifier* notifier, CAlertCheck* alerts, CMissedChats* missed);
    // The history of every chat, opened from the View column and with Ctrl+H; not owned.
    void SetArchive(CChatArchive* archive);
    // Where the password is kept between runs; not owned. Unset: the settings file.
    void SetCredentials(CCredentials* credentials);
    // The open chat windows, shown again when minimising hides the main window.
    void SetChatWindows(std::function<QList<QWidget*>()> chatWindows);
    // What the list of keyboard shortcuts shows: every window's. Until set, this window's only.
    void SetShortcutTables(QList<CShortcutTable> tables) { m_shortcutTables = std::move(tables); }

    // The console is closing: the keep-alive stops, the popups and offers close and the tray
    // icon goes. The connection itself is the application's to end. Idempotent.
    void Shutdown();

signals:
    // The operator closed the window (close box, Quit): the program ends. Hiding to the tray
    // is not closing.
    void Closed();
    // After the first display, once the automatic log-in (if any) has started.
    void FirstShown();
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
    void InstallLists();
    void InstallShortcuts();
    void OpenShortcuts(QWidget* over);
    void ShowConnectionState();
    void ShowWaitingOffers();
    void InstallAlerts();
    void ShowMissed();
    void ShowAlertPaths();
    void OpenHistory();

    void RestoreLayout();
    void SaveLayout() const;

    void OnInvite();
    bool AskToInvite(QWidget* parent, const QString& question);
    void OnVisitorSelectionChanged();
    void RunSettingsEditor();
    void RunCannedAnswers();
    void OpenAbout();
    void ShowList(QWidget* view, const QString& caption);
    void ShowWebPage(const QUrl& url, const QString& caption);
    void HideToTray();
    void RestoreFromTray();

    CAppSettings& m_settings;
    const CLayoutProfile& m_profile;
    CSessionBridge& m_bridge;
    CNotifier& m_notifier;
    const CUrlLauncher* m_launcher;

    CConnectionController* m_connection;
    CConsoleToolbar* m_toolbar = nullptr;
    CNavigationColumn* m_navigation = nullptr;
    CGradientLabel* m_caption = nullptr;
    CBanner* m_offersBanner = nullptr;
    CBanner* m_alertsBanner = nullptr;
    QTableView* m_missedView = nullptr;
    QPointer<CAlertCheck> m_alerts;
    QPointer<CMissedChats> m_missed;
    QPointer<CChatArchive> m_archive;
    QPointer<CHistoryDlg> m_history;
    QStackedWidget* m_stack = nullptr;
    CVisitorListCtrl* m_visitorsView = nullptr;
    COperatorListCtrl* m_operatorsView = nullptr;
    CWebPane* m_webPane = nullptr;
    CVisitorListModel* m_visitorModel = nullptr;
    COperatorListModel* m_operatorModel = nullptr;
    CTrayIcon* m_tray = nullptr;
    CCallOffers* m_offers;
    CVisitorAnnouncer* m_announcer;
    CLiveRegion* m_live;
    QList<CShortcutTable> m_shortcutTables;

    SettingsEditor m_settingsEditor;
    CannedAnswersEditor m_cannedEditor;
    std::function<bool()> m_trayIconShown;
    std::function<QList<QWidget*>()> m_chatWindows;



    CActiveChats* m_activeChats = nullptr;
    bool m_quitConfirmed = false;
    bool m_firstShown = false;
    bool m_shutDown = false;
};
