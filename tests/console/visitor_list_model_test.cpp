#include "app_settings.h"
#include "session_values.h"
#include "visitor_list_ctrl.h"
#include "visitor_list_model.h"
#include "visitor_row_delegate.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

CVisitorEntry Visitor(int id, int group, const std::string& ip = "192.0.2.1",
                      const std::string& page = "http://www.example.com/index.html")
{
    CVisitorEntry e;
    e.id = id;
    e.number1 = 99;
    e.text1 = page;
    e.text2 = "Visitor " + std::to_string(id);
    e.text3 = "unused";
    e.time = "10:15:00 03/14/2024";
    e.text5 = ip;
    e.number2 = group;
    return e;
}

// The ids of the rows from the top.
std::vector<int> Ids(const CVisitorListModel& model)
{
    std::vector<int> ids;
    for (int r = 0; r < model.rowCount(); ++r)
        ids.push_back(model.index(r, 0).data(CVisitorListModel::IdRole).toInt());
    return ids;
}

// The visitors list as its rules read, with linear searches: what the model must agree with.
class ReferenceList
{
public:
    void Add(const CVisitorEntry& e)
    {
        auto at = std::find_if(m_rows.begin(), m_rows.end(),
                               [&e](const CVisitorEntry& r) { return r.number2 == e.number2; });
        if (at == m_rows.end())
            at = m_rows.begin();
        m_rows.insert(at, e);
    }
    bool Has(int id) const { return RowOf(id) >= 0; }
    int RowOf(int id) const
    {
        for (std::size_t i = 0; i < m_rows.size(); ++i)
            if (m_rows[i].id == id)
                return static_cast<int>(i);
        return -1;
    }
    void Remove(int id)
    {
        const int at = RowOf(id);
        if (at >= 0)
            m_rows.erase(m_rows.begin() + at);
    }
    void Clear() { m_rows.clear(); }
    std::vector<int> Ids() const
    {
        std::vector<int> ids;
        for (const auto& r : m_rows)
            ids.push_back(r.id);
        return ids;
    }

private:
    std::vector<CVisitorEntry> m_rows;
};

// True when some pixel of the area is the given colour.
bool HasColour(const QImage& image, const QRect& area, const QColor& colour)
{
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (image.pixelColor(x, y) == colour)
                return true;
    return false;
}

} // namespace

class FakeBridge : public QObject
{
    Q_OBJECT

signals:
    void VisitorAdded(CVisitorEntry entry);
    void VisitorsRefreshed(std::vector<CVisitorEntry> entries);
};

class TestVisitorList : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void blockedVisitorNeverListed_data();
    void blockedVisitorNeverListed();
    void secondArrivalChangesNothing();
    void newRowGoesAboveItsGroup();
    void refreshRebuilds();
    void displayAddressLastPatternWins();
    void departureRemovesTopmostRowWithThatId();
    void departureAfterAddressWasBlockedStillRemoves();
    void randomEventsMatchTheRules_data();
    void randomEventsMatchTheRules();
    void tickAdvancesEveryRow();
    void invitedCaptionStaysRedAcrossTicks();
    void selectionFollowsRowsAndResets();
    void doubleClickAsksBeforeInviting_data();
    void doubleClickAsksBeforeInviting();
    void markSelectedInvitedTakesRowsFromTheTop();
    void valuesCrossThreadsAsQueuedArguments();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CAppSettings> m_settings;
};

void TestVisitorList::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_settings = std::make_unique<CAppSettings>(m_dir->filePath(QStringLiteral("s.conf")));
    // Every value set: an empty one would block visitors without an IP text.
    m_settings->m_blockIp = {"198.51.100.1", "198.51.100.2", "198.51.100.3", "198.51.100.4",
                             "198.51.100.5"};
}

void TestVisitorList::cleanup()
{
    m_settings.reset();
    m_dir.reset();
}

void TestVisitorList::blockedVisitorNeverListed_data()
{
    QTest::addColumn<QStringList>("blockIps");
    QTest::addColumn<QString>("ip");
    QTest::addColumn<bool>("blocked");

    const QStringList five = {"1.1.1.1", "2.2.2.2", "10.0.0.1", "3.3.3.3", "4.4.4.4"};
    QTest::newRow("equals BlockIp3") << five << "10.0.0.1" << true;
    QTest::newRow("whole text, not a prefix") << five << "10.0.0.12" << false;
    QTest::newRow("letter case ignored")
        << QStringList{"FE80::1", "a", "b", "c", "d"} << "fe80::1" << true;
    QTest::newRow("empty IP while a value is empty")
        << QStringList{"1.1.1.1", "", "b", "c", "d"} << "" << true;
    QTest::newRow("empty IP, every value set") << five << "" << false;
    QTest::newRow("ordinary IP, empty values")
        << QStringList{"", "", "", "", ""} << "192.0.2.7" << false;
}

void TestVisitorList::blockedVisitorNeverListed()
{
    QFETCH(QStringList, blockIps);
    QFETCH(QString, ip);
    QFETCH(bool, blocked);

    for (int i = 0; i < 5; ++i)
        m_settings->m_blockIp[static_cast<std::size_t>(i)] = blockIps.at(i);
    CVisitorListModel model(m_settings.get());
    model.AddVisitor(Visitor(1, 1, "192.0.2.200"));
    const CVisitorEntry visitor = Visitor(5, 1, ip.toStdString());

    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    // The window announces exactly the visitors for which a row was added.
    QCOMPARE(model.AddVisitor(visitor), !blocked);
    QCOMPARE(inserted.size(), blocked ? 0 : 1);
    QCOMPARE(model.RowOfId(5) >= 0, !blocked);

    model.Reset({Visitor(1, 1, "192.0.2.200"), visitor});
    QCOMPARE(model.rowCount(), blocked ? 1 : 2);

    if (blocked) {
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        QVERIFY(!model.RemoveVisitor(visitor));
        QCOMPARE(removed.size(), 0);
        QCOMPARE(Ids(model), std::vector<int>{1});
    }
}

void TestVisitorList::secondArrivalChangesNothing()
{
    CVisitorListModel model(m_settings.get());
    QVERIFY(model.AddVisitor(Visitor(4001, 2)));
    CVisitorEntry again = Visitor(4001, 9);
    again.text2 = "Another caption";
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

    QVERIFY(!model.AddVisitor(again));
    QCOMPARE(inserted.size(), 0);
    QCOMPARE(changed.size(), 0);
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(model.index(0, 0).data(CVisitorListModel::CaptionRole).toString(),
             QStringLiteral("Visitor 4001"));
    QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("2"));
}

void TestVisitorList::newRowGoesAboveItsGroup()
{
    CVisitorListModel model(m_settings.get());
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    model.AddVisitor(Visitor(1, 7));
    model.AddVisitor(Visitor(2, 3));
    model.AddVisitor(Visitor(3, 7)); // directly above the first row with key 7
    model.AddVisitor(Visitor(4, 9)); // a new key goes to the top
    model.AddVisitor(Visitor(5, 7));
    QCOMPARE(Ids(model), (std::vector<int>{4, 2, 5, 3, 1}));
    // Each insertion was announced at the row it took.
    QCOMPARE(inserted.size(), 5);
    QCOMPARE(inserted.at(2).at(1).toInt(), 1);
    QCOMPARE(inserted.at(4).at(1).toInt(), 2);
    QCOMPARE(model.index(2, 0).data().toString(), QStringLiteral("7"));

    // When a group's top row leaves, the next one of the group takes its place as the anchor.
    model.RemoveVisitor(Visitor(5, 7));
    model.AddVisitor(Visitor(6, 7));
    QCOMPARE(Ids(model), (std::vector<int>{4, 2, 6, 3, 1}));
    // And a group that emptied starts again on top.
    model.RemoveVisitor(Visitor(2, 3));
    model.AddVisitor(Visitor(7, 3));
    QCOMPARE(Ids(model), (std::vector<int>{7, 4, 6, 3, 1}));
}

void TestVisitorList::refreshRebuilds()
{
    CVisitorListModel model(m_settings.get());
    model.AddVisitor(Visitor(100, 1));
    model.MarkInvited(100);
    model.TickMinutes();

    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    model.Reset({Visitor(1, 7), Visitor(2, 3), Visitor(3, 7, "198.51.100.3"), Visitor(4, 7),
                 Visitor(2, 5)});
    QCOMPARE(reset.size(), 1);
    // Blocked 3 skipped; the server listed 2 twice, and both rows are kept.
    QCOMPARE(Ids(model), (std::vector<int>{2, 2, 4, 1}));
    QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("5"));
    QCOMPARE(model.RowOfId(2), 0);
    QCOMPARE(model.RowOfId(100), -1);
    for (int r = 0; r < model.rowCount(); ++r) {
        QCOMPARE(model.index(r, 0).data(CVisitorListModel::InvitedRole).toBool(), false);
        QCOMPARE(model.index(r, 0).data(CVisitorListModel::MinutesRole).toInt(), 0);
    }
    // A departure takes the topmost of the two.
    QVERIFY(model.RemoveVisitor(Visitor(2, 0)));
    QCOMPARE(Ids(model), (std::vector<int>{2, 4, 1}));
    QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("3"));

    model.Clear();
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(model.AddVisitor(Visitor(2, 3)));
}

void TestVisitorList::displayAddressLastPatternWins()
{
    m_settings->m_baseUrl = {"abc", "bcd/e", "", "", ""};
    CVisitorListModel model(m_settings.get());
    model.AddVisitor(Visitor(1, 1, "192.0.2.1", "xabcd/e/f"));
    model.AddVisitor(Visitor(2, 2, "192.0.2.1", "xabc/g"));
    model.AddVisitor(Visitor(3, 3, "192.0.2.1", ""));
    QCOMPARE(model.Record(model.RowOfId(1))->text1, std::string("/f"));
    QCOMPARE(model.Record(model.RowOfId(2))->text1, std::string("/g"));
    QCOMPARE(model.Record(model.RowOfId(3))->text1, std::string());

    // The patterns are read at each event: a change applies to the next row.
    m_settings->m_baseUrl = {"*abc", "", "", "", ""};
    model.AddVisitor(Visitor(4, 4, "192.0.2.1", "xyabc"));
    model.AddVisitor(Visitor(5, 5, "192.0.2.1", "xyabc/"));
    QCOMPARE(model.index(model.RowOfId(4), 0).data(CVisitorListModel::AddressRole).toString(),
             QStringLiteral("xyabc"));
    QCOMPARE(model.index(model.RowOfId(5), 0).data(CVisitorListModel::AddressRole).toString(),
             QStringLiteral("/"));
    QCOMPARE(model.Record(model.RowOfId(1))->text1, std::string("/f"));
}

void TestVisitorList::departureRemovesTopmostRowWithThatId()
{
    CVisitorListModel model(m_settings.get());
    model.AddVisitor(Visitor(1, 1));
    model.AddVisitor(Visitor(2, 1));
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QVERIFY(!model.RemoveVisitor(Visitor(3, 1)));
    QCOMPARE(removed.size(), 0);
    QVERIFY(model.RemoveVisitor(Visitor(1, 1)));
    QCOMPARE(removed.size(), 1);
    QCOMPARE(removed.at(0).at(1).toInt(), 1);
    QCOMPARE(Ids(model), std::vector<int>{2});
    QVERIFY(!model.RemoveVisitor(Visitor(1, 1)));
}

void TestVisitorList::departureAfterAddressWasBlockedStillRemoves()
{
    CVisitorListModel model(m_settings.get());
    model.AddVisitor(Visitor(1, 1, "203.0.113.9"));
    // The operator blocks the address while the visitor is listed; the row must still go when
    // the visitor leaves, or it would stay until the next refresh.
    m_settings->m_blockIp[0] = QStringLiteral("203.0.113.9");
    QVERIFY(model.RemoveVisitor(Visitor(1, 1, "203.0.113.9")));
    QCOMPARE(model.rowCount(), 0);
}

void TestVisitorList::randomEventsMatchTheRules_data()
{
    QTest::addColumn<unsigned>("seed");
    QTest::addColumn<int>("groups");
    QTest::newRow("few groups") << 3u << 4;
    QTest::newRow("many groups") << 11u << 40;
    QTest::newRow("one group") << 5u << 1;
}

void TestVisitorList::randomEventsMatchTheRules()
{
    QFETCH(unsigned, seed);
    QFETCH(int, groups);

    std::mt19937 random(seed);
    CVisitorListModel model(m_settings.get());
    ReferenceList expected;
    const auto randomVisitor = [&] {
        const int id = 1 + static_cast<int>(random() % 300);
        const int group = static_cast<int>(random() % static_cast<unsigned>(groups));
        // One address in twenty is blocked.
        const std::string ip = random() % 20 == 0 ? "198.51.100.2" : "192.0.2.1";
        return Visitor(id, group, ip);
    };
    for (int step = 0; step < 3000; ++step) {
        const unsigned what = random() % 100;
        if (what < 55) {
            const CVisitorEntry v = randomVisitor();
            const bool listed = v.text5 != "198.51.100.2" && !expected.Has(v.id);
            QCOMPARE(model.AddVisitor(v), listed);
            if (listed)
                expected.Add(v);
        } else if (what < 97) {
            const CVisitorEntry v = randomVisitor();
            QCOMPARE(model.RemoveVisitor(v), expected.Has(v.id));
            expected.Remove(v.id);
        } else {
            std::vector<CVisitorEntry> snapshot;
            const int count = static_cast<int>(random() % 60);
            for (int i = 0; i < count; ++i)
                snapshot.push_back(randomVisitor());
            model.Reset(snapshot);
            expected.Clear();
            for (const auto& v : snapshot)
                if (v.text5 != "198.51.100.2")
                    expected.Add(v);
        }
        QCOMPARE(Ids(model), expected.Ids());
        const int probe = 1 + static_cast<int>(random() % 300);
        QCOMPARE(model.RowOfId(probe), expected.RowOf(probe));
    }
}

void TestVisitorList::tickAdvancesEveryRow()
{
    CVisitorListModel model(m_settings.get());
    model.TickMinutes(); // nothing listed: nothing to do
    model.AddVisitor(Visitor(1, 1));
    model.AddVisitor(Visitor(2, 2));
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.TickMinutes();
    model.TickMinutes();
    model.AddVisitor(Visitor(3, 3));
    model.TickMinutes();
    QCOMPARE(changed.size(), 3);
    QCOMPARE(changed.last().at(0).toModelIndex().row(), 0);
    QCOMPARE(changed.last().at(1).toModelIndex().row(), 2);
    QCOMPARE(model.Record(model.RowOfId(1))->minutes, 3);
    QCOMPARE(model.Record(model.RowOfId(2))->minutes, 3);
    QCOMPARE(model.Record(model.RowOfId(3))->minutes, 1);
    QCOMPARE(CVisitorRowDelegate::MinutesText(3), QStringLiteral("3 minute(s) "));
}

void TestVisitorList::invitedCaptionStaysRedAcrossTicks()
{
    CVisitorListModel model(m_settings.get());
    model.AddVisitor(Visitor(1, 1));
    model.AddVisitor(Visitor(2, 2));
    CVisitorListCtrl view;
    view.setPalette(QPalette(Qt::white)); // a light palette: the row's colours as designed
    view.setModel(&model);
    view.resize(620, 200);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    const int w0 = view.header()->sectionSize(0);
    const QColor red(255, 0, 0);
    const auto captionArea = [&](int row) {
        const QRect rowRect = view.visualRect(model.index(row, 0));
        return QRect(4, rowRect.top() + 2, w0 - 110, 14);
    };
    const int row = model.RowOfId(1);
    QVERIFY(!HasColour(view.viewport()->grab().toImage(), captionArea(row), red));

    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QVERIFY(model.MarkInvited(1));
    QCOMPARE(changed.size(), 1);
    QVERIFY(!model.MarkInvited(77));
    for (int tick = 0; tick < 3; ++tick) {
        model.TickMinutes();
        QVERIFY(HasColour(view.viewport()->grab().toImage(), captionArea(row), red));
        QVERIFY(!HasColour(view.viewport()->grab().toImage(), captionArea(model.RowOfId(2)), red));
    }
    QCOMPARE(model.Record(row)->invited, true);
}

void TestVisitorList::selectionFollowsRowsAndResets()
{
    CVisitorListModel model(m_settings.get());
    for (int id = 1; id <= 3; ++id)
        model.AddVisitor(Visitor(id, id));
    CVisitorListCtrl view;
    view.setModel(&model);
    QSignalSpy presence(&view, &CVisitorListCtrl::SelectionPresenceChanged);
    QVERIFY(!view.HasSelection());

    view.selectionModel()->select(model.index(model.RowOfId(2), 0),
                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QCOMPARE(presence.size(), 1);
    QCOMPARE(presence.last().at(0).toBool(), true);
    // Another row of the same selection changes nothing.
    view.selectionModel()->select(model.index(model.RowOfId(3), 0),
                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QCOMPARE(presence.size(), 1);

    model.RemoveVisitor(Visitor(2, 2));
    QCOMPARE(presence.size(), 1);
    model.RemoveVisitor(Visitor(3, 3));
    QCOMPARE(presence.size(), 2);
    QCOMPARE(presence.last().at(0).toBool(), false);

    view.selectAll();
    QCOMPARE(presence.size(), 3);
    model.Reset({Visitor(9, 9)});
    QCOMPARE(presence.size(), 4);
    QCOMPARE(presence.last().at(0).toBool(), false);
    QVERIFY(!view.HasSelection());
}

void TestVisitorList::doubleClickAsksBeforeInviting_data()
{
    QTest::addColumn<bool>("onRow");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<int>("questions");
    QTest::addColumn<int>("requests");

    QTest::newRow("row, Yes") << true << true << 1 << 1;
    QTest::newRow("row, No") << true << false << 1 << 0;
    QTest::newRow("below the rows") << false << true << 0 << 0;
}

void TestVisitorList::doubleClickAsksBeforeInviting()
{
    QFETCH(bool, onRow);
    QFETCH(bool, answer);
    QFETCH(int, questions);
    QFETCH(int, requests);

    CVisitorListModel model(m_settings.get());
    model.AddVisitor(Visitor(1, 1));
    CVisitorListCtrl view;
    view.setModel(&model);
    view.resize(600, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QStringList asked;
    view.SetAsker([&](QWidget* parent, const QString& question) {
        Q_UNUSED(parent);
        asked.append(question);
        return answer;
    });
    QSignalSpy invite(&view, &CVisitorListCtrl::InviteRequested);

    const QPoint at = onRow ? view.visualRect(model.index(0, 0)).center() : QPoint(20, 250);
    // A real double click: the first press, then the double-click press.
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(asked.size(), questions);
    if (questions) {
        QCOMPARE(asked.first(), QStringLiteral("Do you want to send a chat invitation to the "
                                               "visitor browsing the selected web page?"));
    }
    QCOMPARE(invite.size(), requests);
}

void TestVisitorList::markSelectedInvitedTakesRowsFromTheTop()
{
    CVisitorListModel model(m_settings.get());
    model.AddVisitor(Visitor(0, 4)); // an id the server never invites
    model.AddVisitor(Visitor(11, 1));
    model.AddVisitor(Visitor(12, 2));
    model.AddVisitor(Visitor(13, 3));
    CVisitorListCtrl view;
    view.setModel(&model);
    QVERIFY(view.MarkSelectedInvited().empty());

    for (const int id : {11, 13, 0})
        view.selectionModel()->select(model.index(model.RowOfId(id), 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QCOMPARE(view.SelectedIds(), (std::vector<std::int32_t>{13, 11}));
    QCOMPARE(view.MarkSelectedInvited(), (std::vector<std::int32_t>{13, 11}));
    QCOMPARE(model.Record(model.RowOfId(13))->invited, true);
    QCOMPARE(model.Record(model.RowOfId(11))->invited, true);
    QCOMPARE(model.Record(model.RowOfId(12))->invited, false);
    QCOMPARE(model.Record(model.RowOfId(0))->invited, false);
}

void TestVisitorList::valuesCrossThreadsAsQueuedArguments()
{
    // As the session bridge will: signals emitted on another thread, carrying entries and
    // snapshots by value, delivered queued to the model on the GUI thread.
    CVisitorListModel model(m_settings.get());
    FakeBridge bridge;
    connect(&bridge, &FakeBridge::VisitorsRefreshed, &model, &CVisitorListModel::Reset,
            Qt::QueuedConnection);
    connect(&bridge, &FakeBridge::VisitorAdded, &model, &CVisitorListModel::AddVisitor,
            Qt::QueuedConnection);
    std::thread receiver([&bridge] {
        emit bridge.VisitorsRefreshed({Visitor(1, 1), Visitor(2, 2)});
        emit bridge.VisitorAdded(Visitor(3, 1));
    });
    receiver.join();
    QTRY_COMPARE(model.rowCount(), 3);
    QCOMPARE(Ids(model), (std::vector<int>{2, 3, 1}));
}

QTEST_MAIN(TestVisitorList)
#include "visitor_list_model_test.moc"
