#include "link_static.h"
#include "url_launcher.h"

#include <QApplication>
#include <QEnterEvent>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>

namespace {

const QColor kLink(0, 0, 238);
const QColor kVisited(85, 26, 139);

QMessageBox* ShownMessageBox()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible())
            return box;
    return nullptr;
}

void Enter(QWidget* widget)
{
    const QPointF at(2, 2);
    QEnterEvent enter(at, at, widget->mapToGlobal(at));
    QCoreApplication::sendEvent(widget, &enter);
}

void Leave(QWidget* widget)
{
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(widget, &leave);
}

// The colour the link's text is actually painted in: the darkest pixel of its picture, which
// lies on a glyph (the background is left untouched and grabs as the window colour).
QColor PaintedColour(CLinkStatic& link)
{
    const QImage image = link.grab().toImage();
    QColor darkest = Qt::white;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).lightness() < darkest.lightness())
                darkest = image.pixelColor(x, y);
    return darkest;
}

} // namespace

class TestLinkStatic : public QObject
{
    Q_OBJECT

private slots:
    void init() { QCursor::setPos(QPoint(3000, 3000)); }
    void cleanup()
    {
        while (QMessageBox* box = ShownMessageBox())
            box->close();
    }

    void textAndAddressDefaultToEachOther_data();
    void textAndAddressDefaultToEachOther();
    void colourFollowsVisitsAndHover();
    void failedOpenWarnsAndStaysUnvisited_data();
    void failedOpenWarnsAndStaysUnvisited();
    void fitKeepsAnchoredEdge_data();
    void fitKeepsAnchoredEdge();
};

void TestLinkStatic::textAndAddressDefaultToEachOther_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("opens");

    QTest::newRow("address never set") << "http://example.com/"
                                       << ""
                                       << "http://example.com/"
                                       << "http://example.com/";
    QTest::newRow("text never set") << ""
                                    << "http://example.com/page.html"
                                    << "http://example.com/page.html"
                                    << "http://example.com/page.html";
    QTest::newRow("both set") << "Click here to create a new account"
                              << "http://chat.example.com/signupForm.aspx"
                              << "Click here to create a new account"
                              << "http://chat.example.com/signupForm.aspx";
}

void TestLinkStatic::textAndAddressDefaultToEachOther()
{
    QFETCH(QString, text);
    QFETCH(QString, address);
    QFETCH(QString, shown);
    QFETCH(QString, opens);

    QList<QUrl> opened;
    const CUrlLauncher launcher([&opened](const QUrl& url) {
        opened.append(url);
        return true;
    });
    CLinkStatic link(text);
    link.SetLauncher(&launcher);
    if (!address.isEmpty())
        link.SetUrl(address);
    link.show();
    QVERIFY(QTest::qWaitForWindowExposed(&link));

    QCOMPARE(link.Text(), shown);
    QCOMPARE(link.Url(), opens);
    QCOMPARE(link.toolTip(), opens);
    QCOMPARE(link.size(), link.sizeHint());

    QTest::mouseClick(&link, Qt::LeftButton, {}, QPoint(3, link.height() / 2));
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened.at(0).toString(), opens);
}

void TestLinkStatic::colourFollowsVisitsAndHover()
{
    bool succeed = true;
    const CUrlLauncher launcher([&succeed](const QUrl&) { return succeed; });
    CLinkStatic link(QStringLiteral("https://example.com/"));
    link.SetLauncher(&launcher);
    link.show();
    QVERIFY(QTest::qWaitForWindowExposed(&link));
    const QColor hover = link.palette().color(QPalette::Highlight);
    const QPoint inside(3, link.height() / 2);

    QCOMPARE(link.TextColour(), kLink);
    QCOMPARE(PaintedColour(link), kLink);

    Enter(&link);
    QCOMPARE(link.TextColour(), hover);
    QTest::mouseClick(&link, Qt::LeftButton, {}, inside);
    QVERIFY(link.IsVisited());
    QCOMPARE(link.TextColour(), hover); // hover wins while over
    Leave(&link);
    QCOMPARE(link.TextColour(), kVisited);
    QCOMPARE(PaintedColour(link), kVisited);

    Enter(&link);
    QCOMPARE(link.TextColour(), hover);
    Leave(&link);
    QCOMPARE(link.TextColour(), kVisited); // still visited after hovering again

    // A release outside the link is no click.
    QTest::mousePress(&link, Qt::LeftButton, {}, inside);
    QTest::mouseRelease(&link, Qt::LeftButton, {}, QPoint(link.width() + 20, 3));
    QVERIFY(link.IsVisited());

    // A later failed open takes the visited state away again.
    succeed = false;
    QTest::mouseClick(&link, Qt::LeftButton, {}, inside);
    Leave(&link);
    QVERIFY(!link.IsVisited());
    QCOMPARE(link.TextColour(), kLink);
    QTRY_VERIFY(ShownMessageBox());
}

void TestLinkStatic::failedOpenWarnsAndStaysUnvisited_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("desktopAccepts");
    QTest::addColumn<QString>("message");

    QTest::newRow("refused scheme") << "file:///etc/passwd" << true
                                    << "Unable to open hyperlink:\n\nThe operating system "
                                       "denied\naccess to the specified file.";
    QTest::newRow("missing shipped file")
        << "license.txt" << true
        << "Unable to open hyperlink:\n\nThe specified file was not found.";
    QTest::newRow("no handler on the desktop")
        << "mailto:ops@example.com" << false
        << "Unable to open hyperlink:\n\nThere is no application associated\nwith the given "
           "filename extension.";
}

void TestLinkStatic::failedOpenWarnsAndStaysUnvisited()
{
    QFETCH(QString, address);
    QFETCH(bool, desktopAccepts);
    QFETCH(QString, message);

    int calls = 0;
    CUrlLauncher launcher([&](const QUrl&) {
        ++calls;
        return desktopAccepts;
    });
    launcher.SetShippedFiles({QStringLiteral("/nonexistent-parlendo-dir")},
                             {QStringLiteral("license.txt")});
    CLinkStatic link(QStringLiteral("Open"));
    link.SetUrl(address);
    link.SetLauncher(&launcher);
    link.show();
    QVERIFY(QTest::qWaitForWindowExposed(&link));
    QSignalSpy followed(&link, &CLinkStatic::Followed);

    QTest::mouseClick(&link, Qt::LeftButton, {}, QPoint(3, link.height() / 2));
    QCOMPARE(followed.count(), 1);
    QVERIFY(followed.at(0).at(0).toInt() <= 32);
    QVERIFY(!link.IsVisited());
    QCOMPARE(calls, desktopAccepts ? 0 : 1);
    QTRY_VERIFY(ShownMessageBox());
    QCOMPARE(ShownMessageBox()->text(), message);
    QCOMPARE(ShownMessageBox()->icon(), QMessageBox::Warning);
}

void TestLinkStatic::fitKeepsAnchoredEdge_data()
{
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QString>("kept"); // left, right, centre

    QTest::newRow("left-aligned") << int(Qt::AlignLeft | Qt::AlignTop) << "left";
    QTest::newRow("right-aligned") << int(Qt::AlignRight | Qt::AlignTop) << "right";
    QTest::newRow("centred") << int(Qt::AlignHCenter | Qt::AlignVCenter) << "centre";
}

void TestLinkStatic::fitKeepsAnchoredEdge()
{
    QFETCH(int, alignment);
    QFETCH(QString, kept);

    QWidget dialog;
    dialog.resize(600, 200);
    auto* link = new CLinkStatic(QString(), &dialog);
    link->SetAlignment(Qt::Alignment(alignment));
    link->SetUrl(QStringLiteral("http://www.example.com/a/rather/long/page/address.html"));
    link->move(150, 80);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QRect before = link->geometry();

    // The text follows the address, so a shorter address makes a narrower link.
    link->SetUrl(QStringLiteral("http://example.com/"));
    const QRect after = link->geometry();
    QCOMPARE(after.size(), link->sizeHint());
    QVERIFY(after.width() < before.width());
    if (kept == QLatin1String("left"))
        QCOMPARE(after.left(), before.left());
    else if (kept == QLatin1String("right"))
        QCOMPARE(after.right(), before.right());
    else
        QVERIFY(qAbs(after.center().x() - before.center().x()) <= 1);
    QCOMPARE(after.top(), before.top());

    // A bigger font grows it around the same anchor.
    QFont big = link->font();
    big.setPointSizeF(big.pointSizeF() * 2);
    link->setFont(big);
    const QRect grown = link->geometry();
    QVERIFY(grown.height() > after.height());
    if (kept == QLatin1String("right"))
        QCOMPARE(grown.right(), after.right());
    else if (kept == QLatin1String("left"))
        QCOMPARE(grown.left(), after.left());
    else
        QVERIFY(qAbs(grown.center().y() - after.center().y()) <= 1);
}

QTEST_MAIN(TestLinkStatic)
#include "link_static_test.moc"
