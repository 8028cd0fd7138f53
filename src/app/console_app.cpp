#include "console_app.h"

#include "active_chats.h"
#include "alert_check.h"
#include "app_settings.h"
#include "credential_store.h"
#include "credentials.h"
#include "desktop_notifier.h"
#include "missed_chats.h"
#include "auto_run_entry.h"
#include "canned_msg_dlg.h"
#include "canned_store.h"
#include "call_bridge.h"
#include "chat_archive.h"
#include "chat_dlg.h"
#include "chat_tabs_dlg.h"
#include "demo_server.h"
#include "layout_profile.h"
#include "line_sound.h"
#include "incoming_call.h"
#include "message_box_notifier.h"
#include "operator_dlg.h"
#include "options_dlg.h"
#include "qt_operator_session.h"
#include "session_bridge.h"
#include "worker_pool.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <chrono>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <utility>

namespace {

// Resident memory of this process in kB, from the kernel's status file; -1 when unknown.
long ResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    // Read whole: the kernel reports the file's size as 0, so it has no "end" to read up to.
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray& line : lines)
        if (line.startsWith("VmRSS:"))
            return line.mid(6).simplified().split(' ').value(0).toLong();
    return -1;
}

// The developer figures of --exit-after-login, on stdout; the window closes once the visitors
// are first listed, or that many seconds later.
void WatchStartup(COperatorDlg& window, const QElapsedTimer& clock, int staySeconds)
{
    QObject::connect(&window, &COperatorDlg::FirstShown, &window, [&clock] {
        std::printf("shown %lld\n", static_cast<long long>(clock.elapsed()));
        std::fflush(stdout);
    });
    auto listed = std::make_shared<bool>(false);
    QObject::connect(&window, &COperatorDlg::VisitorsListed, &window,
                     [&window, &clock, staySeconds, listed](int count) {
                         if (std::exchange(*listed, true))
                             return;
                         std::printf("listed %d %lld rss-kb %ld\n", count,
                                     static_cast<long long>(clock.elapsed()), ResidentKb());
                         std::fflush(stdout);
                         QTimer::singleShot(std::chrono::seconds(staySeconds), &window,
                                            &QWidget::close);
                     });
}

// How long quitting waits for the pool's jobs (calls closing, a log-in still connecting) once
// their connections are closed.
constexpr std::chrono::seconds kShutdownBound{5};

} // namespace

int CConsoleApp::Run()
{
    QElapsedTimer clock;
    clock.start();

    std::optional<CDemoServer> demo;
    if (m_options.demo) {
        demo.emplace(m_options.demoVisitors, m_options.demoQuiet);
        if (!demo->Start()) {
            std::fprintf(stderr, "parlendo: the demo server did not start: %s\n",
                         qPrintable(demo->Error()));
            return EXIT_FAILURE;
        }
    }
    CAppSettings settings(demo ? demo->SettingsPath() : QString());
    const CLayoutProfile profile(demo ? demo->LayoutPath() : QString());
    CMessageBoxNotifier notifier;
    COperatorSession& session = COperatorSession::GetInstance();
    CWorkerPool pool;
    CSessionBridge bridge(session, pool);

    if (demo)
        SetCannedAnswersFilePath(demo->CannedAnswersPath());

    auto window = std::make_unique<COperatorDlg>(settings, profile, bridge, notifier);
    // The password in the desktop's keyring; the demo's throw-away login stays in its own file.
    std::unique_ptr<CCredentialStore> keyring;
    if (!demo)
        keyring = std::make_unique<CCredentialStore>([&settings](const QString& password) {
            settings.m_passwordInFile = !password.isEmpty();
            if (!password.isEmpty())
                settings.m_password = password;
            return settings.Save() == 0;
        });
    CCredentials credentials(settings, keyring.get());
    window->SetCredentials(&credentials);
    // Every chat, kept as it happens; the demo's in its own folder.
    CChatArchive archive(demo ? demo->HistoryPath() : QString());
    archive.ApplyRetention(settings.m_historyDays);
    window->SetArchive(&archive);
    window->SetSettingsEditor([&notifier, archive = &archive,
                               autoRun = demo ? demo->AutoRunPath() : QString()](
                                  CAppSettings& edited, QWidget* parent) {
        COptionsDlg dialog(edited, notifier, parent);
        if (!autoRun.isEmpty())
            dialog.SetAutoRunEntry(CAutoRunEntry(autoRun));
        dialog.exec();
        if (archive)
            archive->ApplyRetention(edited.m_historyDays);
    });
    window->SetCannedAnswersEditor([](QWidget* parent) {
        CCannedMsgDlg dialog(parent);
        dialog.exec();
    });
    QList<QPointer<CChatDlg>> chats;
    QPointer<CChatTabsDlg> tabs;
    CActiveChats activeChats;
    window->SetActiveChats(&activeChats);
    CLineSound lineSound;
    QObject::connect(&activeChats, &CActiveChats::UnseenLine, &lineSound, [&settings, &lineSound] {
        if (settings.m_lineSound == 1)
            lineSound.Play();
    });
    // The demo keeps its missed chats with its other files; the operator's go to the data folder.
    CMissedChats missed(demo ? demo->MissedChatsPath() : CMissedChatsFile::DefaultPath());
    missed.Load();
    CDesktopNotifier desktopNotifier;
    window->SetDesktopServices(&desktopNotifier, CAlertCheck::ForDesktop(window.get()), &missed);
    window->SetChatWindowFactory(
        [&settings, &profile, &session, &pool, &notifier, &chats, &tabs, &activeChats, &archive](
            const CIncomingCall& call) {
            auto* callBridge = new CCallBridge(session, pool, call.callId);
            if (settings.m_chatTabs != 1) {
                chats.append(CChatDlg::Open(settings, call, callBridge, profile, notifier,
                                            &activeChats, &archive));
                return;
            }
            // Chats as tabs of one window, made with the first of them.
            if (!tabs)
                tabs = new CChatTabsDlg(activeChats, profile);
            auto* chat = new CChatDlg(settings, call, callBridge, profile, notifier);
            chat->SetActiveChats(&activeChats);
            chat->SetArchive(&archive);
            tabs->AddChat(chat);
            chats.append(chat);
        });
    window->SetChatWindows([&chats] {
        QList<QWidget*> open;
        for (const QPointer<CChatDlg>& chat : std::as_const(chats))
            if (chat && !open.contains(chat->window()))
                open.append(chat->window());
        return open;
    });
    if (m_options.exitAfterLogin)
        WatchStartup(*window, clock, m_options.staySeconds);
    // Only the main window ends the program. Offers and chat windows are windows of their own;
    // with the console in the tray, closing the last of them must not quit, and closing the
    // console must not leave them running without it.
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(window.get(), &COperatorDlg::Closed, qApp, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    window->show();
    const int code = QApplication::exec();

    // Chat windows go first: each closes its call on the pool while the session is there.
    for (const QPointer<CChatDlg>& chat : std::as_const(chats))
        delete chat.data();
    delete tabs.data();
    window->Shutdown();
    bridge.Detach();
    // No new work from here on, and every wait of a job is cut short; closing the connection
    // wakes a job blocked on it.
    pool.Stop();
    session.Disconnect(COperatorSession::kReasonDestroyed);
    if (pool.WaitAll(kShutdownBound) > 0) {
        // A job is still inside the session (a connect waiting on a name lookup, which cannot
        // be cut short). Destroying the session under it would be worse than not running
        // destructors.
        std::fflush(nullptr);
        std::quick_exit(code);
    }
    window.reset();
    COperatorSession::DestroyInstance();
    return code;
}
