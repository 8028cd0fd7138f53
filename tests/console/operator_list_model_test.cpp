#include "operator_list_ctrl.h"
#include "operator_list_model.h"
#include "session_values.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

CUserEntry Operator(int id, int status, const std::string& first = "Ann",
                    const std::string& last = "Smith", const std::string& host = "10.1.1.1")
{
    CUserEntry e;
    e.id = id;
    e.number = 1;
    e.type = 2;
    e.status = status;
    e.text1 = host;
    e.text2 = first;
    e.text3 = last;
    return e;
}

QString Cell(const COperatorListModel& model, int row, int column)
{
    return model.index(row, column).data().toString();
}

int Image(const COperatorListModel& model, int row)
{
    return model.index(row, 0).data(COperatorListModel::ImageRole).toInt();
}

std::vector<int> Ids(const COperatorListModel& model)
{
    std::vector<int> ids;
    for (int r = 0; r < model.rowCount(); ++r)
        ids.push_back(model.index(r, 0).data(COperatorListModel::IdRole).toInt());
    return ids;
}

// How many pixels of the area are that colour or nearly (text is drawn smoothed, so only the
// middle of a stroke has the pen's exact colour).
int CountColour(const QImage& image, const QRect& area, const QColor& colour)
{
    int count = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const int distance = std::abs(c.red() - colour.red()) +
                                 std::abs(c.green() - colour.green()) +
                                 std::abs(c.blue() - colour.blue());
            count += distance < 90 ? 1 : 0;
        }
    }
    return count;
}

} // namespace

class TestOperatorList : public QObject
{
    Q_OBJECT

private slots:
    void refreshListsInReverseSessionOrder();
    void statusWordAndImageOfNewRow_data();
    void statusWordAndImageOfNewRow();
    void unknownStatusKeepsTheImage();
    void addingAListedOperatorKeepsItsName();
    void statusChangeKeepsTheHost();
    void removalTakesTheRow();
    void statusColumnDrawnInBlue();
};

void TestOperatorList::refreshListsInReverseSessionOrder()
{
    COperatorListModel model;
    model.Add(Operator(99, 1));
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    model.Reset({Operator(1, 1, "Ann", "Smith"), Operator(2, 2, "Bo", "Li"),
                 Operator(3, 3, "Cy", "Ng", "host-3")});
    QCOMPARE(reset.size(), 1);
    QCOMPARE(Ids(model), (std::vector<int>{3, 2, 1}));
    QCOMPARE(Cell(model, 0, COperatorListModel::kNameColumn), QStringLiteral("Cy Ng"));
    QCOMPARE(Cell(model, 0, COperatorListModel::kStatusColumn), QStringLiteral("away"));
    QCOMPARE(Cell(model, 0, COperatorListModel::kHostColumn), QStringLiteral("host-3"));
    QCOMPARE(model.RowOfId(99), -1);
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Agent Status"));

    model.Clear();
    QCOMPARE(model.rowCount(), 0);
}

void TestOperatorList::statusWordAndImageOfNewRow_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("image");

    QTest::newRow("1 online") << 1 << "online" << 1;
    QTest::newRow("2 busy") << 2 << "busy" << 2;
    QTest::newRow("3 away") << 3 << "away" << 2;
    QTest::newRow("5 shown online, image 0") << 5 << "online" << 0;
    QTest::newRow("0 shown online, image 0") << 0 << "online" << 0;
}

void TestOperatorList::statusWordAndImageOfNewRow()
{
    QFETCH(int, status);
    QFETCH(QString, word);
    QFETCH(int, image);

    COperatorListModel added;
    added.Add(Operator(7, status));
    QCOMPARE(Cell(added, 0, COperatorListModel::kStatusColumn), word);
    QCOMPARE(Image(added, 0), image);

    COperatorListModel refreshed;
    refreshed.Reset({Operator(7, status)});
    QCOMPARE(Cell(refreshed, 0, COperatorListModel::kStatusColumn), word);
    QCOMPARE(Image(refreshed, 0), image);
}

void TestOperatorList::unknownStatusKeepsTheImage()
{
    COperatorListModel model;
    model.Add(Operator(7, 2));
    QVERIFY(model.Update(Operator(7, 5)));
    QCOMPARE(Cell(model, 0, COperatorListModel::kStatusColumn), QStringLiteral("online"));
    QCOMPARE(Image(model, 0), 2);
}

void TestOperatorList::addingAListedOperatorKeepsItsName()
{
    COperatorListModel model;
    model.Add(Operator(1, 1, "Ann", "Smith", "a-host"));
    model.Add(Operator(2, 1, "Bo", "Li"));
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

    model.Add(Operator(1, 3, "Renamed", "Person", "b-host"));
    QCOMPARE(inserted.size(), 0);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(Ids(model), (std::vector<int>{2, 1}));
    QCOMPARE(Cell(model, 1, COperatorListModel::kNameColumn), QStringLiteral("Ann Smith"));
    QCOMPARE(Cell(model, 1, COperatorListModel::kStatusColumn), QStringLiteral("away"));
    QCOMPARE(Cell(model, 1, COperatorListModel::kHostColumn), QStringLiteral("b-host"));
    QCOMPARE(Image(model, 1), 2);
}

void TestOperatorList::statusChangeKeepsTheHost()
{
    COperatorListModel model;
    QVERIFY(!model.Update(Operator(1, 2)));
    QCOMPARE(model.rowCount(), 0);
    model.Add(Operator(1, 2, "Ann", "Smith", "a-host"));
    QVERIFY(model.Update(Operator(1, 1, "X", "Y", "other-host")));
    QCOMPARE(Cell(model, 0, COperatorListModel::kStatusColumn), QStringLiteral("online"));
    QCOMPARE(Image(model, 0), 1);
    QCOMPARE(Cell(model, 0, COperatorListModel::kHostColumn), QStringLiteral("a-host"));
    QCOMPARE(Cell(model, 0, COperatorListModel::kNameColumn), QStringLiteral("Ann Smith"));
}

void TestOperatorList::removalTakesTheRow()
{
    COperatorListModel model;
    model.Reset({Operator(1, 1), Operator(2, 1), Operator(3, 1)});
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QVERIFY(model.Remove(Operator(2, 0)));
    QCOMPARE(removed.size(), 1);
    QCOMPARE(removed.at(0).at(1).toInt(), 1);
    QVERIFY(!model.Remove(Operator(2, 0)));
    QCOMPARE(Ids(model), (std::vector<int>{3, 1}));
    model.Add(Operator(2, 1));
    QCOMPARE(Ids(model), (std::vector<int>{2, 3, 1}));
}

void TestOperatorList::statusColumnDrawnInBlue()
{
    COperatorListModel model;
    model.Reset({Operator(1, 1, "Ann", "Smith", "host-name"), Operator(2, 2, "Bo", "Li")});
    COperatorListCtrl view;
    view.setPalette(QPalette(Qt::white));
    view.setModel(&model);
    view.resize(500, 120);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    const QImage image = view.viewport()->grab().toImage();
    const QColor blue(0, 0, 255);
    const int rows = view.visualRect(model.index(1, 0)).bottom() + 1;
    const auto column = [&](int c) {
        return QRect(view.header()->sectionViewportPosition(c), 0, view.header()->sectionSize(c),
                     rows);
    };
    QVERIFY(CountColour(image, column(COperatorListModel::kStatusColumn), blue) > 10);
    QCOMPARE(CountColour(image, column(COperatorListModel::kNameColumn), blue), 0);
    QCOMPARE(CountColour(image, column(COperatorListModel::kHostColumn), blue), 0);
    QVERIFY(CountColour(image, column(COperatorListModel::kHostColumn), Qt::black) > 10);
}

QTEST_MAIN(TestOperatorList)
#include "operator_list_model_test.moc"
