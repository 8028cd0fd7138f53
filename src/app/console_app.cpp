#include "console_app.h"

#include "app_settings.h"
#include "app_theme.h"
#include "console_assembly.h"
#include "layout_profile.h"
#include "demo_server.h"
#include "message_box_notifier.h"
#include "operator_dlg.h"
#include "operator_session.h"

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

} // namespace

int CConsoleApp::Run()
{
    QElapsedTimer clock;
    clock.start();

    std::optional<CDemoServer> demo;
    if (m_options.demo) {
        demo.emplace(m_options.demoVisitors, m_options.demoQuiet, m_options.demoPace);
        if (!demo->Start()) {
            std::fprintf(stderr, "parlendo: the demo server did not start: %s\n",
                         qPrintable(demo->Error()));
            return EXIT_FAILURE;
        }
    }
    CMessageBoxNotifier notifier;
    COperatorSession& session = COperatorSession::GetInstance();
    // The demo keeps everything in its own folder: the operator's files are not read or written,
    // and its throw-away login stays out of the keyring.
    ConsolePlaces places;
    if (demo) {
        places = ConsolePlaces::InFolder(demo->Folder());
        places.desktop = true;
    }
    CAppSettings settings(places.settings);
    // Before the first window, so that none is drawn in the desktop's colours and then redrawn.
    CAppTheme::Apply(settings.m_theme);
    const CLayoutProfile profile(places.layout);
    auto console = std::make_unique<CConsoleAssembly>(settings, profile, session, notifier, places);
    COperatorDlg& window = console->Window();
    if (m_options.exitAfterLogin)
        WatchStartup(window, clock, m_options.staySeconds);
    // Only the main window ends the program. Offers and chat windows are windows of their own;
    // with the console in the tray, closing the last of them must not quit, and closing the
    // console must not leave them running without it.
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(&window, &COperatorDlg::Closed, qApp, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    window.show();
    const int code = QApplication::exec();

    if (!console->Shutdown()) {
        // A job is still inside the session (a connect waiting on the server). Destroying the
        // session under it would be worse than not running destructors.
        std::fflush(nullptr);
        std::quick_exit(code);
    }
    console.reset();
    COperatorSession::DestroyInstance();
    return code;
}
