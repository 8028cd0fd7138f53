#pragma once

#include "app_settings.h"
#include "console_assembly.h"
#include "console_timings.h"
#include "day_server.h"
#include "layout_profile.h"
#include "operator_dlg.h"
#include "operator_session.h"
#include "session_bridge.h"
#include "worker_pool.h"

#include <QList>
#include <QPointer>
#include <QTemporaryDir>
#include <chrono>
#include <functional>
#include <memory>

class CChatDlg;
class CNotifier;

// The real windows against the simulated server, put together by the application's own
// assembly: the settings, the layout profile, the canned answers, the history and the missed
// chats in a folder of their own, a session with short waits, and the console as the program
// has it. They end in the application's order.
//
// Everything runs on the GUI thread; the server's clock is manual.
class CDayStage final
{
public:
    // The notifier tells the operator what the windows say; it must outlive the stage.
    explicit CDayStage(CNotifier& notifier);
    ~CDayStage();
    CDayStage(const CDayStage&) = delete;
    CDayStage& operator=(const CDayStage&) = delete;

    // The console's waits for a stage: no keep-alive tick unless asked for, short retry waits.
    static ConsoleTimings Timings();
    // Runs the GUI thread's events until done holds; false when the time ran out first.
    static bool WaitFor(const std::function<bool()>& done,
                        std::chrono::milliseconds time = std::chrono::seconds(10));

    // Starts the server, on the port of the last one if there was one, and points the settings
    // at it with Ann's credentials. False when it could not listen.
    bool StartServer(SimOptions options = day::ServerOptions());
    // The server goes down with every connection; StartServer brings a new one up.
    void StopServer();
    CSimWorld& World() { return server->World(); }

    // Saves the settings as they are, then builds the main window (not shown yet).
    COperatorDlg& MakeWindow(ConsoleTimings timings = Timings());
    // Shows it; true once its first display has run.
    bool ShowWindow();
    // What accepting an offer of the call does: a chat window opening the call, offered as a
    // chat request or (kind 2) a transfer.
    CChatDlg* OpenChat(int callId, int kind = 1);
    // Once the window is made.
    CSessionBridge& Bridge() { return m_console->Bridge(); }
    QList<CChatDlg*> Chats() const { return m_console ? m_console->ChatWindows() : QList<CChatDlg*>(); }
    CConsoleAssembly& Console() { return *m_console; }

    QTemporaryDir folder;
    CAppSettings settings;
    CLayoutProfile profile;
    std::unique_ptr<CSimServer> server;
    COperatorSession session;
    COperatorDlg* window = nullptr; // once made

private:
    CNotifier& m_notifier;
    std::unique_ptr<CConsoleAssembly> m_console;
    int m_port = 0;
};
