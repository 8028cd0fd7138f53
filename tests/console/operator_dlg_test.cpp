// The main window against the simulated server: the connection state machine as the operator
// sees it, the automatic log-in, the commands, the invitation guard, the keep-alive with its
// reconnection, the new-version question and the web pages.

#include "console_commands.h"
#include "console_rig.h"
#include "console_texts.h"
#include "console_toolbar.h"
#include "flat_button.h"
#include "gradient_button.h"
#include "gradient_label.h"
#include "keep_alive.h"
#include "login_dlg.h"
#include "message_codes.h"
#include "navigation_column.h"
#include "options_dlg.h"
#include "operator_list_ctrl.h"
#include "operator_list_model.h"
#include "result_codes.h"
#include "sim_messages.h"
#include "tray_icon.h"
#include "tray_notice.h"
#include "visitor_list_ctrl.h"
#include "visitor_list_model.h"
#include "visitor_popup_dlg.h"
#include "web_pane.h"

#include <QApplication>
#include <QCheckBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QUrlQuery>

using namespace std::chrono_literals;

namespace {

QString Text(const char* text)
{
    return QString::fromLatin1(text);
}

QString Online()
{
    return Text(ConsoleText::kTitleOnline).arg(QStringLiteral("127.0.0.1"));
}

QString NotConnected()
{
    return Text(ConsoleText::kTitleNotConnected);
}

// Which of Login, Logout, My Status and Invite to Chat are open, as "1010".
QString Buttons(const COperatorDlg& window)
{
    const CConsoleToolbar* bar = window.Toolbar();
    QString s;
    for (const CFlatButton* b : {bar->Login(), bar->Logout(), bar->MyStatus(), bar->Invite()})
        s += b->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}

CLoginDlg* LoginDialog(const COperatorDlg& window)
{
    return window.findChild<CLoginDlg*>();
}

void ConfirmLogin(CLoginDlg* dialog, const QString& user, const QString& password)
{
    dialog->findChild<QLineEdit*>(QStringLiteral("username"))->setText(user);
    dialog->findChild<QLineEdit*>(QStringLiteral("password"))->setText(password);
    dialog->accept();
}

} // namespace

class OperatorDlgTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CConsoleRig> m_rig;

    COperatorDlg& Window() { return *m_rig->window; }

    // The server tells the logged-in console that a visitor of the given site and address
    // arrived (event 4001), or left.
    bool VisitorArrives(std::int32_t id, std::int32_t group, const char* address)
    {
        SimVisitor v;
        v.id = id;
        v.pageViews = 1;
        v.page = "http://shop.example.com/cart";
        v.caption = "Cart " + std::to_string(id);
        v.entered = "2024-5-6 7:08:09";
        v.address = address;
        v.groupKey = group;
        return m_rig->server->World().SendToOperator(m_rig->OperatorId(),
                                                     simmsg::VisitorEntered(v));
    }

    // Logs in through the Login button and its dialog, and waits until both lists are in.
    void LogInByHand()
    {
        QSignalSpy listed(m_rig->window.get(), &COperatorDlg::VisitorsListed);
        Window().Toolbar()->Login()->click();
        CLoginDlg* dialog = LoginDialog(Window());
        QVERIFY(dialog);
        ConfirmLogin(dialog, Text(CConsoleRig::kUser), Text(CConsoleRig::kPassword));
        QCOMPARE(Window().windowTitle(),
                 Text(ConsoleText::kTitleConnecting).arg(QStringLiteral("127.0.0.1")));
        QCOMPARE(Buttons(Window()), QStringLiteral("0000"));
        QTRY_COMPARE(Window().windowTitle(), Online());
        QTRY_VERIFY(listed.count() >= 1);
    }

private slots:
    void init() { m_rig = std::make_unique<CConsoleRig>(); }
    void cleanup() { m_rig.reset(); }

    void startsNotConnected()
    {
        m_rig->MakeWindow();
        m_rig->ShowWindow();
        QCOMPARE(Window().windowTitle(), NotConnected());
        QCOMPARE(Buttons(Window()), QStringLiteral("1000"));
        QVERIFY(Window().Toolbar()->ViewSettings()->isEnabled());
        QVERIFY(Window().Toolbar()->CannedAnswers()->isEnabled());
        QVERIFY(Window().Toolbar()->About()->isEnabled());
        QCOMPARE(Window().PaneCaption()->Text(), Text(ConsoleText::kPaneVisitors));
        QVERIFY(Window().VisitorsView()->isVisible());
        QVERIFY(!Window().OperatorsView()->isVisible());
        QVERIFY(!Window().WebPane()->HasView());
    }

    // Log-in, a status the server confirms, log-out, a refused log-in, and a connection the
    // server ends: title, buttons and lists at each step.
    void stateMachine()
    {
        m_rig->StartServer();
        m_rig->MakeWindow();
        m_rig->ShowWindow();
        QSignalSpy notes(m_rig->window.get(), &COperatorDlg::Notification);

        LogInByHand();
        QCOMPARE(Buttons(Window()), QStringLiteral("0111"));
        QTRY_COMPARE(Window().VisitorsView()->model()->rowCount(), 5);
        QTRY_COMPARE(Window().OperatorsView()->model()->rowCount(), 1);
        QCOMPARE(notes.value(0).value(0).toString(), Text(ConsoleText::kLoggedInNote));

        emit Window().Toolbar()->StatusChosen(OperatorStatus::kBusy);
        QTRY_COMPARE(Window().windowTitle(), QStringLiteral("Parlendo - busy [127.0.0.1]"));
        QCOMPARE(Buttons(Window()), QStringLiteral("0111"));

        Window().Toolbar()->Logout()->click();
        QTRY_COMPARE(Window().windowTitle(), NotConnected());
        QCOMPARE(Buttons(Window()), QStringLiteral("1000"));
        QCOMPARE(Window().VisitorsView()->model()->rowCount(), 0);
        QCOMPARE(Window().OperatorsView()->model()->rowCount(), 0);
        QCOMPARE(notes.last().value(0).toString(), Text(ConsoleText::kLoggedOutNote));
        QVERIFY(m_rig->notifier.informed.isEmpty());

        // Refused: the wrong password.
        Window().Toolbar()->Login()->click();
        ConfirmLogin(LoginDialog(Window()), Text(CConsoleRig::kUser), QStringLiteral("nope"));
        QTRY_COMPARE(m_rig->notifier.informed.size(), 1);
        QCOMPARE(m_rig->notifier.informed.first(),
                 Text(ConsoleText::kConnectFailed) +
                     QString::fromLatin1(ResultMessage(rc::kBadCredentials)));
        QCOMPARE(Window().windowTitle(), NotConnected());
        QCOMPARE(Buttons(Window()), QStringLiteral("1000"));

        // The server ends the connection.
        LogInByHand();
        QVERIFY(m_rig->server->World().DropOperator(m_rig->OperatorId()));
        QTRY_COMPARE(Window().windowTitle(), NotConnected());
        QCOMPARE(Buttons(Window()), QStringLiteral("1000"));
        QCOMPARE(Window().VisitorsView()->model()->rowCount(), 0);
        QCOMPARE(m_rig->notifier.informed.size(), 1);
    }

    void statusWhileNotConnectedDoesNothing()
    {
        m_rig->StartServer();
        m_rig->MakeWindow();
        m_rig->ShowWindow();
        emit Window().Toolbar()->StatusChosen(OperatorStatus::kAway);
        QCoreApplication::processEvents();
        QCOMPARE(Window().windowTitle(), NotConnected());
        QCOMPARE(m_rig->Accepted(), 0);
    }

    void autoLogin_data()
    {
        QTest::addColumn<int>("autoLogin");
        QTest::addColumn<int>("saveLogin");
        QTest::addColumn<QString>("server");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("informed");
        QTest::addColumn<bool>("dialog");

        const QString none;
        QTest::newRow("saved credentials log in")
            << 1 << 1 << QStringLiteral("127.0.0.1") << Text(CConsoleRig::kPassword) << Online()
            << QStringList() << false;
        QTest::newRow("empty password: nothing, silently")
            << 1 << 1 << QStringLiteral("127.0.0.1") << none << NotConnected() << QStringList()
            << false;
        QTest::newRow("no server address")
            << 1 << 1 << none << Text(CConsoleRig::kPassword) << NotConnected()
            << QStringList{Text(ConsoleText::kNoServerAddress)} << false;
        QTest::newRow("password not saved: the login dialog")
            << 1 << 0 << QStringLiteral("127.0.0.1") << Text(CConsoleRig::kPassword)
            << NotConnected() << QStringList() << true;
        QTest::newRow("off") << 0 << 1 << QStringLiteral("127.0.0.1")
                             << Text(CConsoleRig::kPassword) << NotConnected() << QStringList()
                             << false;
    }
    void autoLogin()
    {
        QFETCH(int, autoLogin);
        QFETCH(int, saveLogin);
        QFETCH(QString, server);
        QFETCH(QString, password);
        QFETCH(QString, title);
        QFETCH(QStringList, informed);
        QFETCH(bool, dialog);

        m_rig->StartServer();
        m_rig->settings->m_autoLogin = autoLogin;
        m_rig->settings->m_saveLogin = saveLogin;
        m_rig->settings->m_serverAddress = server;
        m_rig->settings->m_password = password;
        m_rig->MakeWindow();
        m_rig->ShowWindow();

        QCOMPARE(m_rig->notifier.informed, informed);
        QCOMPARE(LoginDialog(Window()) != nullptr, dialog);
        if (dialog) {
            CLoginDlg* login = LoginDialog(Window());
            QCOMPARE(login->findChild<QLineEdit*>(QStringLiteral("username"))->text(),
                     Text(CConsoleRig::kUser));
            QVERIFY(login->findChild<QLineEdit*>(QStringLiteral("password"))->text().isEmpty());
        }
        if (title == Online()) {
            QTRY_COMPARE(Window().windowTitle(), title);
        } else {
            // Whatever the first display started shows in the title at once.
            QCOMPARE(Window().windowTitle(), title);
            QCOMPARE(m_rig->Accepted(), 0);
        }
    }

    // Invite to Chat again while the first invitation is being sent: the message, and nothing
    // more is sent.
    void inviteGuard()
    {
        m_rig->StartServer();
        m_rig->MakeWindow();
        m_rig->ShowWindow();
        LogInByHand();
        QTreeView* view = Window().VisitorsView();
        QTRY_COMPARE(view->model()->rowCount(), 5);
        auto* commands = Window().findChild<CConsoleCommands*>();
        QSignalSpy finished(commands, &CConsoleCommands::InviteFinished);

        for (int row : {0, 2, 3})
            view->selectionModel()->select(view->model()->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QVERIFY(Window().Toolbar()->Invite()->isEnabled());
        // Both in one turn of the event loop: the first invitation cannot have reported back.
        Window().Toolbar()->Invite()->click();
        Window().Toolbar()->Invite()->click();
        QCOMPARE(m_rig->notifier.informed, QStringList{Text(ConsoleText::kCommandBusy)});
        for (int row : {0, 2, 3})
            QVERIFY(view->model()->index(row, 0).data(CVisitorListModel::InvitedRole).toBool());
        QVERIFY(!view->model()->index(1, 0).data(CVisitorListModel::InvitedRole).toBool());

        QTRY_COMPARE(finished.count(), 1);
        QVERIFY(finished.first().value(0).toInt() >= 0);
        QTRY_COMPARE(m_rig->Received(msg::kInviteVisitor), 3);
        // The guard has ended: the next press sends again, without a message.
        Window().Toolbar()->Invite()->click();
        QTRY_COMPARE(finished.count(), 2);
        QTRY_COMPARE(m_rig->Received(msg::kInviteVisitor), 6);
        QCOMPARE(m_rig->notifier.informed.size(), 1);
    }

    void inviteWithoutSelectionSendsNothing()
    {
        m_rig->StartServer();
        m_rig->MakeWindow();
        m_rig->ShowWindow();
        LogInByHand();
        auto* commands = Window().findChild<CConsoleCommands*>();
        Window().Toolbar()->Invite()->click();
        QVERIFY(!commands->IsInviting());
        QVERIFY(m_rig->notifier.informed.isEmpty());
    }

    // The server ends the connection; the next tick's four keep-alives fail; the console logs
    // out once more and reconnects, without a message box.
    void keepAliveFailsThenReconnects()
    {
        m_rig->StartServer();
        m_rig->settings->m_reconnect = 1;
        ConsoleTimings timings = CConsoleRig::Timings();
        timings.keepAlivePeriod = 200ms;
        m_rig->MakeWindow(timings);
        m_rig->ShowWindow();
        LogInByHand();
        QSignalSpy shown(m_rig->window.get(), &COperatorDlg::ConnectionShown);
        QSignalSpy notes(m_rig->window.get(), &COperatorDlg::Notification);

        QVERIFY(m_rig->server->World().DropOperator(m_rig->OperatorId()));
        QTRY_VERIFY_WITH_TIMEOUT(shown.count() >= 4, 10000);
        QTRY_COMPARE(Window().windowTitle(), Online());

        QStringList titles;
        for (const QList<QVariant>& s : std::as_const(shown))
            titles << s.value(0).toString();
        const QStringList expected = {
            NotConnected(), // the server closed it
            NotConnected(), // the failed keep-alive logs out
            Text(ConsoleText::kTitleConnecting).arg(QStringLiteral("127.0.0.1")), Online()};
        QCOMPARE(titles.mid(0, 4), expected);
        QCOMPARE(notes.value(0).value(0).toString(), Text(ConsoleText::kLoggedOutNote));
        QCOMPARE(notes.value(1).value(0).toString(), Text(ConsoleText::kLoggedOutNote));
        QCOMPARE(notes.value(2).value(0).toString(), Text(ConsoleText::kLoggedInNote));
        // Login stayed open during the reconnection.
        QVERIFY(m_rig->notifier.informed.isEmpty());
    }

    void noReconnectWhenOff()
    {
        m_rig->StartServer();
        m_rig->settings->m_reconnect = 0;
        ConsoleTimings timings = CConsoleRig::Timings();
        timings.keepAlivePeriod = 100ms;
        m_rig->MakeWindow(timings);
        m_rig->ShowWindow();
        LogInByHand();
        QSignalSpy notes(m_rig->window.get(), &COperatorDlg::Notification);
        QVERIFY(m_rig->server->World().DropOperator(m_rig->OperatorId()));
        // The lost connection, then one log-out per tick.
        QTRY_VERIFY(notes.count() >= 3);
        QCOMPARE(Window().windowTitle(), NotConnected());
        QCOMPARE(m_rig->Accepted(), 1);
    }

    // The Login command while a reconnection runs explains itself and opens no dialog.
    void loginRefusedWhileReconnecting()
    {
        m_rig->StartServer();
        m_rig->MakeWindow();
        m_rig->ShowWindow();
        auto* commands = Window().findChild<CConsoleCommands*>();
        // A reconnection to a port where nothing listens.
        m_rig->settings->m_serverPort = 1;
        QVERIFY(commands->StartConnect({QStringLiteral("127.0.0.1"), 1, Text(CConsoleRig::kUser),
                                        Text(CConsoleRig::kPassword)},
                                       true));
        Window().Toolbar()->Login()->click();
        QCOMPARE(m_rig->notifier.informed, QStringList{Text(ConsoleText::kReconnecting)});
        QVERIFY(!LoginDialog(Window()));
        QSignalSpy finished(commands, &CConsoleCommands::ConnectFinished);
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished.first().value(1).toBool(), true);
        // A failed reconnection is silent.
        QCOMPARE(m_rig->notifier.informed.size(), 1);
    }

    void newVersion_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<int>("questions");
        QTest::addColumn<int>("opened");
        QTest::newRow("15: no question") << 15 << true << 0 << 0;
        QTest::newRow("16: asked, declined") << 16 << false << 1 << 0;
        QTest::newRow("16: asked, download") << 16 << true << 1 << 1;
    }
    void newVersion()
    {
        QFETCH(int, version);
        QFETCH(bool, yes);
        QFETCH(int, questions);
        QFETCH(int, opened);
        SimOptions options = CConsoleRig::ServerOptions();
        options.version = version;
        m_rig->StartServer(options);
        m_rig->notifier.answer = yes;
        m_rig->MakeWindow();
        m_rig->ShowWindow();
        LogInByHand();
        QCOMPARE(m_rig->notifier.asked.size(), questions);
        if (questions)
            QCOMPARE(m_rig->notifier.asked.first(), Text(ConsoleText::kNewVersionTitle) +
                                                        QLatin1Char('|') +
                                                        Text(ConsoleText::kNewVersionQuestion));
        QCOMPARE(m_rig->opened.size(), opened);
        if (opened)
            QCOMPARE(m_rig->opened.first(), QUrl(QStringLiteral("http://127.0.0.1/download.html")));
        // The question holds nothing back.
        QTRY_COMPARE(Window().VisitorsView()->model()->rowCount(), 5);
    }

    // The account and report pages carry the credentials percent-encoded; the embedded
    // browser is made only when the first page is asked for.
    void webPages()
    {
        m_rig->settings->m_serverAddress = QStringLiteral("chat.example.org");
        m_rig->settings->m_username = QStringLiteral("ann lee");
        m_rig->settings->m_password = QStringLiteral("a&b c#d%e+f");
        m_rig->MakeWindow();
        QList<QUrl> loaded;
        int views = 0;
        Window().WebPane()->SetViewFactory([&](QWidget* parent) {
            ++views;
            return CWebPane::View{new QWidget(parent),
                                  [&](const QUrl& url) { loaded.append(url); }};
        });
        m_rig->ShowWindow();
        QCOMPARE(views, 0);

        Window().Navigation()->Reports()->click();
        QCOMPARE(Window().PaneCaption()->Text(), Text(ConsoleText::kPaneReports));
        QVERIFY(Window().WebPane()->isVisible());
        QVERIFY(!Window().VisitorsView()->isVisible());
        Window().Navigation()->Account()->click();
        QCOMPARE(Window().PaneCaption()->Text(), Text(ConsoleText::kPaneAccount));
        Window().Navigation()->Tutorial()->click();
        QCOMPARE(Window().PaneCaption()->Text(), Text(ConsoleText::kPaneTutorial));
        QCOMPARE(views, 1);
        QCOMPARE(loaded.size(), 3);

        QCOMPARE(loaded[0].toString(QUrl::FullyEncoded),
                 QStringLiteral("http://chat.example.org/OperatorReports.aspx"
                                "?username=ann%20lee&password=a%26b%20c%23d%25e%2Bf"));
        QCOMPARE(loaded[1].path(), QStringLiteral("/login.aspx"));
        const QUrlQuery query(loaded[1]);
        QCOMPARE(query.queryItemValue(QStringLiteral("username"), QUrl::FullyDecoded),
                 QStringLiteral("ann lee"));
        QCOMPARE(query.queryItemValue(QStringLiteral("password"), QUrl::FullyDecoded),
                 QStringLiteral("a&b c#d%e+f"));
        QCOMPARE(loaded[2], QUrl(QStringLiteral("http://chat.example.org/tutorial.aspx")));

        Window().Navigation()->Operators()->click();
        QVERIFY(Window().OperatorsView()->isVisible());
        QCOMPARE(Window().PaneCaption()->Text(), Text(ConsoleText::kPaneOperators));
        Window().Navigation()->Visitors()->click();
        QVERIFY(Window().VisitorsView()->isVisible());
        QCOMPARE(Window().PaneCaption()->Text(), Text(ConsoleText::kPaneVisitors));
    }

    // Without an embedded browser the page goes to the desktop's browser.
    void webPageWithoutBrowser()
    {
        m_rig->settings->m_serverAddress = QStringLiteral("chat.example.org");
        m_rig->MakeWindow();
        Window().WebPane()->SetViewFactory([](QWidget*) { return CWebPane::View{}; });
        m_rig->ShowWindow();
        Window().Navigation()->Tutorial()->click();
        QCOMPARE(m_rig->opened,
                 QList<QUrl>{QUrl(QStringLiteral("http://chat.example.org/tutorial.aspx"))});
        QVERIFY(!Window().WebPane()->HasView());
    }

    // Login with no server address: the message, then the settings editor; the dialog opens
    // once the editor has set an address, and not when it leaves it empty.
    void loginAsksForServerFirst_data()
    {
        QTest::addColumn<QString>("entered");
        QTest::addColumn<bool>("dialog");
        QTest::newRow("address entered") << QStringLiteral("127.0.0.1") << true;
        QTest::newRow("left empty") << QString() << false;
    }
    void loginAsksForServerFirst()
    {
        QFETCH(QString, entered);
        QFETCH(bool, dialog);
        m_rig->settings->m_serverAddress.clear();
        m_rig->MakeWindow();
        int edits = 0;
        Window().SetSettingsEditor([&](CAppSettings& settings, QWidget*) {
            ++edits;
            settings.m_serverAddress = entered;
        });
        m_rig->ShowWindow();
        Window().Toolbar()->Login()->click();
        QCOMPARE(m_rig->notifier.informed, QStringList{Text(ConsoleText::kNoServerAddress)});
        QCOMPARE(edits, 1);
        QCOMPARE(LoginDialog(Window()) != nullptr, dialog);
    }

    // Cancelling the login dialog leaves the keep-alive stopped: no reconnection follows.
    void cancelledLoginStopsReconnecting()
    {
        m_rig->StartServer();
        m_rig->MakeWindow();
        m_rig->ShowWindow();
        LogInByHand();
        QVERIFY(m_rig->server->World().DropOperator(m_rig->OperatorId()));
        QTRY_COMPARE(Window().windowTitle(), NotConnected());
        auto* keepAlive = Window().findChild<CKeepAlive*>();
        QVERIFY(keepAlive->IsActive()); // it keeps running after the connection was lost
        Window().Toolbar()->Login()->click();
        LoginDialog(Window())->reject();
        QVERIFY(!keepAlive->IsActive());
    }

    // Enter and Escape leave the window open and save nothing; the close request saves.
    void onlyTheCloseRequestCloses()
    {
        m_rig->MakeWindow();
        m_rig->ShowWindow();
        Window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&Window()));
        QTest::keyClick(&Window(), Qt::Key_Escape);
        QTest::keyClick(&Window(), Qt::Key_Return);
        QTest::keyClick(&Window(), Qt::Key_Enter);
        QVERIFY(Window().isVisible());
        QVERIFY(!m_rig->profile->LoadWindowPlacement(QStringLiteral("MainWindow")));

        QTest::keyClick(&Window(), Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(!Window().isVisible());
        QVERIFY(m_rig->profile->LoadWindowPlacement(QStringLiteral("MainWindow")));
    }

    // A newcomer goes directly above the top row of its site, or on top for a new site, and is
    // announced in a popup only while the operator wants hints. A second arrival of a listed
    // visitor changes nothing.
    void visitorArrives_data()
    {
        QTest::addColumn<int>("hints");
        QTest::addColumn<bool>("popup");
        QTest::newRow("hints on") << 1 << true;
        QTest::newRow("hints off") << 0 << false;
    }
    void visitorArrives()
    {
        QFETCH(int, hints);
        QFETCH(bool, popup);
        m_rig->StartServer();
        m_rig->settings->m_showHints = hints;
        m_rig->MakeWindow();
        m_rig->ShowWindow();
        LogInByHand();
        CVisitorListModel* model = Window().VisitorModel();
        QTRY_COMPARE(model->rowCount(), 5);
        QSignalSpy announced(m_rig->window.get(), &COperatorDlg::VisitorAnnounced);

        const std::int32_t group = model->Record(3)->number2;
        int top = 0;
        while (model->Record(top)->number2 != group)
            ++top;
        const std::int32_t formerTop = model->Record(top)->id;
        QVERIFY(VisitorArrives(9001, group, "192.0.2.77"));
        QTRY_COMPARE(announced.count(), 1);
        QCOMPARE(announced.first().value(0).toInt(), 9001);
        QCOMPARE(model->rowCount(), 6);
        QCOMPARE(model->RowOfId(9001), top);
        QCOMPARE(model->RowOfId(formerTop), top + 1);
        auto* shown = qobject_cast<CVisitorPopupDlg*>(announced.first().value(1).value<QWidget*>());
        QCOMPARE(shown != nullptr, popup);
        if (popup)
            QVERIFY(shown->isVisible());

        QVERIFY(VisitorArrives(9002, 999, "192.0.2.78"));
        QTRY_COMPARE(announced.count(), 2);
        QCOMPARE(model->RowOfId(9002), 0);

        // Again 9001, then a third visitor: the announcements come in order, so once the
        // third is announced a popup for the repeated one would have been seen.
        QVERIFY(VisitorArrives(9001, group, "192.0.2.77"));
        QVERIFY(VisitorArrives(9003, 998, "192.0.2.79"));
        QTRY_COMPARE(model->RowOfId(9003), 0);
        QTRY_COMPARE(announced.count(), 3);
        QCOMPARE(announced.last().value(0).toInt(), 9003);
        QCOMPARE(model->rowCount(), 8);
    }

    // A blocked address is left out of the refreshed list and of the arrivals, and announced
    // to nobody.
    void blockedVisitorNeverListed()
    {
        m_rig->StartServer();
        const std::vector<SimVisitor> crowd = m_rig->server->World().Visitors();
        QCOMPARE(crowd.size(), std::size_t{5});
        const QString blocked = QString::fromStdString(crowd[1].address);
        int unblocked = 0;
        for (const SimVisitor& v : crowd)
            unblocked += QString::fromStdString(v.address).compare(blocked, Qt::CaseInsensitive) != 0;
        m_rig->settings->m_blockIp[0] = QStringLiteral("10.0.0.1");
        m_rig->settings->m_blockIp[2] = blocked.toUpper();
        for (QString& other : {std::ref(m_rig->settings->m_blockIp[1]),
                               std::ref(m_rig->settings->m_blockIp[3]),
                               std::ref(m_rig->settings->m_blockIp[4])})
            other = QStringLiteral("198.51.100.254");
        m_rig->MakeWindow();
        m_rig->ShowWindow();
        LogInByHand();
        CVisitorListModel* model = Window().VisitorModel();
        QTRY_COMPARE(model->rowCount(), unblocked);
        QCOMPARE(model->RowOfId(crowd[1].id), -1);

        QSignalSpy announced(m_rig->window.get(), &COperatorDlg::VisitorAnnounced);
        QVERIFY(VisitorArrives(9101, 4, "10.0.0.1"));
        QVERIFY(VisitorArrives(9102, 4, "192.0.2.80"));
        QTRY_COMPARE(announced.count(), 1);
        QCOMPARE(announced.first().value(0).toInt(), 9102);
        QCOMPARE(model->RowOfId(9101), -1);
        QCOMPARE(model->rowCount(), unblocked + 1);
    }

    // A double click asks; Yes turns the row red at once and sends the invitation, No sends
    // nothing.
    void inviteByDoubleClick_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }
    void inviteByDoubleClick()
    {
        QFETCH(bool, yes);
        m_rig->StartServer();
        m_rig->MakeWindow();
        m_rig->ShowWindow();
        LogInByHand();
        CVisitorListCtrl* view = Window().VisitorsView();
        CVisitorListModel* model = Window().VisitorModel();
        QTRY_COMPARE(model->rowCount(), 5);
        auto* commands = Window().findChild<CConsoleCommands*>();
        QSignalSpy finished(commands, &CConsoleCommands::InviteFinished);
        m_rig->notifier.answer = yes;

        const QModelIndex second = model->index(2, 0);
        const QPoint at = view->visualRect(second).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(m_rig->notifier.asked,
                 QStringList{Text(ConsoleText::kProduct) + QLatin1Char('|') +
                             CVisitorListCtrl::InviteQuestion()});
        QCOMPARE(view->SelectedIds(), std::vector<std::int32_t>{model->Record(2)->id});
        QCOMPARE(second.data(CVisitorListModel::InvitedRole).toBool(), yes);
        QCOMPARE(commands->IsInviting(), yes);
        if (!yes)
            return;
        QTRY_COMPARE(finished.count(), 1);
        QVERIFY(finished.first().value(0).toInt() >= 0);
        QTRY_COMPARE(m_rig->Received(msg::kInviteVisitor), 1);
        // The server's confirmation keeps it red.
        QTRY_VERIFY(second.data(CVisitorListModel::InvitedRole).toBool());
    }

    // Invite to Chat follows the selection while logged in.
    void inviteFollowsSelection()
    {
        m_rig->StartServer();
        m_rig->MakeWindow();
        m_rig->ShowWindow();
        LogInByHand();
        CVisitorListCtrl* view = Window().VisitorsView();
        QTRY_COMPARE(view->model()->rowCount(), 5);
        view->selectionModel()->select(view->model()->index(1, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QVERIFY(Window().Toolbar()->Invite()->isEnabled());
        view->clearSelection();
        QVERIFY(!Window().Toolbar()->Invite()->isEnabled());
        view->selectionModel()->select(view->model()->index(0, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QVERIFY(Window().Toolbar()->Invite()->isEnabled());
        Window().Toolbar()->Logout()->click();
        QTRY_COMPARE(Window().windowTitle(), NotConnected());
        QVERIFY(!Window().Toolbar()->Invite()->isEnabled());
    }

    // A confirmed status reaches the title, the tray icon's tip and, with hints on, a balloon
    // (here the notice that stands in for one, there being no notification area).
    void statusShownEverywhere_data()
    {
        QTest::addColumn<int>("hints");
        QTest::newRow("hints on") << 1;
        QTest::newRow("hints off") << 0;
    }
    void statusShownEverywhere()
    {
        QFETCH(int, hints);
        m_rig->StartServer();
        m_rig->settings->m_showHints = hints;
        m_rig->MakeWindow();
        m_rig->ShowWindow();
        CTrayIcon* tray = Window().TrayIcon();
        QCOMPARE(tray->ToolTip(), NotConnected());
        QVERIFY(!tray->ShowsLoggedIn());
        LogInByHand();
        QVERIFY(tray->ShowsLoggedIn());

        emit Window().Toolbar()->StatusChosen(OperatorStatus::kBusy);
        const QString busy = QStringLiteral("Parlendo - busy [127.0.0.1]");
        QTRY_COMPARE(Window().windowTitle(), busy);
        QCOMPARE(tray->ToolTip(), busy);
        if (hints == 1) {
            QVERIFY(tray->Notice());
            QCOMPARE(tray->Notice()->Title(), QStringLiteral("Parlendo Notification"));
            QCOMPARE(tray->Notice()->Text(),
                     QStringLiteral("Your status has now been changed to busy"));
        } else {
            QVERIFY(!tray->Notice());
        }

        Window().Toolbar()->Logout()->click();
        QTRY_COMPARE(tray->ToolTip(), NotConnected());
        QVERIFY(!tray->ShowsLoggedIn());
    }

    // Each keep-alive tick adds a minute to every row; an invited row stays red.
    void tickAdvancesMinutes()
    {
        m_rig->StartServer();
        ConsoleTimings timings = CConsoleRig::Timings();
        timings.keepAlivePeriod = 150ms;
        m_rig->MakeWindow(timings);
        m_rig->ShowWindow();
        LogInByHand();
        CVisitorListModel* model = Window().VisitorModel();
        QTRY_COMPARE(model->rowCount(), 5);
        QVERIFY(model->MarkInvitedAt(4));
        QTRY_VERIFY(model->index(0, 0).data(CVisitorListModel::MinutesRole).toInt() >= 2);
        const int minutes = model->index(0, 0).data(CVisitorListModel::MinutesRole).toInt();
        for (int row = 1; row < model->rowCount(); ++row)
            QVERIFY(qAbs(model->index(row, 0).data(CVisitorListModel::MinutesRole).toInt() -
                         minutes) <= 1);
        QVERIFY(model->index(4, 0).data(CVisitorListModel::InvitedRole).toBool());
    }

    // A double click on the tray icon brings the minimised window back.
    void trayRestoresTheWindow()
    {
        m_rig->MakeWindow();
        m_rig->ShowWindow();
        Window().setWindowState(Qt::WindowMinimized);
        QTRY_VERIFY(Window().isMinimized());
        emit Window().TrayIcon()->RestoreRequested();
        QTRY_VERIFY(!Window().isMinimized());
        QVERIFY(Window().isVisible());
    }

    // View Settings opens the options dialog over the window, on the window's record.
    void viewSettingsOpensOptions()
    {
        m_rig->MakeWindow();
        m_rig->ShowWindow();
        QWidget* parent = nullptr;
        QString shownServer;
        QTimer::singleShot(0, &Window(), [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* options = qobject_cast<COptionsDlg*>(w); options && options->isVisible()) {
                    parent = options->parentWidget();
                    if (auto* server = options->findChild<QLineEdit*>(QStringLiteral("serverAddress")))
                        shownServer = server->text();
                    options->reject();
                }
            }
        });
        m_rig->settings->m_serverAddress = QStringLiteral("chat.example.org");
        Window().Toolbar()->ViewSettings()->click();
        QCOMPARE(parent, static_cast<QWidget*>(&Window()));
        QCOMPARE(shownServer, QStringLiteral("chat.example.org"));
    }

    // Without a system tray a minimised console stays an ordinary minimised window.
    void minimiseWithoutTrayKeepsTheWindow()
    {
        m_rig->MakeWindow();
        Window().SetTrayIconShown([] { return true; });
        m_rig->ShowWindow();
        QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
        Window().setWindowState(Qt::WindowMinimized);
        QTRY_VERIFY(Window().isMinimized());
        QCoreApplication::processEvents();
        QVERIFY(Window().isVisible());
    }
};

QTEST_MAIN(OperatorDlgTest)
#include "operator_dlg_test.moc"
