// The visitors list through the model that follows the bridge, against the simulated server:
// where a newcomer goes and the time it shows, blocked addresses, domain patterns, the server's
// invited marks and the minutes; and the invitation command with its one-at-a-time guard.
#include "console_rig.h"
#include "message_codes.h"
#include "sim_messages.h"
#include "visitor_list_model.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QRegularExpression>
#include <QTableView>

using namespace std::chrono_literals;

namespace {

SimVisitor Visitor(int id, int group, const std::string& address)
{
    SimVisitor v;
    v.id = id;
    v.pageViews = 1;
    v.page = "http://shop.example.com/cart";
    v.caption = "Cart " + std::to_string(id);
    v.entered = "2024-5-6 7:08:09";
    v.address = address;
    v.groupKey = group;
    return v;
}

int RowOf(const QAbstractItemModel* model, int id)
{
    for (int row = 0; row < model->rowCount(); ++row)
        if (model->index(row, 0).data(CVisitorListModel::IdRole).toInt() == id)
            return row;
    return -1;
}

QVariant Data(const QAbstractItemModel* model, int id, int role)
{
    return model->index(RowOf(model, id), 0).data(role);
}

} // namespace

class ConsoleListsTest final : public QObject
{
    Q_OBJECT

private slots:
    void visitorsList()
    {
        CConsoleRig rig;
        std::vector<SimVisitor> crowd;
        rig.Adjust = [&](CAppSettings& s) {
            crowd = rig.stage.World().Visitors();
            s.m_blockIp = {QStringLiteral("198.51.100.1"), QStringLiteral("198.51.100.2"),
                           QString::fromStdString(crowd[1].address), QStringLiteral("198.51.100.4"),
                           QStringLiteral("198.51.100.5")};
            s.m_baseUrl[3] = QStringLiteral("http://*.example.com");
        };
        ConsoleTimings timings = CDayStage::Timings();
        timings.keepAlivePeriod = 100ms; // each tick is a minute on every row
        QVERIFY(rig.Start(day::ServerOptions(), timings));
        QVERIFY(rig.LogIn());
        const QAbstractItemModel* model = rig.List("visitors")->model();
        QTRY_COMPARE(model->rowCount(), 4);
        QCOMPARE(RowOf(model, crowd[1].id), -1);
        // The widest address shows whole in its column as the list first opens.
        QFont bold = rig.List("visitors")->font();
        bold.setBold(true);
        QVERIFY(qobject_cast<QTableView*>(rig.List("visitors"))->horizontalHeader()->sectionSize(1) >=
                QFontMetrics(bold).horizontalAdvance(QStringLiteral("IP: 255.255.255.255")));
        CSimWorld& world = rig.stage.World();
        const auto arrives = [&](const SimVisitor& v) {
            QVERIFY(world.SendToOperator(rig.OperatorId(), simmsg::VisitorEntered(v)));
        };

        // A newcomer goes directly above the top row of its site, or on top for a new site.
        const int group = crowd[3].groupKey;
        int top = 0;
        while (model->index(top, 0).data(CVisitorListModel::GroupKeyRole).toInt() != group)
            ++top;
        const int formerTop = model->index(top, 0).data(CVisitorListModel::IdRole).toInt();
        arrives(Visitor(9001, group, "192.0.2.77"));
        QTRY_COMPARE(RowOf(model, 9001), top);
        QCOMPARE(RowOf(model, formerTop), top + 1);
        // Its time is shown as a listed visitor's is: local time, in the same format.
        const auto shape = [](QString time) {
            return time.replace(QRegularExpression(QStringLiteral("\\d")), QStringLiteral("9"));
        };
        const QString arrived = Data(model, 9001, CVisitorListModel::TimeRole).toString();
        QCOMPARE(shape(arrived),
                 shape(Data(model, crowd[0].id, CVisitorListModel::TimeRole).toString()));
        QVERIFY(arrived.contains(QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9), Qt::UTC)
                                     .toLocalTime()
                                     .toString(QStringLiteral("HH:mm:ss"))));
        arrives(Visitor(9002, 999, "192.0.2.78"));
        QTRY_COMPARE(RowOf(model, 9002), 0);

        // A blocked address and a visitor listed already change nothing; the arrival after them
        // shows they were handled.
        arrives(Visitor(9003, group, crowd[1].address));
        arrives(Visitor(9001, 998, "192.0.2.77"));
        arrives(Visitor(9004, 997, "192.0.2.79"));
        QTRY_COMPARE(RowOf(model, 9004), 0);
        QCOMPARE(model->rowCount(), 7);
        QCOMPARE(RowOf(model, 9003), -1);
        QCOMPARE(Data(model, 9001, CVisitorListModel::AddressRole).toString(),
                 QStringLiteral("/cart"));

        // The server confirms an invitation: the row turns red for good.
        QVERIFY(!Data(model, 9002, CVisitorListModel::InvitedRole).toBool());
        QVERIFY(rig.stage.Bridge().Invite({crowd[0].id}, QStringLiteral("ann")));
        QTRY_VERIFY(Data(model, crowd[0].id, CVisitorListModel::InvitedRole).toBool());

        QVERIFY(world.SendToOperator(rig.OperatorId(), simmsg::VisitorLeft(9001)));
        QTRY_COMPARE(RowOf(model, 9001), -1);
        QTRY_VERIFY(Data(model, 9004, CVisitorListModel::MinutesRole).toInt() >= 2);
        for (int row = 0; row < model->rowCount(); ++row)
            QVERIFY(model->index(row, 0).data(CVisitorListModel::MinutesRole).toInt() >= 2);
        QVERIFY(Data(model, crowd[0].id, CVisitorListModel::InvitedRole).toBool());
    }

    // Invite to Chat follows the selection; a second press while the first is being sent is
    // explained and sends nothing; a double click asks first.
    void invitationCommand()
    {
        CConsoleRig rig;
        QVERIFY(rig.Start());
        QVERIFY(rig.LogInAndList());
        QAbstractItemView* view = rig.List("visitors");
        const QAbstractItemModel* model = view->model();
        QList<int> ids;
        for (int row : {0, 2, 3}) {
            view->selectionModel()->select(model->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
            ids << model->index(row, 0).data(CVisitorListModel::IdRole).toInt();
        }
        QVERIFY(rig.Button("invite")->isEnabled());
        rig.Button("invite")->click();
        rig.Button("invite")->click(); // in the same turn: the first cannot have reported back
        QCOMPARE(
            rig.notifier.informed,
            QStringList{QStringLiteral("There is already a similar command in progress.\r\n"
                                       "Please wait for the previous command to finish first.")});
        for (int row : {0, 2, 3}) // red at once, before the server confirms
            QVERIFY(model->index(row, 0).data(CVisitorListModel::InvitedRole).toBool());
        QVERIFY(!model->index(1, 0).data(CVisitorListModel::InvitedRole).toBool());
        QStringList expected;
        for (int id : ids)
            expected << QStringLiteral("%1|ann").arg(id);
        QTRY_COMPARE(day::ServerReceived(rig.stage.World(), msg::kInviteVisitor), expected);
        QTRY_VERIFY(!rig.stage.Bridge().IsInviting());
        rig.Button("invite")->click();
        QTRY_COMPARE(day::ServerReceived(rig.stage.World(), msg::kInviteVisitor).size(), 6);
        QTRY_VERIFY(!rig.stage.Bridge().IsInviting());
        QCOMPARE(rig.notifier.informed.size(), 1);

        view->clearSelection();
        QVERIFY(!rig.Button("invite")->isEnabled());
        rig.notifier.yes = true;
        const QPoint row1 = view->visualRect(model->index(1, 0)).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row1);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, row1);
        QCOMPARE(rig.notifier.asked.size(), 1);
        const int second = model->index(1, 0).data(CVisitorListModel::IdRole).toInt();
        QTRY_VERIFY(day::ServerReceived(rig.stage.World(), msg::kInviteVisitor)
                        .contains(QStringLiteral("%1|ann").arg(second)));
    }
};

QTEST_MAIN(ConsoleListsTest)
#include "console_lists_test.moc"
