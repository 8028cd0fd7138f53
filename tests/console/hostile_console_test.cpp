// The main window against the simulated server's hostile modes: a fault at any moment shows as
// a lost connection and the keep-alive reconnects without a message box; a fault in place of
// the log-in reply is reported; a silent server is no lost connection; a flood of events ends
// with the server's own lists; and the window shuts down promptly in the middle of a flood.

#include "console_rig.h"
#include "console_texts.h"
#include "console_toolbar.h"
#include "flat_button.h"
#include "message_codes.h"
#include "operator_list_model.h"
#include "result_codes.h"
#include "status_word.h"
#include "visitor_list_model.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <set>
#include <thread>

using namespace std::chrono_literals;

Q_DECLARE_METATYPE(SimFaultKind)
Q_DECLARE_METATYPE(SimFaultMoment)

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

std::set<int> ListedVisitors(const CVisitorListModel& model)
{
    std::set<int> ids;
    for (int row = 0; row < model.rowCount(); ++row)
        ids.insert(model.Record(row)->id);
    return ids;
}

std::set<int> ServerVisitors(CSimServer& server)
{
    std::set<int> ids;
    for (const SimVisitor& v : server.World().Visitors())
        ids.insert(v.id);
    return ids;
}

QString ListedStatus(const COperatorListModel& model, int operatorId)
{
    const int row = model.RowOfId(operatorId);
    if (row < 0)
        return {};
    return model.data(model.index(row, COperatorListModel::kStatusColumn)).toString();
}

void AddFaultRows(std::initializer_list<SimFaultMoment> moments)
{
    QTest::addColumn<SimFaultKind>("kind");
    QTest::addColumn<SimFaultMoment>("moment");
    static const char* const names[] = {"at login", "after login", "mid list", "mid frame"};
    for (SimFaultKind kind :
         {SimFaultKind::Garbage, SimFaultKind::OversizedLength, SimFaultKind::StalledLength,
          SimFaultKind::Silence, SimFaultKind::Close, SimFaultKind::Reset}) {
        for (SimFaultMoment moment : moments) {
            if (kind == SimFaultKind::Silence && moment == SimFaultMoment::AfterLogin)
                continue; // a silent server between frames is idle, not broken
            const std::string name =
                std::string(SimFaultKindName(kind)) + " " + names[static_cast<int>(moment)];
            QTest::newRow(name.c_str()) << kind << moment;
        }
    }
}

} // namespace

class HostileConsoleTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CConsoleRig> m_rig;

    COperatorDlg& Window() { return *m_rig->window; }

    // The server with a fault for the first connection it concerns, and a window that logs in
    // by itself as it is shown, with a keep-alive tick every 300 ms.
    void StartLoggingIn(SimFault fault)
    {
        SimOptions options = CConsoleRig::ServerOptions();
        options.fault = fault;
        m_rig->StartServer(options);
        m_rig->settings->m_autoLogin = 1;
        m_rig->settings->m_saveLogin = 1;
        m_rig->settings->m_reconnect = 1;
        ConsoleTimings timings = CConsoleRig::Timings();
        timings.keepAlivePeriod = 300ms;
        m_rig->MakeWindow(timings);
        m_rig->ShowWindow();
    }

    void ExpectListsLikeServer()
    {
        QTRY_VERIFY_WITH_TIMEOUT(
            ListedVisitors(*Window().VisitorModel()) == ServerVisitors(*m_rig->server), 10000);
        QTRY_COMPARE(ListedStatus(*Window().OperatorModel(), m_rig->OperatorId()),
                     StatusWord(m_rig->server->World().Operators().front().status));
    }

private slots:
    void init() { m_rig = std::make_unique<CConsoleRig>(); }
    void cleanup() { m_rig.reset(); }

    void faultLosesTheConnectionAndReconnects_data()
    {
        AddFaultRows(
            {SimFaultMoment::AfterLogin, SimFaultMoment::MidList, SimFaultMoment::MidFrame});
    }
    void faultLosesTheConnectionAndReconnects()
    {
        QFETCH(SimFaultKind, kind);
        QFETCH(SimFaultMoment, moment);
        StartLoggingIn({kind, moment, SimTarget::Operator, 1});
        QSignalSpy shown(m_rig->window.get(), &COperatorDlg::ConnectionShown);

        // Online, then the connection is lost; the keep-alive's tick logs in again.
        QTRY_VERIFY_WITH_TIMEOUT(m_rig->server->World().Stats().faultsStruck == 1, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(m_rig->Accepted() >= 2, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(Window().windowTitle(), Online(), 10000);
        QStringList titles;
        for (const QList<QVariant>& s : std::as_const(shown))
            titles << s.value(0).toString();
        QVERIFY2(titles.contains(NotConnected()), qPrintable(titles.join(QLatin1Char('/'))));
        QVERIFY(Window().Toolbar()->Logout()->isEnabled());
        ExpectListsLikeServer();
        // A lost connection and a reconnection are shown in the title, never in a box.
        QCOMPARE(m_rig->notifier.informed, QStringList());
    }

    void faultInPlaceOfTheLoginReplyIsReported_data()
    {
        QTest::addColumn<SimFaultKind>("kind");
        QTest::addColumn<int>("result");
        QTest::newRow("garbage") << SimFaultKind::Garbage << rc::kReceiveFailed;
        QTest::newRow("oversized length") << SimFaultKind::OversizedLength << rc::kReceiveFailed;
        QTest::newRow("stalled length") << SimFaultKind::StalledLength << rc::kReceiveFailed;
        QTest::newRow("silence") << SimFaultKind::Silence << rc::kIdle;
        QTest::newRow("close") << SimFaultKind::Close << rc::kPeerClosed;
        QTest::newRow("reset") << SimFaultKind::Reset << rc::kPeerClosed;
    }
    void faultInPlaceOfTheLoginReplyIsReported()
    {
        QFETCH(SimFaultKind, kind);
        QFETCH(int, result);
        StartLoggingIn({kind, SimFaultMoment::AtLogin, SimTarget::Operator, 1});
        QTRY_COMPARE(m_rig->notifier.informed.size(), 1);
        QCOMPARE(m_rig->notifier.informed.front(),
                 Text(ConsoleText::kConnectFailed) + QString::fromLatin1(ResultMessage(result)));
        QCOMPARE(Window().windowTitle(), NotConnected());
        QVERIFY(Window().Toolbar()->Login()->isEnabled());
        QVERIFY(!Window().Toolbar()->Logout()->isEnabled());
        QCOMPARE(Window().VisitorModel()->rowCount(), 0);
    }

    // A server that stops talking between frames, but reads, is no lost connection: the
    // keep-alives go out and the console stays online with its lists.
    void silentServerStaysOnline()
    {
        StartLoggingIn({SimFaultKind::Silence, SimFaultMoment::AfterLogin});
        QTRY_COMPARE(Window().windowTitle(), Online());
        QTRY_VERIFY_WITH_TIMEOUT(m_rig->Received(msg::kKeepAlive) >= 3, 10000);
        QCOMPARE(Window().windowTitle(), Online());
        QCOMPARE(m_rig->Accepted(), 1);
        QCOMPARE(m_rig->notifier.informed, QStringList());
    }

    // 20,000 events in bursts while the window runs: it ends with the server's visitors and
    // the operator's status, still online.
    void floodEndsWithTheServersLists()
    {
        StartLoggingIn({});
        QTRY_COMPARE(Window().windowTitle(), Online());
        ExpectListsLikeServer();
        std::thread flood([this] {
            for (int burst = 0; burst < 40; ++burst) {
                m_rig->server->World().Flood(500);
                std::this_thread::sleep_for(5ms);
            }
        });
        // The window keeps handling events while the bursts come.
        QTRY_VERIFY_WITH_TIMEOUT(m_rig->server->World().Stats().floodEvents == 20'000, 20000);
        flood.join();
        // Events come in order: once the visitor who arrives last is listed, the flood is too.
        const std::int32_t last = m_rig->server->World().AddVisitor();
        QTRY_VERIFY_WITH_TIMEOUT(Window().VisitorModel()->RowOfId(last) >= 0, 20000);
        QCOMPARE(ListedVisitors(*Window().VisitorModel()), ServerVisitors(*m_rig->server));
        QCOMPARE(ListedStatus(*Window().OperatorModel(), m_rig->OperatorId()),
                 StatusWord(m_rig->server->World().Operators().front().status));
        QCOMPARE(Window().windowTitle(), Online());
    }

    // Closing the console while a large flood is still arriving ends the connection, the
    // commands and the receive thread at once; nothing of the flood reaches a window that has
    // gone.
    void shutdownInTheMiddleOfAFlood()
    {
        StartLoggingIn({});
        QTRY_COMPARE(Window().windowTitle(), Online());
        ExpectListsLikeServer();
        m_rig->server->World().Flood(50'000);
        QCoreApplication::processEvents();
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(Window().Shutdown(), 0);
        m_rig->window.reset();
        m_rig->session.reset();
        QVERIFY2(clock.elapsed() < 5000, "shutdown waited for the flood");
    }
};

QTEST_MAIN(HostileConsoleTest)
#include "hostile_console_test.moc"
