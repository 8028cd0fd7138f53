// Takes the console's screenshots for docs/screenshots: the main window not connected, online
// with the visitors and with the operators, the login dialog, an offered call and the about box,
// against the simulated server. Each window picture gets a plain title bar with the window's own title
// drawn above it, since a grab holds only the window's inside.
//
//   parlendo-console-shots <folder> [--web]
//
// --web also shows the Quick Tutorial in the embedded browser (needs a display, not the
// offscreen platform) and takes main-window-web.png once the page has loaded.

#include "window_shot.h"
#include "about_dlg.h"
#include "app_settings.h"
#include "call_dlg.h"
#include "call_offers.h"
#include "console_toolbar.h"
#include "flat_button.h"
#include "gradient_button.h"
#include "layout_profile.h"
#include "login_dlg.h"
#include "message_box_notifier.h"
#include "navigation_column.h"
#include "operator_dlg.h"
#include "operator_list_ctrl.h"
#include "qt_operator_session.h"
#include "ring_player.h"
#include "sim_server.h"
#include "visitor_list_ctrl.h"
#include "web_pane.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPainter>
#include <QTemporaryDir>
#include <QTreeView>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

class CLoadWatch final : public QObject
{
    Q_OBJECT

public slots:
    void Loaded(bool) { loaded = true; }

public:
    bool loaded = false;
};

using testing_support::Save;
using testing_support::WaitFor;

int main(int argc, char* argv[])
{
    // As the console does: the browser's sandbox does not run as root.
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const bool web = argc > 2 && QByteArray(argv[2]) == "--web";
    QDir().mkpath(folder);

    SimOptions options;
    options.accounts = {{"demo", "demo", "Dana", "Moreau"}, {"sam", "pw", "Sam", "Okafor"}};
    options.initialVisitors = 14;
    options.arrivalPerMinute = 0;
    options.chatPerMinute = 0;
    options.realTime = false;
    options.seed = 2026;
    CSimServer server(options);
    const int port = server.Start();
    if (port < 0)
        return 1;

    // A second operator, so that the operators list has more than its own row.
    COperatorSession colleague;
    colleague.Login("127.0.0.1", static_cast<std::uint16_t>(port), "sam", "pw");
    colleague.SetStatus(2);

    QTemporaryDir dir;
    CAppSettings settings(dir.filePath(QStringLiteral("Operator.conf")));
    settings.m_serverAddress = QStringLiteral("127.0.0.1");
    settings.m_serverPort = port;
    settings.m_username = QStringLiteral("demo");
    settings.m_password = QStringLiteral("demo");
    settings.m_saveLogin = 1;
    const CLayoutProfile profile(dir.filePath(QStringLiteral("parlendo.ini")));
    CMessageBoxNotifier notifier;
    COperatorSession session;
    bool ok = true;
    {
        COperatorDlg window(settings, profile, session, notifier);
        window.WebPane()->SetViewFactory(
            CWebPane::DefaultViewFactory({QStringLiteral(PARLENDO_CONSOLE_DIR)}));
        window.show();
        ok &= Save(&window, folder + QStringLiteral("/main-window-not-connected.png"));

        window.Toolbar()->Login()->click();
        auto* login = window.findChild<CLoginDlg*>();
        ok &= login && WaitFor([login] { return login->isVisible(); });
        ok &= login && Save(login, folder + QStringLiteral("/login.png"));
        if (login)
            login->accept();

        int listed = 0;
        QObject::connect(&window, &COperatorDlg::VisitorsListed, [&listed](int n) { listed = n; });
        ok &=
            WaitFor([&] { return listed > 0 && window.OperatorsView()->model()->rowCount() > 1; });
        QTreeView* visitors = window.VisitorsView();
        visitors->selectionModel()->select(visitors->model()->index(1, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        ok &= Save(&window, folder + QStringLiteral("/main-window-online.png"));

        emit window.Toolbar()->StatusChosen(3);
        ok &= WaitFor([&] { return window.windowTitle().contains(QLatin1String("away")); });
        window.Navigation()->Operators()->click();
        ok &= Save(&window, folder + QStringLiteral("/main-window-operators.png"));

        if (web) {
            window.Navigation()->Tutorial()->click();
            // The browser comes from its module, as in the console: watched by its signal's name.
            QWidget* view = nullptr;
            for (QWidget* child : window.WebPane()->findChildren<QWidget*>())
                if (child->inherits("QWebEngineView"))
                    view = child;
            CLoadWatch watch;
            if (view)
                QObject::connect(view, SIGNAL(loadFinished(bool)), &watch, SLOT(Loaded(bool)));
            ok &= view && WaitFor([&] { return watch.loaded; }, 20000);
            // Drawn a moment after it has loaded.
            WaitFor([] { return false; }, 1000);
            ok &= Save(&window, folder + QStringLiteral("/main-window-web.png"));
        }

        // An offer from a visitor, ringing silently (a picture needs no sound).
        window.CallOffers()->Ring().SetSoundFactory({});
        CCallDlg* offer = nullptr;
        QObject::connect(window.CallOffers(), &CCallOffers::Offered,
                         [&offer](CCallDlg* offered) { offer = offered; });
        int demoId = 0;
        for (const SimOperatorInfo& op : server.World().Operators())
            if (op.user == "demo")
                demoId = op.id;
        ok &= server.World().RequestChat(server.World().Visitors().at(2).id, demoId) > 0;
        ok &= WaitFor([&offer] { return offer != nullptr; });
        ok &= offer && Save(offer, folder + QStringLiteral("/incoming-call.png"));

        CAboutDlg about(nullptr, &window);
        about.show();
        ok &= Save(&about, folder + QStringLiteral("/about.png"));
        window.Shutdown();
    }
    colleague.Disconnect(COperatorSession::kReasonLoggedOut);
    server.Stop();
    return ok ? 0 : 1;
}

#include "console_shots.moc"
