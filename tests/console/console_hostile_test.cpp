// The console against a hostile server: a connection lost to a fault comes back by itself,
// shown in the title and never in a message box; a fault in place of the log-in reply is told
// with its reason; a flood of list replies reaches the list as one refresh; a flood of events
// ends with the server's lists, and the console shuts down in the middle of another.
#include "bridge_waits.h"
#include "console_rig.h"
#include "message_codes.h"
#include "operator_list_model.h"
#include "result_codes.h"
#include "result_text.h"
#include "sim_messages.h"
#include "status_word.h"
#include "visitor_list_model.h"

#include <QSignalSpy>
#include <set>
#include <thread>

using namespace std::chrono_literals;

Q_DECLARE_METATYPE(SimFaultKind)
Q_DECLARE_METATYPE(SimFaultMoment)

namespace {

std::set<int> Listed(const QAbstractItemModel* model)
{
    std::set<int> ids;
    for (int row = 0; row < model->rowCount(); ++row)
        ids.insert(model->index(row, 0).data(CVisitorListModel::IdRole).toInt());
    return ids;
}

std::set<int> OnTheSites(const CSimWorld& world)
{
    std::set<int> ids;
    for (const SimVisitor& v : world.Visitors())
        ids.insert(v.id);
    return ids;
}

// The window logs in by itself as it is shown, and ticks its keep-alive every 300 ms.
bool StartLoggingIn(CConsoleRig& rig, SimFault fault)
{
    SimOptions options = day::ServerOptions();
    options.fault = fault;
    rig.Adjust = [](CAppSettings& s) {
        s.m_autoLogin = 1;
        s.m_saveLogin = 1;
        s.m_reconnect = 1;
    };
    ConsoleTimings timings = CDayStage::Timings();
    timings.keepAlivePeriod = 300ms;
    return rig.Start(options, timings);
}

} // namespace

class ConsoleHostileTest final : public QObject
{
    Q_OBJECT

private slots:
    void lostConnectionComesBack_data()
    {
        QTest::addColumn<SimFaultKind>("kind");
        QTest::addColumn<SimFaultMoment>("moment");
        QTest::newRow("garbage after the log-in")
            << SimFaultKind::Garbage << SimFaultMoment::AfterLogin;
        QTest::newRow("oversized length in the list")
            << SimFaultKind::OversizedLength << SimFaultMoment::MidList;
        QTest::newRow("stalled frame") << SimFaultKind::StalledLength << SimFaultMoment::MidFrame;
        QTest::newRow("reset in a frame") << SimFaultKind::Reset << SimFaultMoment::MidFrame;
    }
    void lostConnectionComesBack()
    {
        QFETCH(SimFaultKind, kind);
        QFETCH(SimFaultMoment, moment);
        CConsoleRig rig;
        QVERIFY(StartLoggingIn(rig, {kind, moment, SimTarget::Operator, 1}));
        CSimWorld& world = rig.stage.World();
        QTRY_COMPARE(world.Stats().faultsStruck, std::uint64_t{1});
        QTRY_VERIFY_WITH_TIMEOUT(world.Stats().connectionsAccepted >= 2, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(rig.Title(), CConsoleRig::Online(), 10000);
        const int lost = rig.titles.indexOf(CConsoleRig::NotConnected());
        QVERIFY2(lost > 0 && rig.titles.indexOf(CConsoleRig::Online()) < lost,
                 qPrintable(rig.titles.join(QLatin1Char('/'))));
        QTRY_VERIFY(Listed(rig.List("visitors")->model()) == OnTheSites(world));
        QCOMPARE(rig.notifier.informed, QStringList());
    }

    void loginFaultIsTold_data()
    {
        QTest::addColumn<SimFaultKind>("kind");
        QTest::addColumn<int>("result");
        QTest::newRow("garbage") << SimFaultKind::Garbage << rc::kReceiveFailed;
        QTest::newRow("silence") << SimFaultKind::Silence << rc::kIdle;
        QTest::newRow("reset") << SimFaultKind::Reset << rc::kPeerClosed;
    }
    void loginFaultIsTold()
    {
        QFETCH(SimFaultKind, kind);
        QFETCH(int, result);
        CConsoleRig rig;
        QVERIFY(StartLoggingIn(rig, {kind, SimFaultMoment::AtLogin, SimTarget::Operator, 1}));
        QTRY_COMPARE(rig.notifier.informed, QStringList{rig.ConnectFailed(result)});
        QCOMPARE(rig.Title(), CConsoleRig::NotConnected());
        QCOMPARE(rig.Buttons(), QStringLiteral("1000"));
    }

    // Five hundred list replies while the window is busy: the list is refreshed once, with
    // the last of them, and what came after them still follows.
    void floodOfListRepliesIsOneRefresh()
    {
        CConsoleRig rig;
        QVERIFY(rig.Start());
        QVERIFY(rig.LogInAndList());
        CSimWorld& world = rig.stage.World();
        const QAbstractItemModel* model = rig.List("visitors")->model();
        QSignalSpy resets(model, &QAbstractItemModel::modelReset);
        CSocketMessage list(msg::kReplyOk);
        list.AddIntField(msg::kRequestVisitors);
        list.AddIntField(static_cast<int>(world.Visitors().size()));
        for (const SimVisitor& v : world.Visitors())
            simmsg::AddVisitorRecord(list, v);
        for (int i = 0; i < 500; ++i)
            QVERIFY(world.SendToOperator(rig.OperatorId(), list));
        const int last = world.AddVisitor();
        QVERIFY(WaitWithoutEvents(
            [&] { return rig.stage.session.Visitors().FindCopy(last).has_value(); }));
        QTRY_VERIFY(Listed(model) == OnTheSites(world));
        QCOMPARE(resets.size(), 1);
    }

    void floodOfEvents()
    {
        CConsoleRig rig;
        QVERIFY(rig.Start());
        QVERIFY(rig.LogInAndList());
        CSimWorld& world = rig.stage.World();
        std::thread flood([&world] {
            for (int burst = 0; burst < 10; ++burst)
                world.Flood(500);
        });
        QTRY_VERIFY_WITH_TIMEOUT(world.Stats().floodEvents == 5'000, 20000);
        flood.join();
        // Events come in order: once the visitor who arrives last is listed, the flood is too.
        const int last = world.AddVisitor();
        const QAbstractItemModel* visitors = rig.List("visitors")->model();
        QTRY_VERIFY_WITH_TIMEOUT(Listed(visitors).count(last) == 1, 20000);
        QVERIFY(Listed(visitors) == OnTheSites(world));
        const QAbstractItemModel* operators = rig.List("operators")->model();
        const QModelIndex own =
            operators->index(operators->rowCount() - 1, COperatorListModel::kStatusColumn);
        QCOMPARE(own.data().toString(), StatusWord(world.Operators().front().status));
        QCOMPARE(rig.Title(), CConsoleRig::Online());

        // The console closes while a larger flood still comes in; the stage ends it all in
        // the application's order, and nothing reaches a window that has gone.
        world.Flood(5'000);
        QCoreApplication::processEvents();
    }
};

QTEST_MAIN(ConsoleHostileTest)
#include "console_hostile_test.moc"
