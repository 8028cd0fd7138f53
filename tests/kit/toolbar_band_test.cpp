// The toolbar band of the console and the chat window in a window narrower than its row: the
// row is cut off at the right; no button is laid over another, hiding its caption.
#include "flat_button.h"
#include "toolbar_band.h"

#include <QHBoxLayout>
#include <QTest>

class ToolbarBandTest final : public QObject
{
    Q_OBJECT

private slots:
    void narrowWindowCutsTheRowOff()
    {
        QWidget window;
        auto* band = new CToolbarBand(&window);
        QList<CFlatButton*> buttons;
        for (const char* caption : {"Canned Answers", "Transfer Chat", "Send Link", "Send Image"})
            buttons << band->AddButton(QString::fromLatin1(caption), QString(),
                                       QString::fromLatin1(caption));
        auto* layout = new QHBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(band);
        int row = 0;
        for (CFlatButton* button : buttons)
            row += button->sizeHint().width();
        window.resize(row / 2, 40);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (qsizetype i = 1; i < buttons.size(); ++i)
            QVERIFY2(buttons[i]->x() > buttons[i - 1]->geometry().right(), "buttons overlap");
        QVERIFY(buttons.last()->geometry().right() >= band->width());
    }
};

QTEST_MAIN(ToolbarBandTest)
#include "toolbar_band_test.moc"
