// The main window against the simulated server: the connection as the operator sees it (title
// and commands through log-in, a status change, log-out, a refused log-in and a dropped
// connection), the automatic log-in, reconnection after a server restart, the tray's notices,
// and what a failed invitation says.
#include "chat_dlg.h"
#include "connection_banner.h"
#include "connection_controller.h"
#include "console_rig.h"
#include "fake_connection.h"
#include "keep_alive.h"
#include "operator_list_model.h"
#include "result_codes.h"
#include "result_text.h"
#include "server_dlg.h"
#include "tray_icon.h"
#include "tray_notice.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTextEdit>
#include <QTreeView>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

CTrayNotice* ShownNotice()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* notice = qobject_cast<CTrayNotice*>(window); notice && notice->isVisible())
            return notice;
    return nullptr;
}

} // namespace

class ConsoleWindowTest final : public QObject
{
    Q_OBJECT

private slots:
    void connectionAsTheOperatorSeesIt()
    {
        CConsoleRig rig;
        // What a dropped connection leaves on screen, before any reconnection (serverRestart).
        rig.Adjust = [](CAppSettings& s) { s.m_reconnect = 0; };
        QVERIFY(rig.Start());
        rig.stage.World().SetVersion(CConnectionController::kConsoleVersion + 1);
        QCOMPARE(rig.Title(), CConsoleRig::NotConnected());
        QCOMPARE(rig.Buttons(), QStringLiteral("1000"));

        QVERIFY(rig.LogIn());
        QCOMPARE(rig.Buttons(), QStringLiteral("0000")); // no second log-in over this one
        QTRY_COMPARE(rig.Title(), CConsoleRig::Online());
        // Invite to Chat waits for a visitor to invite, whatever the title does meanwhile.
        QCOMPARE(rig.Buttons(), QStringLiteral("0110"));
        QTRY_COMPARE(rig.Listed("visitors"), 5);
        auto* visitors = rig.Window().findChild<QAbstractItemView*>(QStringLiteral("visitors"));
        visitors->setCurrentIndex(visitors->model()->index(0, 0));
        QCOMPARE(rig.Buttons(), QStringLiteral("0111"));
        QTRY_COMPARE(rig.Listed("operators"), 1);

        rig.ChooseStatus(QStringLiteral("Busy"));
        QTRY_COMPARE(rig.Title(), QStringLiteral("Parlendo - busy [127.0.0.1]"));
        QCOMPARE(rig.stage.World().Operators().front().status, 2);
        // The operator's own row follows the confirmed status, as the title does.
        const QAbstractItemModel* operators = rig.List("operators")->model();
        QTRY_COMPARE(operators->index(0, COperatorListModel::kStatusColumn).data().toString(),
                     QStringLiteral("busy"));

        rig.Button("logout")->click();
        QTRY_COMPARE(rig.Title(), CConsoleRig::NotConnected());
        QCOMPARE(rig.Buttons(), QStringLiteral("1000"));
        QCOMPARE(rig.Listed("visitors"), 0);
        QCOMPARE(rig.Listed("operators"), 0);
        QVERIFY(rig.notifier.informed.isEmpty());

        QVERIFY(rig.LogIn(day::kUser, "wrong"));
        QTRY_COMPARE(rig.notifier.informed, QStringList{rig.ConnectFailed(rc::kBadCredentials)});
        // Refused credentials: the login dialog again, the name kept.
        QPointer<CLoginDlg> again;
        QTRY_VERIFY((again = rig.Window().findChild<CLoginDlg*>()) && again->isVisible());
        QCOMPARE(again->findChild<QLineEdit*>(QStringLiteral("username"))->text(),
                 QString::fromLatin1(day::kUser));
        again->reject();
        QTRY_VERIFY(!again);
        QCOMPARE(rig.Title(), CConsoleRig::NotConnected());
        QCOMPARE(rig.Buttons(), QStringLiteral("1000"));

        // The server ends the connection: shown, not told in a box.
        QVERIFY(rig.LogInAndList());
        QVERIFY(rig.stage.World().DropOperator(rig.OperatorId()));
        QTRY_COMPARE(rig.Title(), CConsoleRig::NotConnected());
        QCOMPARE(rig.Buttons(), QStringLiteral("1000"));
        QCOMPARE(rig.Listed("visitors"), 0);
        QCOMPARE(rig.notifier.informed.size(), 1);
        // A newer version is offered once a run, however often the console logged in.
        QCOMPARE(rig.notifier.asked.filter(QStringLiteral("New Parlendo version|")).size(), 1);
    }

    void automaticLogin_data()
    {
        QTest::addColumn<int>("autoLogin");
        QTest::addColumn<int>("saveLogin");
        QTest::addColumn<bool>("server");
        QTest::addColumn<bool>("password");
        QTest::addColumn<bool>("online");
        QTest::addColumn<bool>("dialog");
        QTest::addColumn<bool>("told");
        QTest::newRow("saved credentials log in")
            << 1 << 1 << true << true << true << false << false;
        QTest::newRow("no password: nothing, silently")
            << 1 << 1 << true << false << false << false << false;
        QTest::newRow("no server address: asked for")
            << 1 << 1 << false << true << false << false << false;
        QTest::newRow("password not saved: the login dialog")
            << 1 << 0 << true << true << false << true << false;
        QTest::newRow("off") << 0 << 1 << true << true << false << false << false;
    }
    void automaticLogin()
    {
        QFETCH(int, autoLogin);
        QFETCH(int, saveLogin);
        QFETCH(bool, server);
        QFETCH(bool, password);
        QFETCH(bool, online);
        QFETCH(bool, dialog);
        QFETCH(bool, told);
        CConsoleRig rig;
        rig.Adjust = [&](CAppSettings& s) {
            s.m_autoLogin = autoLogin;
            s.m_saveLogin = saveLogin;
            if (!server)
                s.m_serverAddress.clear();
            if (!password)
                s.m_password.clear();
        };
        QVERIFY(rig.Start());
        auto* login = rig.Window().findChild<CLoginDlg*>();
        QCOMPARE(login && login->isVisible(), dialog);
        if (dialog) // the password is offered only when the operator asked for it to be kept
            QVERIFY(login->findChild<QLineEdit*>(QStringLiteral("password"))->text().isEmpty());
        QCOMPARE(rig.notifier.informed.size(), told ? 1 : 0);
        // A first start without a server asks for one instead of guessing.
        auto* askServer = rig.Window().findChild<CServerDlg*>();
        QCOMPARE(askServer && askServer->isVisible(), !server);
        if (online)
            QTRY_COMPARE(rig.Title(), CConsoleRig::Online());
        else
            QCOMPARE(rig.stage.World().Stats().connectionsAccepted, std::uint64_t{0});
    }

    // What connecting failed on is said with the host and port, in the box of a log-in asked for
    // and in the banner; Cancel in the banner gives a log-in up at once, without a box.
    void connectErrorsSayWhatHappened_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("portKind"); // 0 closed, 1 never answers
        QTest::addColumn<QString>("said");
        QTest::newRow("refused") << QStringLiteral("127.0.0.1") << 0
                                 << QStringLiteral("refused the connection");
        QTest::newRow("not found")
            << QStringLiteral("nonexistent.invalid") << 0
            << QStringLiteral("The server nonexistent.invalid was not found");
        QTest::newRow("timed out")
            << QStringLiteral("127.0.0.1") << 1 << QStringLiteral("did not answer in time");
        QTest::newRow("cancelled") << QStringLiteral("127.0.0.1") << 1 << QString();
    }
    void connectErrorsSayWhatHappened()
    {
        QFETCH(QString, host);
        QFETCH(int, portKind);
        QFETCH(QString, said);
        testing_support::Blackhole blackhole;
        std::uint16_t closedPort = 0;
        ::close(testing_support::ListenOnLoopback(1, closedPort)); // a port nobody listens on
        CConsoleRig rig;
        rig.Adjust = [&](CAppSettings& s) {
            s.m_serverAddress = host;
            s.m_serverPort = portKind == 1 ? blackhole.Port() : closedPort;
        };
        QVERIFY(rig.Start());
        rig.Button("login")->click();
        auto* dialog = rig.Window().findChild<CLoginDlg*>();
        dialog->findChild<QLineEdit*>(QStringLiteral("password"))->setText(QStringLiteral("pw"));
        dialog->accept();
        if (said.isEmpty()) {
            QTRY_VERIFY(rig.Banner().startsWith(QStringLiteral("Connecting to")));
            rig.Window().findChild<QPushButton*>(QStringLiteral("connectionBannerAction"))->click();
            QTRY_COMPARE(rig.Title(), CConsoleRig::NotConnected());
            QVERIFY(rig.notifier.informed.isEmpty());
            QVERIFY(rig.Banner().isEmpty());
            return;
        }
        QTRY_COMPARE_WITH_TIMEOUT(rig.notifier.informed.size(), 1, 15000);
        QVERIFY2(rig.notifier.informed.front().contains(said),
                 qPrintable(rig.notifier.informed.front()));
        QVERIFY(rig.Banner().contains(said));
    }

    // The server goes down and comes back: the banner says the connection was lost; with
    // Reconnect on, it counts down to the next attempt and logs in again, telling the operator
    // nothing in a box; with it off, the console stays logged out.
    void serverRestart_data()
    {
        QTest::addColumn<int>("reconnect");
        QTest::addColumn<bool>("retryNow");
        QTest::newRow("reconnect") << 1 << false;
        QTest::newRow("retry now, long before the wait is over") << 1 << true;
        QTest::newRow("no reconnect") << 0 << false;
    }
    void serverRestart()
    {
        QFETCH(int, reconnect);
        QFETCH(bool, retryNow);
        CConsoleRig rig;
        rig.Adjust = [reconnect](CAppSettings& s) { s.m_reconnect = reconnect; };
        ConsoleTimings timings = CDayStage::Timings();
        timings.keepAlivePeriod = retryNow ? 1h : 200ms;
        // Long enough that the banner is read before the first attempt replaces its text.
        timings.reconnectFirstWait = retryNow ? 1h : 1s;
        QVERIFY(rig.Start(day::ServerOptions(), timings));
        QVERIFY(rig.LogInAndList());
        // A chat in progress, with a line half typed.
        const SimVisitor visitor = rig.stage.World().Visitors().front();
        QPointer<CChatDlg> chat =
            rig.stage.OpenChat(rig.stage.World().RequestChat(visitor.id, rig.OperatorId()));
        QTRY_COMPARE(chat->windowTitle(),
                     QStringLiteral("Parlendo - ") + QString::fromStdString(visitor.name));
        auto* input = chat->findChild<QPlainTextEdit*>(QStringLiteral("input"));
        input->setPlainText(QStringLiteral("Your order left on"));
        const auto transcript = [&chat] {
            return chat->findChild<QTextEdit*>(QStringLiteral("transcript"))->toPlainText();
        };
        const int before = rig.titles.size();
        rig.stage.StopServer();
        QTRY_COMPARE(rig.Title(), CConsoleRig::NotConnected());
        QVERIFY(rig.Banner().startsWith(QStringLiteral("Connection to 127.0.0.1:%1 lost.")
                                            .arg(rig.stage.settings.m_serverPort)));
        QCOMPARE(rig.Banner().contains(QStringLiteral("Reconnecting in")), reconnect == 1);
        // The chat says why it ended, and keeps what was said and what was being typed.
        QTRY_VERIFY(transcript().contains(
            QStringLiteral("The connection to the Parlendo server was lost.")));
        QCOMPARE(transcript().count(QStringLiteral("was lost")), 1);
        QCOMPARE(input->toPlainText(), QStringLiteral("Your order left on"));
        QVERIFY(rig.stage.StartServer());
        if (retryNow) {
            auto* retry =
                rig.Window().findChild<QPushButton*>(QStringLiteral("connectionBannerAction"));
            QVERIFY(retry && retry->isVisibleTo(&rig.Window()));
            QCOMPARE(retry->text(), QStringLiteral("Retry no&w"));
            retry->click();
        }
        if (reconnect) {
            QTRY_COMPARE_WITH_TIMEOUT(rig.Title(), CConsoleRig::Online(), 20000);
            QTRY_COMPARE(rig.Listed("visitors"), 5);
            QVERIFY(chat && transcript().contains(QStringLiteral("was lost")));
            QVERIFY(rig.titles.mid(before).contains(
                QStringLiteral("Parlendo - Connecting [127.0.0.1]")));
        } else {
            QVERIFY(!rig.Window().findChild<CConnectionBanner*>()->IsWaitingToRetry());
            QCOMPARE(rig.stage.World().Stats().connectionsAccepted, std::uint64_t{0});
            QCOMPARE(rig.Title(), CConsoleRig::NotConnected());
        }
        QVERIFY(rig.notifier.informed.isEmpty());
    }

    // Without a notification area the balloons show as a notice window, while the operator
    // wants hints; a click on the icon brings the minimised window back.
    void trayNoticesAndRestore_data()
    {
        QTest::addColumn<int>("hints");
        QTest::newRow("hints on") << 1;
        QTest::newRow("hints off") << 0;
    }
    void trayNoticesAndRestore()
    {
        QFETCH(int, hints);
        CConsoleRig rig;
        rig.Adjust = [hints](CAppSettings& s) { s.m_showHints = hints; };
        QVERIFY(rig.Start());
        QVERIFY(rig.LogInAndList());
        rig.ChooseStatus(QStringLiteral("Away"));
        QTRY_COMPARE(rig.Title(), QStringLiteral("Parlendo - away [127.0.0.1]"));
        CTrayNotice* notice = ShownNotice();
        QCOMPARE(notice != nullptr, hints == 1);
        if (notice)
            QCOMPARE(notice->findChild<QLabel*>(QStringLiteral("text"))->text(),
                     QStringLiteral("Your status has now been changed to away"));

        rig.Window().setWindowState(Qt::WindowMinimized);
        QTRY_VERIFY(rig.Window().isMinimized());
        // One click: trays that speak StatusNotifierItem never report a double click.
        auto* tray = rig.Window().findChild<QSystemTrayIcon*>();
        emit tray->activated(QSystemTrayIcon::Trigger);
        QTRY_VERIFY(!rig.Window().isMinimized());
        QVERIFY(rig.Window().isVisible());
        // The icon's menu: the status, and hiding and showing the console.
        const auto item = [tray](const char* text) {
            emit tray->contextMenu()->aboutToShow(); // as when the operator opens it
            for (QAction* action : tray->contextMenu()->actions())
                if (action->text() == QLatin1String(text))
                    return action;
            return static_cast<QAction*>(nullptr);
        };
        item("&Busy")->trigger();
        QTRY_COMPARE(rig.Title(), QStringLiteral("Parlendo - busy [127.0.0.1]"));
        // Hidden to the tray where there is one, minimised where there is none (offscreen).
        const auto shown = [&rig] {
            return rig.Window().isVisible() && !rig.Window().isMinimized();
        };
        item("&Hide Parlendo")->trigger();
        QTRY_VERIFY(!shown());
        item("&Show Parlendo")->trigger();
        QTRY_VERIFY(shown());
    }

    // An invitation the bridge could not send is told to the operator with the reason.
    void failedInvitationIsTold()
    {
        CConsoleRig rig;
        QVERIFY(rig.Start());
        emit rig.stage.Bridge().InviteFinished(rc::kSendFailed);
        QCOMPARE(rig.notifier.informed,
                 QStringList{QStringLiteral("Failed to invite selected users to chat.\r\n") +
                             ResultText(rc::kSendFailed)});
    }
};

QTEST_MAIN(ConsoleWindowTest)
#include "console_window_test.moc"
