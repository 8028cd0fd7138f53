#include "day_stage.h"

#include "canned_store.h"
#include "chat_dlg.h"
#include "incoming_call.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>

using namespace std::chrono_literals;

CDayStage::CDayStage(CNotifier& notifier)
    : settings(ConsolePlaces::InFolder(folder.path()).settings),
      profile(ConsolePlaces::InFolder(folder.path()).layout), session(300ms, 300ms),
      m_notifier(notifier)
{
    // No audio on the machines this runs on; the offers ring through a player of their own.
    settings.m_notifySound = 0;
    // Lines read as the chat's own words, without the time the transcript can put before them.
    settings.m_transcriptTimes = 0;
    // Never the operator's own answers, from the start: an absent file here means the built-in
    // ones.
    SetCannedAnswersFilePath(ConsolePlaces::InFolder(folder.path()).canned);
}

CDayStage::~CDayStage()
{
    if (m_console)
        m_console->Shutdown(5s);
    m_console.reset();
    StopServer();
    SetCannedAnswersFilePath(QString());
}

ConsoleTimings CDayStage::Timings()
{
    ConsoleTimings t;
    t.keepAlivePeriod = 1h;
    t.keepAliveRetryWait = 10ms;
    t.reconnectFirstWait = 50ms;
    return t;
}

bool CDayStage::WaitFor(const std::function<bool()>& done, std::chrono::milliseconds time)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > time.count())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

bool CDayStage::StartServer(SimOptions options)
{
    options.port = static_cast<std::uint16_t>(m_port);
    server = std::make_unique<CSimServer>(std::move(options));
    m_port = server->Start();
    if (m_port <= 0)
        return false;
    settings.m_serverAddress = QStringLiteral("127.0.0.1");
    settings.m_serverPort = m_port;
    settings.m_username = QString::fromLatin1(day::kUser);
    settings.m_password = QString::fromLatin1(day::kPassword);
    return true;
}

void CDayStage::StopServer()
{
    if (server)
        server->Stop();
}

COperatorDlg& CDayStage::MakeWindow(ConsoleTimings timings)
{
    settings.Save();
    // Everything in the stage's folder, the canned answers too (an absent file there means the
    // built-in ones), and nothing of the desktop's.
    m_console = std::make_unique<CConsoleAssembly>(settings, profile, session, m_notifier,
                                                   ConsolePlaces::InFolder(folder.path()),
                                                   timings);
    window = &m_console->Window();
    return *window;
}

bool CDayStage::ShowWindow()
{
    QSignalSpy shown(window, &COperatorDlg::FirstShown);
    window->show();
    return WaitFor([&shown] { return !shown.isEmpty(); });
}

CChatDlg* CDayStage::OpenChat(int callId, int kind)
{
    // A chat window needs the console put together, not its main window on the screen.
    if (!m_console)
        MakeWindow();
    CIncomingCall call;
    call.callId = callId;
    call.kind = kind;
    return m_console->OpenChat(call);
}
