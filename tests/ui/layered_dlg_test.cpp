#include "layered_dlg.h"

#include <QTest>
#include <QVBoxLayout>

namespace {

// Counts its paints, to see the dialog's children drawn again.
class CPaintCounter final : public QWidget
{
public:
    using QWidget::QWidget;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

} // namespace

class TestLayeredDlg : public QObject
{
    Q_OBJECT

private slots:
    void opaqueAgainAfterTranslucent_data();
    void opaqueAgainAfterTranslucent();
};

void TestLayeredDlg::opaqueAgainAfterTranslucent_data()
{
    QTest::addColumn<int>("translucent");
    QTest::newRow("popup's 210") << 210;
    QTest::newRow("half") << 128;
    QTest::newRow("one below opaque") << 254;
    QTest::newRow("invisible") << 0;
}

void TestLayeredDlg::opaqueAgainAfterTranslucent()
{
    QFETCH(int, translucent);

    CLayeredDlg dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* outer = new CPaintCounter(&dialog);
    auto* inner = new CPaintCounter(outer); // a grandchild must be redrawn too
    outer->setMinimumSize(60, 40);
    inner->setGeometry(5, 5, 20, 20);
    layout->addWidget(outer);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QCOMPARE(dialog.SetTransparency(static_cast<std::uint8_t>(translucent)), 0);
    QCOMPARE(dialog.Transparency(), translucent);
    QVERIFY(dialog.windowOpacity() < 1.0);

    QTRY_VERIFY(outer->paints > 0 && inner->paints > 0);
    outer->paints = 0;
    inner->paints = 0;
    QCOMPARE(dialog.SetTransparency(255), 0);
    // Redrawn before returning, without waiting for the event loop.
    QVERIFY(outer->paints > 0);
    QVERIFY(inner->paints > 0);
    QCOMPARE(dialog.windowOpacity(), 1.0);
    QCOMPARE(dialog.Transparency(), 255);
}

QTEST_MAIN(TestLayeredDlg)
#include "layered_dlg_test.moc"
