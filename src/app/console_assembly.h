#pragma once

#include "console_timings.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <chrono>
#include <memory>

class CActiveChats;
class CAppSettings;
class CChatArchive;
class CChatDlg;
class CChatTabsDlg;
class CCredentialStore;
class CCredentials;
class CDesktopNotifier;
class CLayoutProfile;
class CLineSound;
class CMissedChats;
class CNotifier;
class COperatorDlg;
class COperatorSession;
class CSessionBridge;
class CWorkerPool;
struct CIncomingCall;

// Where the console keeps what it keeps. Empty paths are the operator's own files; the demo and
// the tests put everything in a folder of their own.
struct ConsolePlaces
{
    QString settings;
    QString layout;
    QString canned;
    QString missed;
    QString history;
    QString autoRun;
    // The desktop's keyring for the password, its notification service and the check of the
    // alert paths: off where the desktop is not the operator's.
    bool keyring = true;
    bool desktop = true;

    static ConsolePlaces InFolder(const QString& folder);
};

// The console put together: the settings and the layout profile, the worker pool and the
// session bridge on the session, the main window with its desktop services, the history, the
// active chats, and the chat windows it opens for accepted calls (windows of their own, or tabs
// of one). The program runs one; the tests and the screenshot tool run theirs the same way.
//
// Everything here belongs to the GUI thread.
class CConsoleAssembly final
{
public:
    // The settings record, the layout profile (the files of places), the session and the
    // notifier must outlive the assembly.
    CConsoleAssembly(CAppSettings& settings, const CLayoutProfile& profile,
                     COperatorSession& session, CNotifier& notifier, const ConsolePlaces& places,
                     ConsoleTimings timings = {});
    // Shuts down with kShutdownBound if that has not been done.
    ~CConsoleAssembly();
    CConsoleAssembly(const CConsoleAssembly&) = delete;
    CConsoleAssembly& operator=(const CConsoleAssembly&) = delete;

    // How long quitting waits for the pool's jobs (calls closing, a log-in still connecting)
    // once their connections are closed.
    static constexpr std::chrono::seconds kShutdownBound{5};

    CWorkerPool& Pool() { return *m_pool; }
    CSessionBridge& Bridge() { return *m_bridge; }
    COperatorDlg& Window() { return *m_window; }
    CActiveChats& ActiveChats() { return *m_activeChats; }
    CChatArchive& Archive() { return *m_archive; }
    // The chat windows open now, oldest first.
    QList<CChatDlg*> ChatWindows() const;

    // What accepting an offer does: a chat window that opens the call.
    CChatDlg* OpenChat(const CIncomingCall& call);

    // Ends everything in order: the chat windows first (each closes its call on the pool while
    // the session is there), then the main window's timers, popups and offers, the bridge, and
    // the pool, waited for within bound after the session's connection has been closed. False
    // when a job was still inside the session then: the session must not be destroyed.
    // Idempotent.
    bool Shutdown(std::chrono::milliseconds bound = kShutdownBound);

private:
    void Wire(const ConsolePlaces& places);

    COperatorSession& m_session;
    CNotifier& m_notifier;
    CAppSettings* m_settings;
    const CLayoutProfile* m_profile;
    std::unique_ptr<CWorkerPool> m_pool;
    std::unique_ptr<CSessionBridge> m_bridge;
    std::unique_ptr<CChatArchive> m_archive;
    std::unique_ptr<CActiveChats> m_activeChats;
    std::unique_ptr<CMissedChats> m_missed;
    std::unique_ptr<CDesktopNotifier> m_desktopNotifier;
    std::unique_ptr<CCredentialStore> m_keyring;
    std::unique_ptr<CCredentials> m_credentials;
    std::unique_ptr<CLineSound> m_lineSound;
    std::unique_ptr<COperatorDlg> m_window;
    QList<QPointer<CChatDlg>> m_chats;
    QPointer<CChatTabsDlg> m_tabs;
    bool m_shutDown = false;
    bool m_clean = true;
};
