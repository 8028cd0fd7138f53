#include "flat_button.h"
#include "icon_menu.h"
#include "url_launcher.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace {

enum Command
{
    kOnline = 101,
    kBusy = 102,
    kAway = 103,
};

// Distinct colours for the six indices, so a picture tells which pair was used.
const QColor kBack[3] = {QColor(250, 220, 120), QColor(200, 200, 200), QColor(170, 210, 250)};
const QColor kText[3] = {QColor(160, 0, 0), QColor(0, 0, 0), QColor(0, 90, 0)};

void SetDistinctColours(CFlatButton& button)
{
    for (int pair = 0; pair < 3; ++pair) {
        button.SetColour(pair * 2, kBack[pair], false);
        button.SetColour(pair * 2 + 1, kText[pair], false);
    }
}

bool Contains(const QImage& image, const QColor& colour)
{
    const QRgb wanted = colour.rgb();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == wanted)
                return true;
    return false;
}

QMessageBox* ShownMessageBox()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible())
            return box;
    return nullptr;
}

void CloseMessageBoxes()
{
    while (QMessageBox* box = ShownMessageBox())
        box->close();
}

std::unique_ptr<IconMenu> StatusMenu()
{
    auto menu = std::make_unique<IconMenu>(QStringLiteral("Status"));
    menu->AddCommand(kOnline, QStringLiteral("Online"));
    menu->AddCommand(kBusy, QStringLiteral("Busy"));
    menu->AddCommand(kAway, QStringLiteral("Away"));
    menu->addAction(QStringLiteral("No command")); // chosen, it reports nothing
    return menu;
}

// A window holding the button and an edit that takes the focus when the button should not.
struct Window
{
    QWidget window;
    QLineEdit* edit = new QLineEdit(&window);
    CFlatButton* button = new CFlatButton(QStringLiteral("Wide caption"), &window);

    Window()
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(edit);
        layout->addWidget(button);
        button->setFixedSize(140, 30);
        button->setFocusPolicy(Qt::StrongFocus);
    }
    bool ShowActive()
    {
        window.show();
        window.activateWindow();
        edit->setFocus();
        return QTest::qWaitForWindowActive(&window);
    }
};

} // namespace

class TestFlatButton : public QObject
{
    Q_OBJECT

private slots:
    // A pointer left over a button by an earlier case would hover the next one.
    void init() { QCursor::setPos(QPoint(3000, 3000)); }
    void cleanup() { CloseMessageBoxes(); }

    void refusalsChangeNothing_data();
    void refusalsChangeNothing();
    void stateChoosesColourPair_data();
    void stateChoosesColourPair();
    void disabledKeepsDesktopBackground();
    void checkBoxModeToggles();
    void menuDeliversCommand_data();
    void menuDeliversCommand();
    void clickOpensAddress_data();
    void clickOpensAddress();
};

void TestFlatButton::refusalsChangeNothing_data()
{
    QTest::addColumn<bool>("isColour");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("result");

    QTest::newRow("colour index 6") << true << 6 << CFlatButton::kBadColourIndex;
    QTest::newRow("colour index 255") << true << 255 << CFlatButton::kBadColourIndex;
    QTest::newRow("colour index -1") << true << -1 << CFlatButton::kBadColourIndex;
    QTest::newRow("colour index 5") << true << 5 << CFlatButton::kOk;
    QTest::newRow("alignment 4") << false << 4 << CFlatButton::kBadAlignment;
    QTest::newRow("alignment -1") << false << -1 << CFlatButton::kBadAlignment;
    QTest::newRow("alignment 3") << false << 3 << CFlatButton::kOk;
}

void TestFlatButton::refusalsChangeNothing()
{
    QFETCH(bool, isColour);
    QFETCH(int, value);
    QFETCH(int, result);

    CFlatButton button(QStringLiteral("Caption"));
    button.SetBitmaps(QImage(QStringLiteral(":/ui/invite.png")), QColor(0, 128, 128), {}, {},
                      false);
    button.resize(button.sizeHint() + QSize(20, 20));
    SetDistinctColours(button);
    button.SetColour(CFlatButton::kBackFocus, QColor(1, 2, 3), false);
    button.SetAlignment(CFlatButton::kPictureLeft, false);

    QColor before[CFlatButton::kColourCount];
    for (int i = 0; i < CFlatButton::kColourCount; ++i)
        before[i] = button.Colour(i);
    const QImage pictureBefore = button.grab().toImage();

    const QColor wanted(9, 8, 7);
    const int got = isColour ? button.SetColour(value, wanted) : button.SetAlignment(value);
    QCOMPARE(got, result);

    const bool accepted = result == CFlatButton::kOk;
    for (int i = 0; i < CFlatButton::kColourCount; ++i) {
        const bool target = isColour && accepted && i == value;
        QCOMPARE(button.Colour(i), target ? wanted : before[i]);
    }
    QCOMPARE(button.Alignment(), !isColour && accepted ? value : int(CFlatButton::kPictureLeft));
    // A refusal leaves the painting as it was; an accepted alignment moves the picture.
    if (!accepted || !isColour)
        QCOMPARE(button.grab().toImage() == pictureBefore, !accepted);
}

void TestFlatButton::stateChoosesColourPair_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<bool>("flat");
    QTest::addColumn<bool>("trackAlways");
    QTest::addColumn<int>("pair"); // 0: over/pressed, 1: normal, 2: focus

    QTest::newRow("normal") << "normal" << true << true << 1;
    QTest::newRow("focus") << "focus" << true << true << 2;
    QTest::newRow("hover") << "hover" << true << true << 0;
    QTest::newRow("hover with focus") << "hover+focus" << true << true << 0;
    QTest::newRow("held down") << "down" << true << true << 0;
    QTest::newRow("checked in check-box mode") << "checked" << true << true << 0;
    QTest::newRow("unchecked in check-box mode") << "unchecked" << true << true << 1;
    QTest::newRow("hover, not flat") << "hover" << false << true << 1;
    QTest::newRow("hover, disabled") << "hover+disabled" << true << true << 1;
    QTest::newRow("hover, inactive window, tracking") << "hover+inactive" << true << true << 0;
    QTest::newRow("hover, inactive window, not tracking") << "hover+inactive" << true << false << 1;
}

void TestFlatButton::stateChoosesColourPair()
{
    QFETCH(QString, state);
    QFETCH(bool, flat);
    QFETCH(bool, trackAlways);
    QFETCH(int, pair);

    Window w;
    CFlatButton& button = *w.button;
    SetDistinctColours(button);
    button.SetFlat(flat, false);
    button.SetTrackAlways(trackAlways, false);
    QVERIFY(w.ShowActive());

    QWidget other;
    if (state.contains(QLatin1String("inactive"))) {
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QTRY_VERIFY(!w.window.isActiveWindow());
    }
    if (state.contains(QLatin1String("disabled")))
        button.setEnabled(false);
    if (state.contains(QLatin1String("focus"))) {
        button.setFocus();
        QTRY_VERIFY(button.hasFocus());
    }
    if (state.contains(QLatin1String("hover")))
        QTest::mouseMove(&button, QPoint(10, 10));
    if (state == QLatin1String("down"))
        button.setDown(true);
    if (state == QLatin1String("checked") || state == QLatin1String("unchecked")) {
        button.SetCheckBoxMode(true, false);
        if (state == QLatin1String("checked"))
            button.setChecked(true);
    }

    const QImage picture = button.grab().toImage();
    if (flat)
        QCOMPARE(picture.pixelColor(3, 3), kBack[pair]);
    if (button.isEnabled()) {
        QVERIFY2(Contains(picture, kText[pair]), "caption not in the expected text colour");
        for (int other = 0; other < 3; ++other)
            if (kText[other] != kText[pair])
                QVERIFY2(!Contains(picture, kText[other]), "caption in another pair's colour");
    }
}

void TestFlatButton::disabledKeepsDesktopBackground()
{
    // A disabled toolbar button must not stand out from the band it sits on.
    CFlatButton button(QStringLiteral("Logout"));
    button.resize(100, 30);
    button.SetColour(CFlatButton::kBackNormal, SysColour::ScrollBar);
    QPalette palette = button.palette();
    palette.setColor(QPalette::Disabled, QPalette::Button, QColor(255, 255, 255));
    palette.setColor(QPalette::Disabled, QPalette::Dark, QColor(255, 255, 255));
    button.setPalette(palette);
    const QColor enabled = button.grab().toImage().pixelColor(3, 3);
    button.setEnabled(false);
    QCOMPARE(button.grab().toImage().pixelColor(3, 3), enabled);
    QCOMPARE(enabled, SystemColour(SysColour::ScrollBar, palette));
}

void TestFlatButton::checkBoxModeToggles()
{
    QList<QUrl> opened;
    const CUrlLauncher launcher([&opened](const QUrl& url) {
        opened.append(url);
        return true;
    });
    Window w;
    CFlatButton& button = *w.button;
    button.SetLauncher(&launcher);
    button.SetUrl(QStringLiteral("http://example.com/"), false);
    button.SetMenu(StatusMenu(), false);
    button.SetCheckBoxMode(true, false);
    QVERIFY(w.ShowActive());

    QTest::mouseClick(&button, Qt::LeftButton);
    QVERIFY(button.isChecked());
    QVERIFY(!button.Menu()->isVisible());
    QVERIFY(!button.IsMenuShowing());
    QTest::mouseClick(&button, Qt::LeftButton);
    QVERIFY(!button.isChecked());
    QVERIFY(opened.isEmpty());
}

void TestFlatButton::menuDeliversCommand_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("command"); // 0: none

    QTest::newRow("first item") << QList<int>{Qt::Key_Down, Qt::Key_Return} << int(kOnline);
    QTest::newRow("second item") << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}
                                 << int(kBusy);
    QTest::newRow("item without command") << QList<int>{Qt::Key_Up, Qt::Key_Return} << 0;
    QTest::newRow("escape") << QList<int>{Qt::Key_Escape} << 0;
}

void TestFlatButton::menuDeliversCommand()
{
    QFETCH(QList<int>, keys);
    QFETCH(int, command);

    Window w;
    CFlatButton& button = *w.button;
    SetDistinctColours(button);
    button.SetMenu(StatusMenu(), false);
    QVERIFY(w.ShowActive());
    QSignalSpy commands(&button, &CFlatButton::MenuCommand);

    QTest::mouseClick(&button, Qt::LeftButton);
    IconMenu* menu = button.Menu();
    QTRY_VERIFY(menu->isVisible());
    QVERIFY(button.IsMenuShowing());
    QCOMPARE(button.grab().toImage().pixelColor(3, 3), kBack[0]);
    // Drops down from the button's lower-left corner.
    QCOMPARE(menu->pos(), button.mapToGlobal(QPoint(0, button.height())));

    for (int key : keys)
        QTest::keyClick(menu, static_cast<Qt::Key>(key));
    QTRY_VERIFY(!menu->isVisible());
    QVERIFY(!button.IsMenuShowing());

    if (command == 0) {
        // Give a posted command every chance to arrive before saying none came.
        QCoreApplication::processEvents();
        QCOMPARE(commands.count(), 0);
    } else {
        QTRY_COMPARE(commands.count(), 1);
        QCOMPARE(commands.at(0).at(0).toInt(), command);
    }
}

void TestFlatButton::clickOpensAddress_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("accepted"); // the desktop says it opened it
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QString>("warning"); // empty: no warning

    QTest::newRow("web page") << "http://example.com/tutorial.aspx" << true
                              << "http://example.com/tutorial.aspx"
                              << "";
    QTest::newRow("refused scheme") << "javascript:alert(1)" << true << ""
                                    << CUrlLauncher::FailureMessage(CUrlLauncher::kAccessDenied);
    QTest::newRow("desktop cannot open it")
        << "https://example.com/" << false << "https://example.com/"
        << CUrlLauncher::FailureMessage(CUrlLauncher::kNoAssociation);
}

void TestFlatButton::clickOpensAddress()
{
    QFETCH(QString, address);
    QFETCH(bool, accepted);
    QFETCH(QString, opened);
    QFETCH(QString, warning);

    QList<QUrl> calls;
    const CUrlLauncher launcher([&](const QUrl& url) {
        calls.append(url);
        return accepted;
    });
    Window w;
    w.button->SetLauncher(&launcher);
    w.button->SetUrl(address);
    QVERIFY(w.ShowActive());

    QTest::mouseClick(w.button, Qt::LeftButton);
    QCOMPARE(calls.size(), opened.isEmpty() ? 0 : 1);
    if (!opened.isEmpty())
        QCOMPARE(calls.at(0).toString(), opened);
    if (warning.isEmpty()) {
        QVERIFY(!ShownMessageBox());
    } else {
        QTRY_VERIFY(ShownMessageBox());
        QCOMPARE(ShownMessageBox()->text(), warning);
        QCOMPARE(ShownMessageBox()->icon(), QMessageBox::Warning);
    }
}

QTEST_MAIN(TestFlatButton)
#include "flat_button_test.moc"
