// The main window's layout from one run to the next: placement and column widths restored at
// the first display and saved by the close request.

#include "console_rig.h"
#include "operator_list_ctrl.h"
#include "visitor_list_ctrl.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QTreeView>

namespace {

QList<int> Widths(const QTreeView* view)
{
    QList<int> widths;
    for (int i = 0; i < view->header()->count(); ++i)
        widths.append(view->header()->sectionSize(i));
    return widths;
}

} // namespace

class WindowLayoutTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CConsoleRig> m_rig;

    void Write(const QList<std::pair<QString, QVariant>>& values)
    {
        QSettings ini(m_rig->profile->FilePath(), QSettings::IniFormat);
        for (const auto& [key, value] : values)
            ini.setValue(key, value);
    }

private slots:
    void init() { m_rig = std::make_unique<CConsoleRig>(); }
    void cleanup() { m_rig.reset(); }

    void firstRunKeepsTheDesign()
    {
        m_rig->MakeWindow();
        const QSize designed = m_rig->window->size();
        m_rig->ShowWindow();
        QCOMPARE(m_rig->window->size(), designed);
        QCOMPARE(Widths(m_rig->window->VisitorsView()), (QList<int>{410, 100}));
        QCOMPARE(Widths(m_rig->window->OperatorsView()), (QList<int>{220, 120, 100}));
    }

    void showWithoutEdgesTakesTheDefaults()
    {
        Write({{QStringLiteral("MainWindow/Show"), 1}});
        m_rig->MakeWindow();
        m_rig->ShowWindow();
        QCOMPARE(m_rig->window->geometry(), QRect(40, 40, 560, 360));
    }

    // Only the columns that exist take a width; a width of 0 hides its column.
    void moreStoredColumnsThanColumns()
    {
        Write({{QStringLiteral("UserList/NumCols"), 5},
               {QStringLiteral("UserList/Col0"), 150},
               {QStringLiteral("UserList/Col1"), 0},
               {QStringLiteral("UserList/Col2"), 70},
               {QStringLiteral("UserList/Col3"), 77},
               {QStringLiteral("UserList/Col4"), 88},
               {QStringLiteral("PageList/NumCols"), 1},
               {QStringLiteral("PageList/Col0"), 300}});
        m_rig->MakeWindow();
        m_rig->ShowWindow();
        QCOMPARE(Widths(m_rig->window->OperatorsView()), (QList<int>{150, 0, 70}));
        QCOMPARE(Widths(m_rig->window->VisitorsView()), (QList<int>{300, 100}));
    }

    void closeSavesAndTheNextRunRestores()
    {
        m_rig->MakeWindow();
        m_rig->ShowWindow();
        m_rig->window->setGeometry(70, 60, 640, 420);
        m_rig->window->OperatorsView()->header()->resizeSection(0, 260);
        m_rig->window->VisitorsView()->header()->resizeSection(1, 140);
        QVERIFY(m_rig->window->close());

        m_rig->MakeWindow();
        m_rig->ShowWindow();
        QCOMPARE(m_rig->window->geometry(), QRect(70, 60, 640, 420));
        QCOMPARE(Widths(m_rig->window->OperatorsView()), (QList<int>{260, 120, 100}));
        QCOMPARE(Widths(m_rig->window->VisitorsView()), (QList<int>{410, 140}));
    }

    // A window stored on a monitor that is no longer there comes back on the primary screen.
    void placementOffEveryScreenComesBack()
    {
        Write({{QStringLiteral("MainWindow/Show"), 1},
               {QStringLiteral("MainWindow/Left"), 5000},
               {QStringLiteral("MainWindow/Top"), 3000},
               {QStringLiteral("MainWindow/Right"), 5400},
               {QStringLiteral("MainWindow/Bottom"), 3300}});
        m_rig->MakeWindow();
        m_rig->ShowWindow();
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(screen.contains(m_rig->window->geometry()));
        QCOMPARE(m_rig->window->size(), QSize(400, 300));
    }

    void maximisedComesBackMaximised()
    {
        Write({{QStringLiteral("MainWindow/Show"), 3},
               {QStringLiteral("MainWindow/Left"), 50},
               {QStringLiteral("MainWindow/Top"), 40},
               {QStringLiteral("MainWindow/Right"), 550},
               {QStringLiteral("MainWindow/Bottom"), 400}});
        m_rig->MakeWindow();
        m_rig->ShowWindow();
        QVERIFY(m_rig->window->isMaximized());
        QCOMPARE(m_rig->window->normalGeometry(), QRect(50, 40, 500, 360));
        QVERIFY(m_rig->window->close());
        const auto saved = m_rig->profile->LoadWindowPlacement(QStringLiteral("MainWindow"));
        QVERIFY(saved);
        QCOMPARE(saved->show, WindowPlacement::kShowMaximized);
        QCOMPARE(saved->NormalRect(), QRect(50, 40, 500, 360));
    }
};

QTEST_MAIN(WindowLayoutTest)
#include "window_layout_test.moc"
