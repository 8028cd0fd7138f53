#include "console_rig.h"

#include <QSignalSpy>
#include <QTest>

using namespace std::chrono_literals;

void CRecordingNotifier::Inform(QWidget*, const QString& text, std::function<void()> done)
{
    informed.append(text);
    if (done)
        done();
}

void CRecordingNotifier::Ask(QWidget*, const QString& title, const QString& text,
                             std::function<void(bool yes)> answer)
{
    asked.append(title + QLatin1Char('|') + text);
    if (answer)
        answer(this->answer);
}

CConsoleRig::CConsoleRig()
    : settings(std::make_unique<CAppSettings>(folder.filePath(QStringLiteral("Operator.conf")))),
      profile(std::make_unique<CLayoutProfile>(folder.filePath(QStringLiteral("parlendo.ini")))),
      session(std::make_unique<COperatorSession>(300ms, 300ms)), launcher([this](const QUrl& url) {
          opened.append(url);
          return true;
      })
{
}

CConsoleRig::~CConsoleRig()
{
    // The order of the console: the window ends its commands and the connection first.
    window.reset();
    session.reset();
    if (server)
        server->Stop();
}

SimOptions CConsoleRig::ServerOptions()
{
    SimOptions o;
    o.accounts = {{kUser, kPassword, "Ann", "Lee"}, {"bob", "pw-bob", "Bob", "Stone"}};
    o.initialVisitors = 5;
    o.arrivalPerMinute = 0;
    o.chatPerMinute = 0;
    o.seed = 11;
    o.realTime = false;
    o.ioTimeout = 2s;
    return o;
}

ConsoleTimings CConsoleRig::Timings()
{
    ConsoleTimings t;
    t.keepAlivePeriod = 3600s; // tests that want ticks ask for them
    t.keepAliveRetryWait = 10ms;
    t.workerJoinBound = 5s;
    return t;
}

void CConsoleRig::StartServer(SimOptions options)
{
    server = std::make_unique<CSimServer>(std::move(options));
    const int port = server->Start();
    QVERIFY2(port > 0, server->Error().c_str());
    settings->m_serverAddress = QStringLiteral("127.0.0.1");
    settings->m_serverPort = port;
    settings->m_username = QString::fromLatin1(kUser);
    settings->m_password = QString::fromLatin1(kPassword);
}

COperatorDlg& CConsoleRig::MakeWindow(ConsoleTimings timings)
{
    settings->Save();
    window = std::make_unique<COperatorDlg>(*settings, *profile, *session, notifier, timings);
    window->SetLauncher(&launcher);
    return *window;
}

void CConsoleRig::ShowWindow()
{
    QSignalSpy shown(window.get(), &COperatorDlg::FirstShown);
    window->show();
    QVERIFY(shown.wait(5000));
}

int CConsoleRig::OperatorId() const
{
    for (const SimOperatorInfo& op : server->World().Operators())
        if (op.user == kUser)
            return op.id;
    return 0;
}

int CConsoleRig::Received(int code) const
{
    int n = 0;
    for (const SimReceived& r : server->World().Received())
        if (r.code == code)
            ++n;
    return n;
}

int CConsoleRig::Accepted() const
{
    return static_cast<int>(server->World().Stats().connectionsAccepted);
}
