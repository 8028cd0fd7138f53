// Show states both ways, and where a stored window rectangle is put back among the screens of
// today.
#include "window_placement.h"

#include <QTest>

class WindowPlacementTest final : public QObject
{
    Q_OBJECT

private slots:
    void showStateFromWindowStates_data();
    void showStateFromWindowStates();
    void windowStatesFromShowState_data();
    void windowStatesFromShowState();
    void normalRectKeepsItsEdges_data();
    void normalRectKeepsItsEdges();
    void placeOnScreens_data();
    void placeOnScreens();
};

void WindowPlacementTest::showStateFromWindowStates_data()
{
    QTest::addColumn<Qt::WindowStates>("states");
    QTest::addColumn<int>("show");
    QTest::newRow("normal") << Qt::WindowStates(Qt::WindowNoState) << 1;
    QTest::newRow("active") << Qt::WindowStates(Qt::WindowActive) << 1;
    QTest::newRow("minimised") << Qt::WindowStates(Qt::WindowMinimized) << 2;
    QTest::newRow("maximised") << Qt::WindowStates(Qt::WindowMaximized) << 3;
    QTest::newRow("minimised from maximised") << (Qt::WindowMinimized | Qt::WindowMaximized) << 2;
    QTest::newRow("full screen") << Qt::WindowStates(Qt::WindowFullScreen) << 3;
}

void WindowPlacementTest::showStateFromWindowStates()
{
    QFETCH(Qt::WindowStates, states);
    QFETCH(int, show);
    QCOMPARE(WindowPlacement::From(states, QRect(1, 2, 3, 4)).show, show);
}

void WindowPlacementTest::windowStatesFromShowState_data()
{
    QTest::addColumn<int>("show");
    QTest::addColumn<Qt::WindowStates>("states");
    QTest::newRow("normal") << 1 << Qt::WindowStates(Qt::WindowNoState);
    QTest::newRow("minimised") << 2 << Qt::WindowStates(Qt::WindowMinimized);
    QTest::newRow("maximised") << 3 << Qt::WindowStates(Qt::WindowMaximized);
    QTest::newRow("hidden is not restored") << 0 << Qt::WindowStates(Qt::WindowNoState);
    QTest::newRow("unknown") << 9 << Qt::WindowStates(Qt::WindowNoState);
    QTest::newRow("negative") << -7 << Qt::WindowStates(Qt::WindowNoState);
}

void WindowPlacementTest::windowStatesFromShowState()
{
    QFETCH(int, show);
    QFETCH(Qt::WindowStates, states);
    WindowPlacement placement;
    placement.show = show;
    QCOMPARE(placement.WindowStates(), states);
}

void WindowPlacementTest::normalRectKeepsItsEdges_data()
{
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("bottom");
    QTest::newRow("on the primary") << QRect(10, 20, 300, 200) << 310 << 220;
    QTest::newRow("left of the primary") << QRect(-1280, -30, 640, 480) << -640 << 450;
}

void WindowPlacementTest::normalRectKeepsItsEdges()
{
    QFETCH(QRect, geometry);
    QFETCH(int, right);
    QFETCH(int, bottom);
    const WindowPlacement placement = WindowPlacement::From(Qt::WindowMaximized, geometry);
    QCOMPARE(placement.left, geometry.x());
    QCOMPARE(placement.top, geometry.y());
    QCOMPARE(placement.right, right);
    QCOMPARE(placement.bottom, bottom);
    QCOMPARE(placement.NormalRect(), geometry);
}

void WindowPlacementTest::placeOnScreens_data()
{
    const QRect primary(0, 0, 1920, 1040);
    const QRect right(1920, 0, 1280, 984);
    const QRect left(-1280, 0, 1280, 1024);

    QTest::addColumn<QRect>("stored");
    QTest::addColumn<QList<QRect>>("screens");
    QTest::addColumn<QRect>("placed");
    QTest::newRow("on the primary")
        << QRect(100, 100, 800, 600) << QList{primary, right} << QRect(100, 100, 800, 600);
    QTest::newRow("on the second screen")
        << QRect(2000, 100, 800, 600) << QList{primary, right} << QRect(2000, 100, 800, 600);
    QTest::newRow("second screen removed")
        << QRect(2000, 100, 800, 600) << QList{primary} << QRect(1120, 100, 800, 600);
    QTest::newRow("left screen there")
        << QRect(-1000, 200, 640, 480) << QList{primary, left} << QRect(-1000, 200, 640, 480);
    QTest::newRow("left screen removed")
        << QRect(-1000, 200, 640, 480) << QList{primary} << QRect(0, 200, 640, 480);
    QTest::newRow("a sliver on the primary")
        << QRect(1900, 100, 800, 600) << QList{primary} << QRect(1120, 100, 800, 600);
    QTest::newRow("just enough on the primary")
        << QRect(1880, 100, 800, 600) << QList{primary} << QRect(1880, 100, 800, 600);
    QTest::newRow("title bar above the screens")
        << QRect(100, -500, 800, 600) << QList{primary} << QRect(100, 0, 800, 600);
    QTest::newRow("title bar below the bottom")
        << QRect(100, 1030, 800, 600) << QList{primary} << QRect(100, 440, 800, 600);
    QTest::newRow("larger than the primary")
        << QRect(5000, 5000, 3000, 2000) << QList{primary} << QRect(0, 0, 1920, 1040);
    QTest::newRow("primary not at the origin")
        << QRect(5000, 100, 800, 600) << QList{QRect(1920, 0, 1920, 1080), primary}
        << QRect(3040, 100, 800, 600);
    QTest::newRow("small window on screen")
        << QRect(100, 100, 30, 20) << QList{primary} << QRect(100, 100, 30, 20);
    QTest::newRow("edges crossed")
        << QRect(QPoint(600, 40), QSize(-560, 360)) << QList{primary} << QRect(40, 40, 560, 360);
    QTest::newRow("edges crossed off screen")
        << QRect(QPoint(9000, 9000), QSize(100, 0)) << QList{right} << QRect(1920, 40, 560, 360);
    QTest::newRow("no screens known")
        << QRect(5000, 5000, 800, 600) << QList<QRect>{} << QRect(5000, 5000, 800, 600);
}

void WindowPlacementTest::placeOnScreens()
{
    QFETCH(QRect, stored);
    QFETCH(QList<QRect>, screens);
    QFETCH(QRect, placed);
    QCOMPARE(PlaceOnScreens(stored, screens), placed);
}

QTEST_GUILESS_MAIN(WindowPlacementTest)
#include "window_placement_test.moc"
