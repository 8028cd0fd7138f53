#include "colour_key.h"
#include "colour_math.h"
#include "desktop_theme.h"
#include "flat_button.h"
#include "gradient_button.h"
#include "icon_menu.h"
#include "theme_helper.h"

#include <QAction>
#include <QEnterEvent>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QTest>

namespace {

bool Near(const QColor& a, const QColor& b, int tolerance)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance &&
           qAbs(a.blue() - b.blue()) <= tolerance;
}

QString Describe(const QColor& c)
{
    return QStringLiteral("(%1,%2,%3)").arg(c.red()).arg(c.green()).arg(c.blue());
}

} // namespace

class TestTheme : public QObject
{
    Q_OBJECT

private slots:
    void lightenRule_data();
    void lightenRule();
    void colourKeyClearsOnlyExactOpaqueMatches();
    void classicLookFollowsTheStyle_data();
    void classicLookFollowsTheStyle();
    void gradientButtonFaces_data();
    void gradientButtonFaces();
    void menuSeparatorsAreHalfAnItem_data();
    void menuSeparatorsAreHalfAnItem();
};

void TestTheme::lightenRule_data()
{
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<double>("factor");
    QTest::addColumn<QColor>("expected");

    // Each part moves the fraction of the way to 255, cut (not rounded) to a whole number.
    QTest::newRow("half, cut down") << QColor(100, 150, 201) << 0.5 << QColor(177, 202, 228);
    QTest::newRow("quarter of black") << QColor(0, 0, 0) << 0.25 << QColor(63, 63, 63);
    QTest::newRow("0.85") << QColor(10, 20, 30) << 0.85 << QColor(218, 219, 221);
    QTest::newRow("whole way") << QColor(12, 34, 56) << 1.0 << QColor(255, 255, 255);
    QTest::newRow("zero leaves it") << QColor(12, 34, 56) << 0.0 << QColor(12, 34, 56);
    QTest::newRow("negative leaves it") << QColor(12, 34, 56) << -0.3 << QColor(12, 34, 56);
    QTest::newRow("above one leaves it") << QColor(12, 34, 56) << 1.5 << QColor(12, 34, 56);
}

void TestTheme::lightenRule()
{
    QFETCH(QColor, colour);
    QFETCH(double, factor);
    QFETCH(QColor, expected);
    QCOMPARE(Lighten(colour, factor), expected);
}

void TestTheme::colourKeyClearsOnlyExactOpaqueMatches()
{
    const QColor teal(0, 128, 128);
    QImage picture(4, 1, QImage::Format_ARGB32);
    picture.setPixelColor(0, 0, teal);
    picture.setPixelColor(1, 0, QColor(0, 128, 129));      // one step away: kept
    picture.setPixelColor(2, 0, QColor(0, 128, 128, 100)); // already see-through: kept
    picture.setPixelColor(3, 0, QColor(200, 10, 10));

    const QImage keyed = ImageWithColourKey(picture, teal);
    QCOMPARE(qAlpha(keyed.pixel(0, 0)), 0);
    QCOMPARE(keyed.pixelColor(1, 0), QColor(0, 128, 129));
    QCOMPARE(keyed.pixelColor(2, 0).alpha(), 100);
    QCOMPARE(keyed.pixelColor(3, 0), QColor(200, 10, 10));

    // Pictures without alpha (the console's bitmaps) and indexed ones work alike.
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    QCOMPARE(qAlpha(ImageWithColourKey(rgb, teal).pixel(0, 0)), 0);
    const QImage indexed = rgb.convertToFormat(QImage::Format_Indexed8);
    QCOMPARE(qAlpha(ImageWithColourKey(indexed, teal).pixel(0, 0)), 0);
    QCOMPARE(qAlpha(ImageWithColourKey(indexed, teal).pixel(3, 0)), 255);
}

void TestTheme::classicLookFollowsTheStyle_data()
{
    QTest::addColumn<QString>("style");
    QTest::addColumn<bool>("proxied");
    QTest::addColumn<bool>("classic");

    QTest::newRow("Fusion") << "Fusion" << false << false;
    QTest::newRow("Windows") << "Windows" << false << true;
    QTest::newRow("Windows behind a proxy") << "Windows" << true << true;
    QTest::newRow("Fusion behind a proxy") << "Fusion" << true << false;
}

void TestTheme::classicLookFollowsTheStyle()
{
    QFETCH(QString, style);
    QFETCH(bool, proxied);
    QFETCH(bool, classic);

    QStyle* base = QStyleFactory::create(style);
    QVERIFY(base);
    std::unique_ptr<QStyle> used(proxied ? new QProxyStyle(base) : base);
    QCOMPARE(IsClassicStyle(used.get()), classic);

    CFlatButton owner(QStringLiteral("My Status"));
    owner.setStyle(used.get());
    owner.SetMenu(std::make_unique<IconMenu>());
    QCOMPARE(owner.Menu()->IsClassicLook(), classic);

    CThemeHelper helper;
    QVERIFY(!helper.IsThemed()); // not attached
    helper.Attach(&owner);
    QCOMPARE(helper.IsThemed(), !classic);
    owner.SetMenu(nullptr);
    owner.setStyle(nullptr);
}

void TestTheme::gradientButtonFaces_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<bool>("hoverOn");
    QTest::addColumn<QString>("top"); // 1, 2, 3 (colours) or "face"
    QTest::addColumn<QString>("bottom");

    QTest::newRow("normal") << "normal" << true << "1"
                            << "2";
    QTest::newRow("mouse over") << "over" << true << "1"
                                << "3";
    QTest::newRow("mouse over, hover off") << "over" << false << "1"
                                           << "2";
    QTest::newRow("held down") << "down" << true << "2"
                               << "1";
    QTest::newRow("held down, mouse over") << "down+over" << true << "3"
                                           << "1";
    QTest::newRow("disabled") << "disabled" << true << "1"
                              << "face";
}

void TestTheme::gradientButtonFaces()
{
    QFETCH(QString, state);
    QFETCH(bool, hoverOn);
    QFETCH(QString, top);
    QFETCH(QString, bottom);

    const QColor colours[] = {QColor(250, 40, 40), QColor(40, 200, 40), QColor(40, 40, 250)};
    CGradientButton button(QStringLiteral("Website Visitors"));
    button.SetColours(colours[0], colours[1], colours[2]);
    button.SetHover(hoverOn);
    button.resize(160, 60);
    if (state.contains(QLatin1String("over"))) {
        const QPointF at(5, 5);
        QEnterEvent enter(at, at, at);
        QCoreApplication::sendEvent(&button, &enter);
    }
    if (state.contains(QLatin1String("down")))
        button.setDown(true);
    if (state == QLatin1String("disabled"))
        button.setEnabled(false);

    const auto expected = [&](const QString& which) {
        return which == QLatin1String("face")
                   ? button.palette().color(QPalette::Active, QPalette::Button)
                   : colours[which.toInt() - 1];
    };
    // Sampled right of the caption, just inside the one-pixel frame.
    const QImage face = button.grab().toImage();
    const QColor gotTop = face.pixelColor(face.width() - 4, 1);
    const QColor gotBottom = face.pixelColor(face.width() - 4, face.height() - 2);
    QVERIFY2(Near(gotTop, expected(top), 8), qPrintable(Describe(gotTop)));
    QVERIFY2(Near(gotBottom, expected(bottom), 8), qPrintable(Describe(gotBottom)));
}

void TestTheme::menuSeparatorsAreHalfAnItem_data()
{
    QTest::addColumn<int>("iconSize");
    QTest::newRow("16") << 16;
    QTest::newRow("24") << 24;
    QTest::newRow("33") << 33;
}

void TestTheme::menuSeparatorsAreHalfAnItem()
{
    QFETCH(int, iconSize);

    IconMenu menu(QStringLiteral("Status"));
    QImage strip(iconSize * 2, iconSize, QImage::Format_RGB32);
    strip.fill(QColor(255, 0, 255));
    menu.SetIconStrip(strip, QSize(iconSize, iconSize), QColor(255, 0, 255));
    QCOMPARE(menu.IconCount(), 2);
    QAction* online = menu.AddCommand(1, QStringLiteral("Online"), 0);
    QAction* separator = menu.addSeparator();
    QAction* away = menu.AddCommand(3, QStringLiteral("Away"));
    menu.resize(menu.sizeHint());

    const int item = menu.actionGeometry(online).height();
    QVERIFY(item >= iconSize);
    QCOMPARE(menu.actionGeometry(away).height(), item);
    QVERIFY(menu.actionGeometry(separator).height() * 2 >= item);
}

QTEST_MAIN(TestTheme)
#include "theme_test.moc"
