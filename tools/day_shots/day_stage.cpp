#include "day_stage.h"

#include "call_bridge.h"
#include "canned_store.h"
#include "chat_dlg.h"
#include "incoming_call.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>

using namespace std::chrono_literals;

CDayStage::CDayStage(CNotifier& notifier)
    : settings(folder.filePath(QStringLiteral("Operator.conf"))),
      profile(folder.filePath(QStringLiteral("parlendo.ini"))), session(300ms, 300ms),
      bridge(session, pool), m_notifier(notifier)
{
    // No audio on the machines this runs on; the offers ring through a player of their own.
    settings.m_notifySound = 0;
    // Never the operator's own answers: an absent file here means the built-in ones.
    SetCannedAnswersFilePath(folder.filePath(QStringLiteral("canned.dat")));
}

CDayStage::~CDayStage()
{
    for (const QPointer<CChatDlg>& chat : std::as_const(chats))
        delete chat.data();
    if (window)
        window->Shutdown();
    bridge.Detach();
    pool.Stop();
    session.Disconnect(COperatorSession::kReasonDestroyed);
    pool.WaitAll(5s);
    window.reset();
    StopServer();
    SetCannedAnswersFilePath(QString());
}

ConsoleTimings CDayStage::Timings()
{
    ConsoleTimings t;
    t.keepAlivePeriod = 1h;
    t.keepAliveRetryWait = 10ms;
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
    window = std::make_unique<COperatorDlg>(settings, profile, bridge, m_notifier, timings);
    window->SetChatWindowFactory([this](const CIncomingCall& call) { OpenChat(call.callId); });
    window->SetChatWindows([this] {
        QList<QWidget*> open;
        for (const QPointer<CChatDlg>& chat : std::as_const(chats))
            if (chat)
                open.append(chat);
        return open;
    });
    return *window;
}

bool CDayStage::ShowWindow()
{
    QSignalSpy shown(window.get(), &COperatorDlg::FirstShown);
    window->show();
    return WaitFor([&shown] { return !shown.isEmpty(); });
}

CChatDlg* CDayStage::OpenChat(int callId)
{
    CChatDlg* chat =
        CChatDlg::Open(settings, new CCallBridge(session, pool, callId), profile, m_notifier);
    chats.append(chat);
    return chat;
}
